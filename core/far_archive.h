#pragma once
// FAR archives (version 1a), in which the game keeps the binary forms of its meshes and
// skeletons: a header, the entries' bytes, and a manifest of names, sizes and offsets.
// Entries are stored whole, never compressed, so an entry is a view into the archive.

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/errors.h"

namespace drapeline {

struct FarEntry {
    ByteText name;   // as stored; may hold "\"
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
    std::string_view bytes;   // into the archive's bytes
};

struct FarArchive {
    std::vector<FarEntry> entries;   // in manifest order
};

// Throws RuntimeError naming the field and its place for a damaged or short archive, or
// for an entry that reaches past the archive's end. The entries' bytes are views into
// `archive`, which must outlive them.
FarArchive readFarArchive(std::string_view archive);

// The same checks for an archive too large to read whole: the manifest offset from its
// first 16 bytes, then the entries from the bytes between that offset and its end. The
// entries' bytes are left empty; their offsets and sizes are checked against the size.
std::uint32_t farManifestOffset(std::string_view head, std::uint64_t archiveSize);
std::vector<FarEntry> readFarManifest(std::string_view manifest, std::uint64_t archiveSize);

// The entry named `name`, letter case aside (an exact match wins); nullptr when none is.
const FarEntry* findFarEntry(const FarArchive& archive, std::string_view name);

}  // namespace drapeline

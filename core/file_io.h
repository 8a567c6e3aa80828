#pragma once
// Whole-file reads for the core, one read each (the program writes files through
// platform/ alone), with errors as numbered run-time errors (6 overflow, 53 file not found, 70 permission denied, 75 path/file access
// error, 76 path not found).

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "core/errors.h"

namespace drapeline {

// The whole file in one read. Only a plain file is opened (a FIFO or device would block
// or never end): anything else is error 75. The size comes from the file system before
// anything is allocated; a file larger than `maxSize` is error 6 and is never read.
ByteText readWholeFile(const std::string& path,
                       std::uint64_t maxSize = std::numeric_limits<std::uint32_t>::max());

// `size` bytes from `offset` of a plain file (a member of an archive, read without the
// rest). Error 62 when the file is shorter; 53/70/75 as readWholeFile.
ByteText readFilePart(const std::string& path, std::uint64_t offset, std::uint32_t size);
// The size of a plain file; 53/70/75 as readWholeFile.
std::uint64_t fileSize(const std::string& path);

// What a writer compares before it replaces a file: the size and a hash of the bytes that
// were read. Two reads of the same content give equal identities, so a program that
// rewrites a file with the very same bytes changes nothing that anyone would lose.
struct FileIdentity {
    std::uint64_t size = 0;
    std::uint64_t hash = 0;
    bool operator==(const FileIdentity&) const = default;
};
FileIdentity identityOf(std::string_view bytes);

}  // namespace drapeline

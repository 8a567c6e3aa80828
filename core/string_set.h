#pragma once
// String-set chunks ("STR#" and "CTSS"): decoding a chunk's data into a StringSet and
// encoding it back byte for byte. The wardrobe lives in the STR# set with ID field
// 00 C8 00 10.

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/iff_file.h"

namespace drapeline {

// Resource ID 200 followed by the two kept bytes 00 10.
inline constexpr std::string_view WardrobeIdField{"\x00\xC8\x00\x10", 4};

struct StringEntry {
    std::uint8_t languageCode = 0;
    ByteText text;      // no NUL
    ByteText comment;   // no NUL
};

struct StringSet {
    ByteText formatCode;   // 2 bytes, kept
    ByteText countField;   // 2 bytes, little-endian entry count, kept as read
    std::vector<StringEntry> entries;
    ByteText trailer;      // every data byte after the last entry
};

// Plain (throwing) functions for callers that handle RuntimeError themselves.
namespace strings {

// Throws RuntimeError: data shorter than 4 bytes or an entry without its NULs (5), a
// count of 0 (9), more than 32767 entries (6).
StringSet decode(std::string_view data);

// Throws RuntimeError (5) for a set that can not be stored as held: formatCode or
// countField not 2 bytes, or a NUL inside a text or comment.
ByteText encode(const StringSet& set);

// The first chunk of the given type ("CTSS" when isCTSS, else "STR#") whose whole ID
// field equals `idField`; nullptr when there is none. The pointer is into iff.chunks.
const IffChunk* findStringChunk(const IffFile& iff, std::string_view idField, bool isCTSS);

// Encodes `set` into every matching chunk and updates their size fields; returns how many.
int store(IffFile& iff, const StringSet& set, std::string_view idField, bool isCTSS);

}  // namespace strings

namespace iff {

// Decodes the first matching chunk into `set`; without one, `set` is left as it was.
// Guarded: a set that can not be decoded raises the error trap.
void readStringSet(const IffFile& iff, StringSet& set, std::string_view idField, bool isCTSS);

// Encodes `set` into every matching chunk (none: nothing changes). Guarded.
void writeStringSet(IffFile& iff, const StringSet& set, std::string_view idField,
                       bool isCTSS);

}  // namespace iff

}  // namespace drapeline

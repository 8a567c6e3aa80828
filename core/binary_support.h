#pragma once
// Conversions between the byte texts of a game file and numbers, and the few text
// operations the file core needs. The container mixes byte orders (big-endian chunk
// sizes, little-endian map and string-set counts), so every field is converted
// explicitly; nothing relies on the host's byte order.

#include <cstdint>
#include <string_view>

#include "core/errors.h"

namespace drapeline {

namespace bytes {

// Each takes exactly 4 bytes; any other length is an invalid call (error 5).
std::int32_t int32FromLE(std::string_view fourBytes);
std::int32_t int32FromBE(std::string_view fourBytes);

ByteText int32ToLE(std::int32_t value);
ByteText int32ToBE(std::int32_t value);

// The bytes before the first NUL; a text without NUL is an invalid call (error 5).
ByteText trimNul(std::string_view text);

// "DJBO" -> "OBJD"; any text that is not 4 bytes long gives four blanks.
ByteText reverseTypeCode(std::string_view text);

// One or two hexadecimal digits -> 0..255; -1 for an empty or longer text. A digit that
// is not hexadecimal counts as 0 rather than failing (so "G5" is 5).
std::int16_t hexToByte(std::string_view text);

// "00 C8 00 10" -> the 4 bytes 00 C8 00 10. Fewer than three blanks, or a group that
// hexToByte rejects, is an invalid call (error 5). The fourth group is the whole rest.
ByteText hexToBytes(std::string_view text);

}  // namespace bytes

namespace iff {

// Keeps ASCII letters, digits, '-' and '_', in order; drops everything else.
ByteText cleanFileName(std::string_view text);

}  // namespace iff

// Byte-order helpers for parsing from memory. The caller has checked that the four bytes
// at `at` exist.
namespace bytes {

inline std::uint32_t u8(std::string_view b, std::size_t at) {
    return static_cast<unsigned char>(b[at]);
}

inline std::int32_t int32BE(std::string_view b, std::size_t at) {
    return static_cast<std::int32_t>(u8(b, at) << 24 | u8(b, at + 1) << 16 |
                                     u8(b, at + 2) << 8 | u8(b, at + 3));
}

inline std::int32_t int32LE(std::string_view b, std::size_t at) {
    return static_cast<std::int32_t>(u8(b, at) | u8(b, at + 1) << 8 | u8(b, at + 2) << 16 |
                                     u8(b, at + 3) << 24);
}

inline void appendInt32BE(ByteText& out, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    const char four[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16),
                          static_cast<char>(v >> 8), static_cast<char>(v)};
    out.append(four, 4);
}

inline void appendInt32LE(ByteText& out, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    const char four[4] = {static_cast<char>(v), static_cast<char>(v >> 8),
                          static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
    out.append(four, 4);
}

}  // namespace bytes

}  // namespace drapeline

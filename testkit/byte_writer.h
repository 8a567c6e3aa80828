#pragma once
// Appending numbers to the bytes of a file being built, in either byte order.

#include <cstdint>

#include "core/binary_support.h"

namespace drapeline::testkit {

inline void le16(ByteText& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

inline void le32(ByteText& out, std::uint32_t v) {
    bytes::appendInt32LE(out, static_cast<std::int32_t>(v));
}

inline void be32(ByteText& out, std::uint32_t v) {
    bytes::appendInt32BE(out, static_cast<std::int32_t>(v));
}

}  // namespace drapeline::testkit

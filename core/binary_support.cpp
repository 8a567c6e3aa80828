#include "core/binary_support.h"

namespace drapeline {

namespace bytes {

namespace {

void requireFourBytes(std::string_view text) {
    if (text.size() != 4) throw RuntimeError(err::InvalidCall);
}

}  // namespace

std::int32_t int32FromLE(std::string_view fourBytes) {
    requireFourBytes(fourBytes);
    return bytes::int32LE(fourBytes, 0);
}

std::int32_t int32FromBE(std::string_view fourBytes) {
    requireFourBytes(fourBytes);
    return bytes::int32BE(fourBytes, 0);
}

ByteText int32ToLE(std::int32_t value) {
    ByteText out;
    bytes::appendInt32LE(out, value);
    return out;
}

ByteText int32ToBE(std::int32_t value) {
    ByteText out;
    bytes::appendInt32BE(out, value);
    return out;
}

ByteText trimNul(std::string_view text) {
    const auto nul = text.find('\0');
    if (nul == std::string_view::npos) throw RuntimeError(err::InvalidCall);
    return ByteText(text.substr(0, nul));
}

ByteText reverseTypeCode(std::string_view text) {
    if (text.size() != 4) return ByteText(4, ' ');
    return ByteText{text[3], text[2], text[1], text[0]};
}

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
}

}  // namespace

std::int16_t hexToByte(std::string_view text) {
    if (text.empty() || text.size() > 2) return -1;
    const int high = text.size() == 2 ? hexDigit(text[0]) * 16 : 0;
    return static_cast<std::int16_t>(high + hexDigit(text.back()));
}

ByteText hexToBytes(std::string_view text) {
    std::string_view groups[4];
    std::size_t start = 0;
    for (int g = 0; g < 3; ++g) {
        const auto blank = text.find(' ', start);
        if (blank == std::string_view::npos) throw RuntimeError(err::InvalidCall);
        groups[g] = text.substr(start, blank - start);
        start = blank + 1;
    }
    groups[3] = text.substr(start);
    ByteText out;
    out.reserve(4);
    for (const auto group : groups) {
        const auto value = hexToByte(group);
        if (value < 0) throw RuntimeError(err::InvalidCall);
        out += static_cast<char>(value);
    }
    return out;
}

}  // namespace bytes

namespace iff {

ByteText cleanFileName(std::string_view text) {
    ByteText out;
    out.reserve(text.size());
    for (const char c : text) {
        const bool kept = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                          (c >= '0' && c <= '9') || c == '-' || c == '_';
        if (kept) out += c;
    }
    return out;
}

}  // namespace iff

}  // namespace drapeline

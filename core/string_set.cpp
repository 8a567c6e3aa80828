#include "core/string_set.h"

#include <algorithm>
#include <limits>

#include "core/binary_support.h"

namespace drapeline {

namespace {

constexpr std::string_view Module = "modIFFsupport";

std::string_view typeFor(bool isCTSS) { return isCTSS ? "CTSS" : "STR#"; }

bool matches(const IffChunk& c, std::string_view type, std::string_view idField) {
    return c.typeCode == type && c.idField == idField;
}

// The bytes from `from` up to the next NUL; an entry whose NUL is missing can not be
// decoded (error 5, as the classic text functions report it).
std::string_view untilNul(std::string_view data, std::size_t from) {
    const auto nul = from <= data.size() ? data.find('\0', from) : std::string_view::npos;
    if (nul == std::string_view::npos) throw RuntimeError(err::InvalidCall);
    return data.substr(from, nul - from);
}

}  // namespace

namespace strings {

StringSet decode(std::string_view data) {
    if (data.size() < 4) throw RuntimeError(err::InvalidCall);
    StringSet set;
    set.formatCode = ByteText(data.substr(0, 2));
    set.countField = ByteText(data.substr(2, 2));
    const std::int32_t count = static_cast<std::int32_t>(bytes::u8(data, 2) | bytes::u8(data, 3) << 8);
    // A list from 1 to 0 is refused.
    if (count == 0) throw RuntimeError(err::SubscriptOutOfRange);
    // Each entry takes at least 3 bytes: never reserve more than the data could hold.
    set.entries.reserve(std::min<std::size_t>(static_cast<std::size_t>(count), data.size() / 3));
    std::size_t p = 4;
    for (std::int32_t i = 1; i <= count; ++i) {
        if (static_cast<std::size_t>(i) > MaxListElements) throw RuntimeError(OverflowError);
        if (p >= data.size()) throw RuntimeError(err::InvalidCall);
        StringEntry& entry = set.entries.emplace_back();
        entry.languageCode = static_cast<std::uint8_t>(data[p]);
        const auto text = untilNul(data, p + 1);
        const auto comment = untilNul(data, p + 1 + text.size() + 1);
        entry.text = ByteText(text);
        entry.comment = ByteText(comment);
        p += 1 + text.size() + 1 + comment.size() + 1;
    }
    if (p < data.size()) set.trailer = ByteText(data.substr(p));
    return set;
}

ByteText encode(const StringSet& set) {
    if (set.formatCode.size() != 2 || set.countField.size() != 2)
        throw RuntimeError(err::InvalidCall);
    std::size_t total = 4 + set.trailer.size();
    for (const auto& e : set.entries) {
        // A NUL inside a text would split it into two entries when read back.
        if (e.text.find('\0') != ByteText::npos || e.comment.find('\0') != ByteText::npos)
            throw RuntimeError(err::InvalidCall);
        total += 3 + e.text.size() + e.comment.size();
    }
    ByteText out;
    out.reserve(total);
    out += set.formatCode;
    out += set.countField;
    for (const auto& e : set.entries) {
        out += static_cast<char>(e.languageCode);
        out += e.text;
        out += '\0';
        out += e.comment;
        out += '\0';
    }
    out += set.trailer;
    return out;
}

const IffChunk* findStringChunk(const IffFile& iff, std::string_view idField, bool isCTSS) {
    const auto type = typeFor(isCTSS);
    for (const auto& c : iff.chunks)
        if (matches(c, type, idField)) return &c;
    return nullptr;
}

int store(IffFile& iff, const StringSet& set, std::string_view idField, bool isCTSS) {
    const auto type = typeFor(isCTSS);
    const auto isTarget = [&](const IffChunk& c) { return matches(c, type, idField); };
    if (std::none_of(iff.chunks.begin(), iff.chunks.end(), isTarget)) return 0;
    const ByteText data = encode(set);
    if (data.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()) -
                          ChunkHeaderSize)
        throw RuntimeError(OverflowError);
    const ByteText sizeField =
        bytes::int32ToBE(static_cast<std::int32_t>(data.size() + ChunkHeaderSize));
    int stored = 0;
    for (auto& c : iff.chunks) {
        if (!isTarget(c)) continue;
        c.data = data;
        c.sizeField = sizeField;
        ++stored;
    }
    return stored;
}

}  // namespace strings

namespace iff {

void readStringSet(const IffFile& iff, StringSet& set, std::string_view idField, bool isCTSS) {
    guarded(Module, "gsReadSTRSegment", Stages::None, [&] {
        if (const IffChunk* chunk = strings::findStringChunk(iff, idField, isCTSS))
            set = strings::decode(chunk->data);
    });
}

void writeStringSet(IffFile& iff, const StringSet& set, std::string_view idField,
                       bool isCTSS) {
    guarded(Module, "gsWriteSTRSegment", Stages::None,
            [&] { strings::store(iff, set, idField, isCTSS); });
}

}  // namespace iff

}  // namespace drapeline

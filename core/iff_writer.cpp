// Writing a character file: the whole file is built in memory and stored with one write,
// so the result is always complete and never carries stale bytes of an older file.

#include <algorithm>
#include <limits>

#include "core/binary_support.h"
#include "core/file_io.h"
#include "core/iff_file.h"

namespace drapeline {

namespace {


// A field held at the wrong width would shift every later byte of the file; refuse to
// write such a file rather than corrupt it.
void requireWidth(const ByteText& field, std::size_t width) {
    if (field.size() != width) throw RuntimeError(err::InvalidCall);
}

void checkChunk(const IffChunk& c) {
    requireWidth(c.TypeCode, 4);
    requireWidth(c.SizeField, 4);
    requireWidth(c.IdField, 4);
    requireWidth(c.Label, ChunkLabelSize);
    // A size field that disagrees with the data makes the game misread every later chunk.
    const auto size = static_cast<std::int64_t>(bytes::int32BE(c.SizeField, 0));
    if (size != static_cast<std::int64_t>(c.Data.size() + ChunkHeaderSize))
        throw RuntimeError(err::InvalidCall);
}

void checkListSize(std::size_t size) {
    if (size > MaxListElements) throw RuntimeError(OverflowError);
}

// The key that pairs a chunk with its map entry: the type code in chunk order and the
// 16-bit ID in big-endian order (the map holds both reversed).
std::uint64_t entryKey(std::string_view chunkTypeCode, unsigned char idHigh, unsigned char idLow) {
    std::uint64_t key = 0;
    for (const char c : chunkTypeCode) key = key << 8 | static_cast<unsigned char>(c);
    return key << 16 | std::uint64_t{idHigh} << 8 | idLow;
}

void updateRsmp(IffFile& iff) {
    struct Slot {
        std::uint64_t key;
        RsmpEntry* entry;
    };
    std::vector<Slot> slots;
    std::size_t entryCount = 0;
    for (const auto& type : iff.Map.Types) entryCount += type.Entries.size();
    slots.reserve(entryCount);
    for (auto& type : iff.Map.Types) {
        const ByteText chunkOrder = bytes::reverseTypeCode(type.TypeCode);
        for (auto& e : type.Entries) {
            if (e.IdField.size() < 2) continue;
            slots.push_back({entryKey(chunkOrder, static_cast<unsigned char>(e.IdField[1]),
                                      static_cast<unsigned char>(e.IdField[0])),
                             &e});
        }
    }
    // Stable, so that among entries for the same chunk the first in map order wins.
    std::stable_sort(slots.begin(), slots.end(),
                     [](const Slot& a, const Slot& b) { return a.key < b.key; });
    for (const auto& c : iff.Chunks) {
        if (c.TypeCode.size() != 4 || c.IdField.size() < 2) continue;
        const auto key = entryKey(c.TypeCode, static_cast<unsigned char>(c.IdField[0]),
                                  static_cast<unsigned char>(c.IdField[1]));
        const auto it = std::lower_bound(slots.begin(), slots.end(), key,
                                         [](const Slot& s, std::uint64_t k) { return s.key < k; });
        if (it != slots.end() && it->key == key)
            it->entry->Offset = bytes::int32ToLE(c.FileOffset - 1);
    }
}

std::size_t mapBytes(const ResourceMap& map) {
    std::size_t n = map.RsmpHeader.size() + 8;
    for (const auto& type : map.Types) {
        n += 8;
        for (const auto& e : type.Entries) n += 8 + e.Name.size();
    }
    return n;
}

void appendMap(ByteText& out, const ResourceMap& map) {
    requireWidth(map.RsmpHeader, RsmpHeaderSize);
    checkListSize(map.Types.size());
    out += map.RsmpHeader;
    bytes::appendInt32LE(out, map.RsmpSize);
    bytes::appendInt32LE(out, map.RsmpTypeCount);
    for (const auto& type : map.Types) {
        requireWidth(type.TypeCode, 4);
        checkListSize(type.Entries.size());
        out += type.TypeCode;
        bytes::appendInt32LE(out, type.Count);
        for (const auto& e : type.Entries) {
            requireWidth(e.Offset, 4);
            requireWidth(e.IdField, 4);
            out += e.Offset;
            out += e.IdField;
            out += e.Name;
        }
    }
}

void overwrite(ByteText& out, std::size_t at, const ByteText& four) { out.replace(at, 4, four); }

}  // namespace

namespace iff {

ByteText serialise(IffFile& iff) {
    markStage(1000);
    requireWidth(iff.IffHeader, IffHeaderSize);
    requireWidth(iff.RsmpOffsetField, 4);
    checkListSize(iff.Chunks.size());
    // A map that was never read (the offset field promised one, no map chunk came) would
    // be written as a block of nothing; such a file is written without a map.
    const bool withMap = iff.HasRsmp && iff.Map.Read;

    std::size_t total = IffHeaderSize + 4;
    for (const auto& c : iff.Chunks) total += ChunkHeaderSize + c.Data.size();
    if (withMap) total += mapBytes(iff.Map);
    if (total > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw RuntimeError(OverflowError);

    ByteText out;
    out.reserve(total);
    out += iff.IffHeader;
    out += iff.RsmpOffsetField;

    markStage(2000);
    for (auto& c : iff.Chunks) {
        checkChunk(c);
        c.FileOffset = static_cast<std::int32_t>(out.size() + 1);
        out += c.TypeCode;
        out += c.SizeField;
        out += c.IdField;
        out += c.Label;
        out += c.Data;
    }

    if (!withMap) {
        overwrite(out, IffHeaderSize, ByteText(4, '\0'));
        return out;
    }

    markStage(3000);
    updateRsmp(iff);
    // The map always goes last, wherever it stood in the file read.
    const std::size_t mapStart = out.size();
    appendMap(out, iff.Map);

    markStage(4000);
    // Files written by the editor have always carried the map's length minus one here;
    // keep writing what existing files hold.
    const auto rsmpSize = static_cast<std::int32_t>(out.size() - mapStart - 1);
    overwrite(out, mapStart + RsmpHeaderSize, bytes::int32ToLE(rsmpSize));
    overwrite(out, IffHeaderSize,
              bytes::int32ToBE(static_cast<std::int32_t>(mapStart)));
    return out;
}

}  // namespace iff

}  // namespace drapeline

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
    requireWidth(c.typeCode, 4);
    requireWidth(c.sizeField, 4);
    requireWidth(c.idField, 4);
    requireWidth(c.label, ChunkLabelSize);
    // A size field that disagrees with the data makes the game misread every later chunk.
    const auto size = static_cast<std::int64_t>(bytes::int32BE(c.sizeField, 0));
    if (size != static_cast<std::int64_t>(c.data.size() + ChunkHeaderSize))
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
    for (const auto& type : iff.map.types) entryCount += type.entries.size();
    slots.reserve(entryCount);
    for (auto& type : iff.map.types) {
        const ByteText chunkOrder = bytes::reverseTypeCode(type.typeCode);
        for (auto& e : type.entries) {
            if (e.idField.size() < 2) continue;
            slots.push_back({entryKey(chunkOrder, static_cast<unsigned char>(e.idField[1]),
                                      static_cast<unsigned char>(e.idField[0])),
                             &e});
        }
    }
    // Stable, so that among entries for the same chunk the first in map order wins.
    std::stable_sort(slots.begin(), slots.end(),
                     [](const Slot& a, const Slot& b) { return a.key < b.key; });
    for (const auto& c : iff.chunks) {
        if (c.typeCode.size() != 4 || c.idField.size() < 2) continue;
        const auto key = entryKey(c.typeCode, static_cast<unsigned char>(c.idField[0]),
                                  static_cast<unsigned char>(c.idField[1]));
        const auto it = std::lower_bound(slots.begin(), slots.end(), key,
                                         [](const Slot& s, std::uint64_t k) { return s.key < k; });
        if (it != slots.end() && it->key == key)
            it->entry->offset = bytes::int32ToLE(c.fileOffset - 1);
    }
}

std::size_t mapBytes(const ResourceMap& map) {
    std::size_t n = map.rsmpHeader.size() + 8;
    for (const auto& type : map.types) {
        n += 8;
        for (const auto& e : type.entries) n += 8 + e.name.size();
    }
    return n;
}

void appendMap(ByteText& out, const ResourceMap& map) {
    requireWidth(map.rsmpHeader, RsmpHeaderSize);
    checkListSize(map.types.size());
    out += map.rsmpHeader;
    bytes::appendInt32LE(out, map.rsmpSize);
    bytes::appendInt32LE(out, map.rsmpTypeCount);
    for (const auto& type : map.types) {
        requireWidth(type.typeCode, 4);
        checkListSize(type.entries.size());
        out += type.typeCode;
        bytes::appendInt32LE(out, type.count);
        for (const auto& e : type.entries) {
            requireWidth(e.offset, 4);
            requireWidth(e.idField, 4);
            out += e.offset;
            out += e.idField;
            out += e.name;
        }
    }
}

void overwrite(ByteText& out, std::size_t at, const ByteText& four) { out.replace(at, 4, four); }

}  // namespace

namespace iff {

ByteText serialise(IffFile& iff) {
    markStage(1000);
    requireWidth(iff.iffHeader, IffHeaderSize);
    requireWidth(iff.rsmpOffsetField, 4);
    checkListSize(iff.chunks.size());
    // A map that was never read (the offset field promised one, no map chunk came) would
    // be written as a block of nothing; such a file is written without a map.
    const bool withMap = iff.hasRsmp && iff.map.read;

    std::size_t total = IffHeaderSize + 4;
    for (const auto& c : iff.chunks) total += ChunkHeaderSize + c.data.size();
    if (withMap) total += mapBytes(iff.map);
    if (total > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw RuntimeError(OverflowError);

    ByteText out;
    out.reserve(total);
    out += iff.iffHeader;
    out += iff.rsmpOffsetField;

    markStage(2000);
    for (auto& c : iff.chunks) {
        checkChunk(c);
        c.fileOffset = static_cast<std::int32_t>(out.size() + 1);
        out += c.typeCode;
        out += c.sizeField;
        out += c.idField;
        out += c.label;
        out += c.data;
    }

    if (!withMap) {
        overwrite(out, IffHeaderSize, ByteText(4, '\0'));
        return out;
    }

    markStage(3000);
    updateRsmp(iff);
    // The map always goes last, wherever it stood in the file read.
    const std::size_t mapStart = out.size();
    appendMap(out, iff.map);

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

// Reading a character file: one read of the whole file, then parsing from memory. Every
// size and count is checked against the bytes that remain before anything is copied or
// reserved, so a lying field costs nothing and a short file is an error, never data
// padded with zeros that a later write would store.

#include <algorithm>
#include <filesystem>
#include <new>
#include <system_error>

#include "core/binary_support.h"
#include "core/file_io.h"
#include "core/iff_file.h"

namespace drapeline {

namespace {

constexpr std::string_view Module = "modIFFsupport";
constexpr std::int32_t MapCountLimitChecked = 1000;   // a larger type record is a broken map

class Cursor {
public:
    explicit Cursor(std::string_view bytes) : bytes_(bytes) {}

    std::size_t pos() const { return pos_; }
    std::size_t remaining() const { return bytes_.size() - pos_; }
    std::string_view rest() const { return bytes_.substr(pos_); }

    std::string_view take(std::size_t n) {
        if (n > remaining()) throw RuntimeError(err::InputPastEnd);
        const auto field = bytes_.substr(pos_, n);
        pos_ += n;
        return field;
    }
    void back(std::size_t n) { pos_ -= n; }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

// Thrown by the checked map reader for a type record with an absurd entry count.
struct MapUnreadable {};

// A list that the file sizes as `count` elements: at most as many as the remaining bytes
// could hold, so the reservation never follows a lying count.
template <class T>
void reserveFor(std::vector<T>& list, std::int32_t count, std::size_t remaining,
                std::size_t minElementSize) {
    list.reserve(std::min<std::size_t>(static_cast<std::size_t>(count),
                                       remaining / minElementSize));
}

void checkCount(std::int32_t count) {
    // The classic reader dimensions a list from 1 to count, which refuses 0 and below.
    if (count <= 0) throw RuntimeError(err::SubscriptOutOfRange);
}

void checkListIndex(std::int64_t oneBasedIndex) {
    if (oneBasedIndex > static_cast<std::int64_t>(MaxListElements))
        throw RuntimeError(OverflowError);
}

// Name bytes up to and including the terminator. After a NUL (not after 0xA3) the game
// pads the entry so that it ends at an even distance from the map chunk's first byte.
ByteText readEntryName(Cursor& in, std::size_t mapStart) {
    static constexpr char terminators[] = {'\0', '\xA3'};
    const auto rest = in.rest();
    const auto end = rest.find_first_of(std::string_view(terminators, 2));
    if (end == std::string_view::npos) throw RuntimeError(err::InputPastEnd);
    std::size_t length = end + 1;
    const std::size_t distance = in.pos() + length - mapStart;
    if (rest[end] == '\0' && distance % 2 == 1) ++length;
    return ByteText(in.take(length));
}

void readMap(IffFile& iff, Cursor& in, bool checked) {
    markStage(1000);
    ResourceMap& map = iff.map;
    map = ResourceMap{};
    const std::size_t mapStart = in.pos();
    map.rsmpHeader = ByteText(in.take(RsmpHeaderSize));
    map.rsmpSize = bytes::int32LE(in.take(4), 0);
    map.rsmpTypeCount = bytes::int32LE(in.take(4), 0);
    checkCount(map.rsmpTypeCount);
    reserveFor(map.types, map.rsmpTypeCount, in.remaining(), 8);
    for (std::int64_t k = 1; k <= map.rsmpTypeCount; ++k) {
        checkListIndex(k);
        markStage(2000);
        RsmpType& type = map.types.emplace_back();
        type.typeCode = ByteText(in.take(4));
        type.count = bytes::int32LE(in.take(4), 0);
        if (checked && type.count > MapCountLimitChecked) throw MapUnreadable{};
        checkCount(type.count);
        reserveFor(type.entries, type.count, in.remaining(), 9);
        for (std::int64_t e = 1; e <= type.count; ++e) {
            checkListIndex(e);
            markStage(3000);
            RsmpEntry& entry = type.entries.emplace_back();
            entry.offset = ByteText(in.take(4));
            entry.idField = ByteText(in.take(4));
            markStage(4000);
            entry.name = readEntryName(in, mapStart);
        }
    }
    map.read = true;
}

// The chunk loop. `readMapAt` reads the map chunk that starts at the cursor.
template <class MapReader>
void readFile(IffFile& iff, std::string_view file, MapReader&& readMapAt) {
    iff = IffFile{};
    markStage(1000);
    // Chunk positions are 32-bit signed.
    if (file.size() > 0x7FFFFFFFu) throw RuntimeError(OverflowError);
    Cursor in(file);
    iff.iffHeader = ByteText(in.take(IffHeaderSize));
    iff.rsmpOffsetField = ByteText(in.take(4));
    iff.hasRsmp = offsetFieldMeansMap(iff.rsmpOffsetField);
    iff.chunks.reserve(32);
    // At least two bytes must remain for another chunk; a single trailing byte is
    // dropped, as the editor has always done.
    while (in.remaining() >= 2) {
        markStage(2000);
        const auto type = in.take(4);
        if (type == "rsmp") {
            // Reading continues right after the map's last entry, whatever its size field
            // says. A further "rsmp" there is read as the map too: kept as an ordinary
            // chunk it would be written ahead of the map and taken for the map next time.
            in.back(4);
            readMapAt(iff, in);
            continue;
        }
        checkListIndex(static_cast<std::int64_t>(iff.chunks.size()) + 1);
        const std::size_t start = in.pos() - 4;
        const auto header = in.take(ChunkHeaderSize - 4);
        const std::int32_t size = bytes::int32BE(header, 0);
        if (size < static_cast<std::int32_t>(ChunkHeaderSize)) throw RuntimeError(err::InvalidCall);
        const auto data = in.take(static_cast<std::size_t>(size) - ChunkHeaderSize);
        IffChunk& chunk = iff.chunks.emplace_back();
        chunk.fileOffset = static_cast<std::int32_t>(start + 1);
        chunk.typeCode = ByteText(type);
        chunk.sizeField = ByteText(header.substr(0, 4));
        chunk.idField = ByteText(header.substr(4, 4));
        chunk.label = ByteText(header.substr(8, ChunkLabelSize));
        chunk.data = ByteText(data);
    }
}

// The checked map reader's report travels to the file reader as this.
struct MapReport {
    std::string text;
};

}  // namespace

std::uint16_t IffChunk::resourceId() const {
    if (idField.size() < 2) return 0;
    return static_cast<std::uint16_t>(bytes::u8(idField, 0) << 8 | bytes::u8(idField, 1));
}

bool offsetFieldMeansMap(std::string_view offsetField) {
    if (offsetField.size() != 4) return false;
    return bytes::int32BE(offsetField, 0) != 0 && offsetField != "0000";
}

namespace iff {

std::string parseChecked(IffFile& iff, std::string_view fileBytes) {
    try {
        readFile(iff, fileBytes, [](IffFile& f, Cursor& in) {
            try {
                readMap(f, in, true);
            } catch (const MapUnreadable&) {
                throw MapReport{"RSMP UNREADABLE"};
            } catch (const RuntimeError& e) {
                throw MapReport{e.text()};
            } catch (const std::bad_alloc&) {
                throw MapReport{RuntimeError(err::OutOfMemory).text()};
            }
        });
    } catch (const MapReport& report) {
        return report.text + " (RSMP)";
    } catch (const RuntimeError& e) {
        return e.text();
    } catch (const std::bad_alloc&) {
        return RuntimeError(err::OutOfMemory).text();
    }
    return {};
}

ByteText readFileBytes(const std::string& path) {
    try {
        return readWholeFile(path, LargestCharacterFile);
    } catch (const RuntimeError& e) {
        if (e.number() == err::FileNotFound) throw RuntimeError(err::FileNotFound);
        if (e.number() == OverflowError) throw RuntimeError(OverflowError).withSystemReason(TooLargeReason);
        throw RuntimeError(err::PathFileAccess);
    }
}

bool tooLargeForCharacterFile(const std::string& path) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    return !ec && size > LargestCharacterFile;
}

std::string readChecked(IffFile& iff, const std::string& path, ByteText& bytes) {
    markStage(1000);
    try {
        bytes = iff::readFileBytes(path);
    } catch (const RuntimeError& e) {
        iff = IffFile{};
        return e.textWithReason();
    } catch (const std::bad_alloc&) {
        iff = IffFile{};
        return RuntimeError(err::OutOfMemory).text();
    }
    return parseChecked(iff, bytes);
}

}  // namespace iff

namespace iff {

void readIff(IffFile& iff, const std::string& path) {
    ByteText bytes;
    readIff(iff, path, bytes);
}

void readIff(IffFile& iff, const std::string& path, ByteText& bytes) {
    guarded(Module, "gsReadIFF", Stages::Marked, [&] {
        markStage(1000);
        bytes = iff::readFileBytes(path);
        readFile(iff, bytes, [](IffFile& f, Cursor& in) {
            guarded(Module, "gsReadRSMP", Stages::Marked, [&] { readMap(f, in, false); });
        });
    });
}

std::string readIffChecked(IffFile& iff, const std::string& path) {
    ByteText bytes;
    return iff::readChecked(iff, path, bytes);
}

void clearIff(IffFile& iff) { iff = IffFile{}; }

}  // namespace iff

}  // namespace drapeline

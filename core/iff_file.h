#pragma once
// One IFF container (a character file) held in memory: the 60-byte opening block, the
// map offset field, the chunks in file order and the decoded resource map. Fields are
// kept as the raw byte texts read from the file and converted only where a number is
// needed, so that an unchanged file is written back byte for byte.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/errors.h"

namespace drapeline {

inline constexpr std::size_t IffHeaderSize = 60;
inline constexpr std::size_t ChunkHeaderSize = 76;
inline constexpr std::size_t ChunkLabelSize = 64;
inline constexpr std::size_t RsmpHeaderSize = 88;   // chunk header + 12 kept bytes
// Lists read from files are counted with 16-bit signed counters.
inline constexpr std::size_t MaxListElements = 32767;
// The run-time error for a list that outgrows its 16-bit counter ("Overflow").
inline constexpr std::int32_t OverflowError = err::Overflow;
// Character files are a few hundred kilobytes and none is near 2 MB; a larger file is
// refused before it is read (overflow, with TooLargeReason), so that a stray huge file
// costs neither the memory nor the wait.
inline constexpr std::uint64_t LargestCharacterFile = std::uint64_t{64} << 20;
inline constexpr char TooLargeReason[] = "too large to be a character file";

struct IffChunk {
    std::int32_t fileOffset = 0;   // 1-based position in the file last read or written
    ByteText typeCode;             // 4 bytes, e.g. "STR#"
    ByteText sizeField;            // 4 bytes, big-endian, includes the 76-byte header
    ByteText idField;              // 4 bytes: resource ID big-endian, then 2 kept bytes
    ByteText label;                // 64 bytes, NUL-padded
    ByteText data;                 // sizeField - 76 bytes

    // The resource ID from idField bytes 1 and 2 (0 when the field is short).
    std::uint16_t resourceId() const;
};

struct RsmpEntry {
    ByteText offset;    // 4 bytes, little-endian 0-based offset of the chunk
    ByteText idField;   // 4 bytes: resource ID little-endian, then 2 kept bytes
    ByteText name;      // name bytes, terminator (NUL or 0xA3) and pad byte if any
};

struct RsmpType {
    ByteText typeCode;   // 4 bytes, reversed ("DJBO" for OBJD)
    std::int32_t count = 0;
    std::vector<RsmpEntry> entries;
};

struct ResourceMap {
    // False until a map chunk has been read; a map that was never read is never written.
    bool read = false;
    ByteText rsmpHeader;   // 88 bytes as read
    std::int32_t rsmpSize = 0;
    std::int32_t rsmpTypeCount = 0;
    std::vector<RsmpType> types;
};

struct IffFile {
    ByteText iffHeader;         // 60 bytes
    ByteText rsmpOffsetField;   // 4 bytes, big-endian 0-based offset of the map chunk
    bool hasRsmp = false;
    std::vector<IffChunk> chunks;   // the map chunk is not among them
    ResourceMap map;
};

// True unless the offset field reads 0 or holds the four characters "0000", the two
// ways a file says that it has no map.
bool offsetFieldMeansMap(std::string_view offsetField);

// Plain reading and writing for callers that handle failures themselves: the
// command-line tool, batch tools, fuzzing. They set the same stage markers as the
// guarded procedures and never raise the error trap.
namespace iff {

// The checked read of a whole file held in memory: "" on success, else the error text
// that readIffChecked reports.
std::string parseChecked(IffFile& iff, std::string_view fileBytes);

// readIffChecked that also hands back the bytes it read, for a caller that writes
// the file back only when its bytes change.
std::string readChecked(IffFile& iff, const std::string& path, ByteText& bytes);

// The file's bytes as the writer stores them. Sets every chunk's FileOffset and the map's
// entry offsets. Throws RuntimeError for a chunk or map that can not be stored as held.
ByteText serialise(IffFile& iff);


// One read of the whole file. Open failures other than "file not found" are reported as
// error 75, as the editor always has; a file over LargestCharacterFile is error 6 with
// TooLargeReason, and is never read. Throws RuntimeError.
ByteText readFileBytes(const std::string& path);

// Whether the file at `path` is over LargestCharacterFile, asked before anything reads it.
bool tooLargeForCharacterFile(const std::string& path);

}  // namespace iff

namespace iff {

// Fills `iff` from the file at `path`. Guarded: any failure raises the error trap.
void readIff(IffFile& iff, const std::string& path);
// The same, handing back the bytes read (an editor compares them before it writes).
void readIff(IffFile& iff, const std::string& path, ByteText& bytes);

// As readIff, but returns "" on success or the error text; never raises the trap.
// After a failure `iff` is partial and must not be written back.
std::string readIffChecked(IffFile& iff, const std::string& path);



void clearIff(IffFile& iff);

}  // namespace iff

}  // namespace drapeline

#pragma once
// Builds character files and their parts byte by byte: the demo game's sims, and the
// test fixtures, benchmarks and fuzz seeds. Nothing here reads a real game file.
//
//   ByteText file = testkit::IffBuilder()
//       .chunk("OBJD", 128, objdData, "user00012")
//       .strings(200, {"adult", "b001..."}, "body strings")   // STR#, ID field 00 C8 00 10
//       .bitmap("web_image", 1, testkit::solidBitmap(8, 8, {200, 40, 40}))
//       .map()                                                 // rsmp listing every chunk
//       .build();
//
// The map lists every chunk (grouped by type in order of first appearance, unless
// unlisted()); it stands where map() is called, so chunks added after it follow the map
// chunk in the file and are listed all the same.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/errors.h"

namespace drapeline::testkit {

// ---- Chunk data -----------------------------------------------------------------------

// Resource ID big-endian followed by the two kept bytes.
ByteText idField(std::uint16_t id, std::uint8_t kept1 = 0, std::uint8_t kept2 = 0);
// A label padded with NULs to 64 bytes (cut to 63 so that a NUL always ends it).
ByteText label64(std::string_view text);

struct StringItem {
    std::string text;
    std::string comment;
    std::uint8_t language = 1;
};

struct StringSetLayout {
    ByteText formatCode{"\xFD\xFF", 2};
    std::optional<std::uint16_t> count;   // default: the number of entries
    ByteText trailer;
};

ByteText stringSetData(const std::vector<StringItem>& entries, const StringSetLayout& layout = {});
// Texts with empty comments and language 1.
ByteText stringSetData(const std::vector<std::string>& texts, const StringSetLayout& layout = {});

// ---- Containers -----------------------------------------------------------------------

enum class NameEnd { Nul, A3 };

struct MapStyle {
    NameEnd terminator = NameEnd::Nul;
    bool padBytes = true;         // the pad byte after a NUL that ends at an odd distance
    char padValue = '\0';
    ByteText keptBytes{"\0\0\0\0\0\0\0\0pmsr", 12};   // the 12 bytes after the chunk header
    ByteText afterEntries;        // bytes the map chunk covers after its last entry
    std::optional<std::int32_t> rsmpSize;   // default: map length - 1, as the writer stores it
    std::uint16_t id = 0;
};

class IffBuilder {
public:
    IffBuilder();

    IffBuilder& header(std::string_view text);    // NUL-padded or cut to 60 bytes
    // The map offset field as given (e.g. "0000" or four NULs) instead of the map's offset.
    IffBuilder& offsetField(std::string_view fourBytes);

    IffBuilder& chunk(std::string_view type, std::uint16_t id, ByteText data,
                      std::string_view label = "");
    IffBuilder& chunkWithIdField(std::string_view type, ByteText idField, ByteText data,
                                 std::string_view label = "");
    // Adjust the chunk added last.
    IffBuilder& rawLabel(ByteText sixtyFourBytes);
    IffBuilder& sizeField(std::int32_t value);     // a size field that lies
    IffBuilder& unlisted();                        // no map entry for it

    IffBuilder& strings(std::uint16_t id, const std::vector<std::string>& texts,
                        std::string_view label = "");   // STR#, kept ID bytes 00 10
    IffBuilder& ctss(std::uint16_t id, const std::vector<std::string>& texts,
                     std::string_view label = "");
    IffBuilder& bitmap(std::string_view label, std::uint16_t id, ByteText bmp);

    // The rsmp chunk goes here. At most one.
    IffBuilder& map(const MapStyle& style = {});
    // A map entry without a chunk.
    IffBuilder& extraEntry(std::string_view type, std::uint16_t id, std::string_view name);

    IffBuilder& tail(ByteText bytes);   // raw bytes after everything

    ByteText build() const;

    // 0-based offsets in build()'s output.
    std::size_t chunkOffset(std::size_t index) const;
    std::size_t mapOffset() const;
    std::size_t chunkCount() const;

private:
    struct Chunk {
        ByteText type, idField, label, data;
        std::optional<std::int32_t> size;
        bool listed = true;
    };
    struct Entry {
        ByteText type;
        ByteText idField;   // as the map holds it: ID little-endian, kept bytes
        ByteText name;
        std::optional<std::size_t> chunk;
    };
    std::vector<Entry> entries() const;
    ByteText mapChunk(const std::vector<std::size_t>& chunkOffsets) const;
    std::size_t mapChunkSize() const;
    std::vector<std::size_t> offsets() const;

    ByteText header_;
    std::optional<ByteText> offsetField_;
    std::vector<Chunk> chunks_;
    std::optional<std::size_t> mapBefore_;   // index of the first chunk after the map
    MapStyle mapStyle_;
    std::vector<Entry> extraEntries_;
    ByteText tail_;
};

}  // namespace drapeline::testkit

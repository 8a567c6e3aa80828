#include "tests/support/iff_builder.h"

#include <algorithm>
#include <stdexcept>

namespace drapeline::testkit {

namespace {

void le16(ByteText& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void le32(ByteText& out, std::uint32_t v) {
    le16(out, v & 0xFFFF);
    le16(out, v >> 16);
}

void be32(ByteText& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
}

ByteText bitmapFile(int width, int height, int bitsPerPixel, const std::vector<Rgb>& palette,
                    const std::function<void(ByteText&, int x, int y)>& putPixel) {
    if (width <= 0 || height <= 0) throw std::invalid_argument("bitmap needs a size");
    const int rowBytes = (width * bitsPerPixel / 8 + 3) / 4 * 4;
    const auto pixelBytes = static_cast<std::uint32_t>(rowBytes * height);
    const auto dataOffset = static_cast<std::uint32_t>(14 + 40 + 4 * palette.size());
    ByteText out;
    out.reserve(dataOffset + pixelBytes);
    out += "BM";
    le32(out, dataOffset + pixelBytes);
    le32(out, 0);
    le32(out, dataOffset);
    le32(out, 40);
    le32(out, static_cast<std::uint32_t>(width));
    le32(out, static_cast<std::uint32_t>(height));   // positive: rows bottom-up
    le16(out, 1);
    le16(out, static_cast<std::uint32_t>(bitsPerPixel));
    le32(out, 0);   // uncompressed
    le32(out, pixelBytes);
    le32(out, 2835);   // 72 dpi
    le32(out, 2835);
    le32(out, static_cast<std::uint32_t>(palette.size()));
    le32(out, 0);
    for (const auto& c : palette) {
        out += static_cast<char>(c.b);
        out += static_cast<char>(c.g);
        out += static_cast<char>(c.r);
        out += '\0';
    }
    for (int y = height - 1; y >= 0; --y) {
        const auto rowStart = out.size();
        for (int x = 0; x < width; ++x) putPixel(out, x, y);
        out.append(static_cast<std::size_t>(rowBytes) - (out.size() - rowStart), '\0');
    }
    return out;
}

// A small deterministic generator, so fixtures are the same on every machine.
class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed * 2654435761u + 1) {}
    std::uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    std::uint32_t below(std::uint32_t n) { return next() % n; }

private:
    std::uint32_t state_;
};

ByteText trimmedAtNul(const ByteText& label) { return label.substr(0, label.find('\0')); }

}  // namespace

ByteText bitmap24(int width, int height, const std::function<Rgb(int x, int y)>& pixel) {
    return bitmapFile(width, height, 24, {}, [&](ByteText& out, int x, int y) {
        const Rgb c = pixel(x, y);
        out += static_cast<char>(c.b);
        out += static_cast<char>(c.g);
        out += static_cast<char>(c.r);
    });
}

ByteText bitmap8(int width, int height, const std::vector<Rgb>& palette,
                 const std::function<std::uint8_t(int x, int y)>& index) {
    if (palette.empty() || palette.size() > 256) throw std::invalid_argument("palette size");
    return bitmapFile(width, height, 8, palette,
                      [&](ByteText& out, int x, int y) { out += static_cast<char>(index(x, y)); });
}

ByteText solidBitmap(int width, int height, Rgb colour) {
    return bitmap24(width, height, [colour](int, int) { return colour; });
}

ByteText idField(std::uint16_t id, std::uint8_t kept1, std::uint8_t kept2) {
    return ByteText{static_cast<char>(id >> 8), static_cast<char>(id & 0xFF),
                    static_cast<char>(kept1), static_cast<char>(kept2)};
}

ByteText label64(std::string_view text) {
    ByteText out(text.substr(0, 63));
    out.resize(64, '\0');
    return out;
}

ByteText stringSetData(const std::vector<StringItem>& entries, const StringSetLayout& layout) {
    ByteText out = layout.formatCode;
    le16(out, layout.count.value_or(static_cast<std::uint16_t>(entries.size())));
    for (const auto& e : entries) {
        out += static_cast<char>(e.language);
        out += e.text;
        out += '\0';
        out += e.comment;
        out += '\0';
    }
    out += layout.trailer;
    return out;
}

ByteText stringSetData(const std::vector<std::string>& texts, const StringSetLayout& layout) {
    std::vector<StringItem> entries;
    entries.reserve(texts.size());
    for (const auto& t : texts) entries.push_back({t, "", 1});
    return stringSetData(entries, layout);
}

IffBuilder::IffBuilder() {
    header(std::string_view("IFF FILE 2.5:TYPE FOLLOWED BY SIZE\0 JAMIE DOORNBOS & MAXIS 1", 60));
}

IffBuilder& IffBuilder::header(std::string_view text) {
    header_ = ByteText(text.substr(0, 60));
    header_.resize(60, '\0');
    return *this;
}

IffBuilder& IffBuilder::offsetField(std::string_view fourBytes) {
    offsetField_ = ByteText(fourBytes);
    return *this;
}

IffBuilder& IffBuilder::chunk(std::string_view type, std::uint16_t id, ByteText data,
                              std::string_view label) {
    return chunkWithIdField(type, idField(id), std::move(data), label);
}

IffBuilder& IffBuilder::chunkWithIdField(std::string_view type, ByteText id, ByteText data,
                                         std::string_view label) {
    if (type.size() != 4 || id.size() != 4) throw std::invalid_argument("type and ID need 4 bytes");
    chunks_.push_back({ByteText(type), std::move(id), label64(label), std::move(data), {}, true});
    return *this;
}

IffBuilder& IffBuilder::rawLabel(ByteText sixtyFourBytes) {
    chunks_.back().label = std::move(sixtyFourBytes);
    return *this;
}

IffBuilder& IffBuilder::sizeField(std::int32_t value) {
    chunks_.back().size = value;
    return *this;
}

IffBuilder& IffBuilder::unlisted() {
    chunks_.back().listed = false;
    return *this;
}

IffBuilder& IffBuilder::strings(std::uint16_t id, const std::vector<std::string>& texts,
                                std::string_view label) {
    return chunkWithIdField("STR#", idField(id, 0x00, 0x10), stringSetData(texts), label);
}

IffBuilder& IffBuilder::ctss(std::uint16_t id, const std::vector<std::string>& texts,
                             std::string_view label) {
    return chunkWithIdField("CTSS", idField(id, 0x00, 0x10), stringSetData(texts), label);
}

IffBuilder& IffBuilder::bitmap(std::string_view label, std::uint16_t id, ByteText bmp) {
    return chunk("BMP_", id, std::move(bmp), label);
}

IffBuilder& IffBuilder::map(const MapStyle& style) {
    mapBefore_ = chunks_.size();
    mapStyle_ = style;
    return *this;
}

IffBuilder& IffBuilder::extraEntry(std::string_view type, std::uint16_t id, std::string_view name) {
    extraEntries_.push_back({ByteText(type), ByteText{static_cast<char>(id & 0xFF),
                                                      static_cast<char>(id >> 8), '\0', '\0'},
                             ByteText(name), std::nullopt});
    return *this;
}

IffBuilder& IffBuilder::tail(ByteText bytes) {
    tail_ += bytes;
    return *this;
}

std::vector<IffBuilder::Entry> IffBuilder::entries() const {
    std::vector<Entry> all;
    for (std::size_t i = 0; i < chunks_.size(); ++i) {
        const Chunk& c = chunks_[i];
        if (!c.listed) continue;
        all.push_back({c.type, ByteText{c.idField[1], c.idField[0], c.idField[2], c.idField[3]},
                       trimmedAtNul(c.label), i});
    }
    all.insert(all.end(), extraEntries_.begin(), extraEntries_.end());
    // Grouped by type, types in order of first appearance.
    std::vector<ByteText> order;
    for (const auto& e : all)
        if (std::find(order.begin(), order.end(), e.type) == order.end()) order.push_back(e.type);
    std::stable_sort(all.begin(), all.end(), [&](const Entry& a, const Entry& b) {
        return std::find(order.begin(), order.end(), a.type) <
               std::find(order.begin(), order.end(), b.type);
    });
    return all;
}

ByteText IffBuilder::mapChunk(const std::vector<std::size_t>& chunkOffsets) const {
    const auto all = entries();
    ByteText body;   // everything after the 12 kept bytes
    std::size_t typeCount = 0;
    for (std::size_t i = 0; i < all.size(); ++i)
        if (i == 0 || all[i].type != all[i - 1].type) ++typeCount;
    le32(body, 0);   // RsmpSize, patched below
    le32(body, static_cast<std::uint32_t>(typeCount));
    for (std::size_t i = 0; i < all.size();) {
        std::size_t j = i;
        while (j < all.size() && all[j].type == all[i].type) ++j;
        body += ByteText(all[i].type.rbegin(), all[i].type.rend());
        le32(body, static_cast<std::uint32_t>(j - i));
        for (; i < j; ++i) {
            const Entry& e = all[i];
            le32(body, e.chunk ? static_cast<std::uint32_t>(chunkOffsets[*e.chunk]) : 0);
            body += e.idField;
            body += e.name;
            if (mapStyle_.terminator == NameEnd::A3) {
                body += '\xA3';
            } else {
                body += '\0';
                // Distance from the map chunk's first byte: header 76 + kept 12 + body.
                const std::size_t distance = 88 + body.size();
                if (mapStyle_.padBytes && distance % 2 == 1) body += mapStyle_.padValue;
            }
        }
    }
    body += mapStyle_.afterEntries;
    const std::size_t size = 88 + body.size();
    const auto rsmpSize = mapStyle_.rsmpSize.value_or(static_cast<std::int32_t>(size - 1));
    ByteText patched;
    le32(patched, static_cast<std::uint32_t>(rsmpSize));
    body.replace(0, 4, patched);

    ByteText out = "rsmp";
    be32(out, static_cast<std::uint32_t>(size));
    out += idField(mapStyle_.id);
    out += label64("");
    out += mapStyle_.keptBytes;
    out += body;
    return out;
}

std::size_t IffBuilder::mapChunkSize() const {
    // Offsets are fixed-width, so the map's size does not depend on where chunks lie.
    return mapChunk(std::vector<std::size_t>(chunks_.size(), 0)).size();
}

std::size_t IffBuilder::chunkCount() const { return chunks_.size(); }

std::vector<std::size_t> IffBuilder::offsets() const {
    std::vector<std::size_t> all(chunks_.size());
    const std::size_t mapSize = mapBefore_ ? mapChunkSize() : 0;
    std::size_t at = 64;
    for (std::size_t i = 0; i < chunks_.size(); ++i) {
        if (mapBefore_ && *mapBefore_ == i) at += mapSize;
        all[i] = at;
        at += 76 + chunks_[i].data.size();
    }
    return all;
}

std::size_t IffBuilder::chunkOffset(std::size_t index) const { return offsets().at(index); }

std::size_t IffBuilder::mapOffset() const {
    if (!mapBefore_) throw std::logic_error("no map");
    std::size_t at = 64;
    for (std::size_t i = 0; i < *mapBefore_; ++i) at += 76 + chunks_[i].data.size();
    return at;
}

ByteText IffBuilder::build() const {
    const auto chunkOffsets = offsets();
    ByteText out = header_;
    if (offsetField_) {
        out += *offsetField_;
    } else {
        be32(out, mapBefore_ ? static_cast<std::uint32_t>(mapOffset()) : 0);
    }
    for (std::size_t i = 0; i <= chunks_.size(); ++i) {
        if (mapBefore_ && *mapBefore_ == i) out += mapChunk(chunkOffsets);
        if (i == chunks_.size()) break;
        const Chunk& c = chunks_[i];
        out += c.type;
        be32(out, static_cast<std::uint32_t>(c.size.value_or(static_cast<std::int32_t>(76 + c.data.size()))));
        out += c.idField;
        out += c.label;
        out += c.data;
    }
    out += tail_;
    return out;
}

std::vector<std::string> adultFemaleBodyStrings() {
    return {
        "adult",
        "b001fafitlgt_01,BODY=b001fafitlgt_01",
        "c003fa_romance,HEAD-HEAD=c003falgt_romance",
        "", "", "", "", "", "", "", "",
        "",
        "female",
        "",
        "lgt",
        "n001fafitlgt_01,BODY=n001fafitlgt_01",
        "s001fafitlgt_01,BODY=s001fafitlgt_01",
        "HfLO,HAND=gfao_lgt",
        "HfRO,HAND=gfao_lgt",
        "HfLP,HAND=gfap_lgt",
        "HfRP,HAND=gfap_lgt",
        "HfLC,HAND=gfac_lgt",
        "HfRC,HAND=gfac_lgt",
        "", "", "", "",
        "",
        "HfLO,HAND=gfao_bride",
        "HfRO,HAND=gfao_bride",
        "f001fafitlgt_01,BODY=f001fafitlgt_01",
        "s001fafitlgt_01,BODY=s001fafitlgt_01",
        "l001fafitlgt_01,BODY=l001fafitlgt_01",
        "w001fafitlgt_01,BODY=w001fafitlgt_01",
    };
}

IffBuilder characterFile(const SimOptions& sim) {
    Random random(sim.seed);
    const auto filler = [&](std::size_t size) {
        ByteText data(size, '\0');
        for (auto& b : data) b = static_cast<char>(random.below(256));
        return data;
    };
    const std::vector<Rgb> palette = [] {
        std::vector<Rgb> p;
        for (int i = 0; i < 256; ++i)
            p.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                         static_cast<std::uint8_t>(i * 7)});
        return p;
    }();
    const auto picture8 = [&](PictureSize s) {
        return bitmap8(s.width, s.height, palette, [](int x, int y) {
            return static_cast<std::uint8_t>((x * 3 + y * 5) & 0xFF);
        });
    };

    IffBuilder b;
    b.chunk("OBJD", sim.objectId, filler(216), sim.objectLabel);
    b.ctss(2000, sim.names, sim.objectLabel);
    b.strings(200, sim.bodyStrings.empty() ? adultFemaleBodyStrings() : sim.bodyStrings,
              "body strings");
    b.bitmap("web_image", 1, bitmap24(sim.webImage.width, sim.webImage.height, [](int x, int y) {
        return Rgb{static_cast<std::uint8_t>(x * 5), static_cast<std::uint8_t>(y * 3), 90};
    }));
    b.bitmap("faces", 2, picture8(sim.faces));
    b.bitmap("rel. images", 3, picture8(sim.relImages));
    static const char* const kinds[] = {"BHAV", "TTAB", "TTAs", "SLOT", "OBJf", "STR#", "PERS"};
    for (int i = 0; i < sim.otherChunks; ++i) {
        const char* kind = kinds[random.below(std::size(kinds))];
        b.chunk(kind, static_cast<std::uint16_t>(4096 + i), filler(40 + random.below(1200)),
                std::string(kind) + " " + std::to_string(i));
    }
    b.map();
    return b;
}

}  // namespace drapeline::testkit

#include "testkit/iff_builder.h"

#include <algorithm>
#include <stdexcept>

#include "testkit/byte_writer.h"

namespace drapeline::testkit {

namespace {

ByteText trimmedAtNul(const ByteText& label) { return label.substr(0, label.find('\0')); }

}  // namespace

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

}  // namespace drapeline::testkit

#include "testkit/mesh_builder.h"

#include <bit>
#include <charconv>
#include <initializer_list>

#include "testkit/byte_writer.h"

namespace drapeline::testkit {

namespace {

// One record a line; floats in their shortest form that reads back to the same value.
class TextOut {
public:
    static constexpr bool blendWeightFirst = false;

    void string(std::string_view s) {
        out_ += s;
        out_ += '\n';
    }
    void int32s(std::initializer_list<std::int32_t> values) {
        const char* blank = "";
        for (const auto v : values) {
            out_ += blank + std::to_string(v);
            blank = " ";
        }
        out_ += '\n';
    }
    void floats(std::initializer_list<float> values, bool bars) {
        if (bars) out_ += "| ";
        const char* blank = "";
        for (const auto v : values) {
            char digits[32];
            const auto end = std::to_chars(digits, digits + sizeof digits, v).ptr;
            out_ += blank;
            out_.append(digits, end);
            blank = " ";
        }
        out_ += bars ? " |\n" : "\n";
    }
    ByteText take() { return std::move(out_); }

private:
    ByteText out_;
};

class BinaryOut {
public:
    static constexpr bool blendWeightFirst = true;

    void string(std::string_view s) {
        if (s.size() < 255) {
            out_ += static_cast<char>(s.size());
        } else {
            out_ += '\xFF';
            le32(out_, static_cast<std::uint32_t>(s.size()));
        }
        out_ += s;
    }
    void int32s(std::initializer_list<std::int32_t> values) {
        for (const auto v : values) le32(out_, static_cast<std::uint32_t>(v));
    }
    void floats(std::initializer_list<float> values, bool) {
        for (const auto v : values) le32(out_, std::bit_cast<std::uint32_t>(v));
    }
    ByteText take() { return std::move(out_); }

private:
    ByteText out_;
};

std::int32_t count(std::size_t n) { return static_cast<std::int32_t>(n); }

template <class Out>
void propertyLists(Out& out, const std::vector<PropertyList>& lists) {
    out.int32s({count(lists.size())});
    for (const auto& list : lists) {
        out.int32s({count(list.size())});
        for (const auto& p : list) {
            out.string(p.key);
            out.string(p.value);
        }
    }
}

template <class Out>
ByteText character(Out out, const CharacterData& data) {
    out.int32s({count(data.skeletons.size())});
    for (const auto& skeleton : data.skeletons) {
        out.string(skeleton.name);
        out.int32s({count(skeleton.bones.size())});
        for (const auto& b : skeleton.bones) {
            out.string(b.name);
            out.string(b.parentName);
            propertyLists(out, b.properties);
            out.floats({b.translation.x, b.translation.y, b.translation.z}, true);
            out.floats({b.rotation.x, b.rotation.y, b.rotation.z, b.rotation.w}, true);
            for (const auto flag : {b.canTranslate, b.canRotate, b.canBlend}) out.int32s({flag});
            out.floats({b.wiggleValue}, false);
            out.floats({b.wigglePower}, false);
        }
    }
    out.int32s({count(data.suits.size())});
    for (const auto& suit : data.suits) {
        out.string(suit.name);
        out.int32s({suit.type});
        propertyLists(out, suit.properties);
        out.int32s({count(suit.skins.size())});
        for (const auto& skin : suit.skins) {
            out.string(skin.boneName);
            out.string(skin.meshName);
            out.int32s({skin.censorFlags});
            propertyLists(out, skin.properties);
        }
    }
    out.int32s({data.skillCount});
    return out.take();
}

template <class Out>
ByteText mesh(Out out, const Mesh& m) {
    out.string(m.name);
    out.string(m.texture);
    out.int32s({count(m.boneNames.size())});
    for (const auto& name : m.boneNames) out.string(name);
    out.int32s({count(m.faces.size())});
    for (const auto& f : m.faces) out.int32s({f.a, f.b, f.c});
    out.int32s({count(m.bindings.size())});
    for (const auto& b : m.bindings)
        out.int32s({b.boneIndex, b.firstReal, b.realCount, b.firstBlend, b.blendCount});
    out.int32s({count(m.textureCoordinates.size())});
    for (const auto& uv : m.textureCoordinates) out.floats({uv.u, uv.v}, false);
    out.int32s({count(m.blends.size())});
    for (const auto& b : m.blends) {
        if (Out::blendWeightFirst) out.int32s({b.weight, b.otherVertex});
        else out.int32s({b.otherVertex, b.weight});
    }
    out.int32s({count(m.vertices.size())});
    for (const auto& v : m.vertices)
        out.floats({v.position.x, v.position.y, v.position.z, v.normal.x, v.normal.y, v.normal.z},
                   false);
    return out.take();
}

}  // namespace

ByteText characterText(const CharacterData& data) {
    return "// Character File. Copyright 1997, Maxis Inc.\nversion 300\n" + character(TextOut{}, data);
}

ByteText characterBinary(const CharacterData& data) { return character(BinaryOut{}, data); }
ByteText meshText(const Mesh& m) { return mesh(TextOut{}, m); }
ByteText meshBinary(const Mesh& m) { return mesh(BinaryOut{}, m); }

ByteText farArchive(const std::vector<FarItem>& items) {
    ByteText out = "FAR!byAZ";
    le32(out, 1);
    std::size_t manifest = 16;
    for (const auto& item : items) manifest += item.bytes.size();
    le32(out, static_cast<std::uint32_t>(manifest));
    for (const auto& item : items) out += item.bytes;
    le32(out, static_cast<std::uint32_t>(items.size()));
    std::size_t offset = 16;
    for (const auto& item : items) {
        le32(out, static_cast<std::uint32_t>(item.bytes.size()));
        le32(out, static_cast<std::uint32_t>(item.bytes.size()));
        le32(out, static_cast<std::uint32_t>(offset));
        le32(out, static_cast<std::uint32_t>(item.name.size()));
        out += item.name;
        offset += item.bytes.size();
    }
    return out;
}

Bone bone(std::string name, std::string parent, Vector3 translation, Quaternion rotation) {
    Bone b;
    b.name = std::move(name);
    b.parentName = std::move(parent);
    b.translation = translation;
    b.rotation = rotation;
    b.canTranslate = 1;
    b.canRotate = 1;
    b.canBlend = 1;
    b.wiggleValue = 0;
    b.wigglePower = 0;
    return b;
}

Skeleton sampleSkeleton() {
    Bone pelvis = bone("PELVIS", "ROOT", {0, 0.5f, 0.0125f}, {0, 0.70710677f, 0, 0.70710677f});
    pelvis.properties = {{{"gender", "either"}, {"x", ""}}};
    pelvis.wiggleValue = 1.4e-45f;   // tiny values occur in the game's files
    return {"adult", {bone("ROOT", "NULL", {0, 3.0f, 0}), pelvis}};
}

Suit sampleSuit(const std::string& name) {
    Suit suit;
    suit.name = name;
    SuitSkin skin;
    skin.boneName = "PELVIS";
    skin.meshName = "xskin-" + name + "-PELVIS-BODY";
    suit.skins = {skin};
    return suit;
}

Mesh sampleMesh() {
    Mesh m;
    m.name = "xskin-b001fafit_01-PELVIS-BODY";
    m.texture = "x";
    m.boneNames = {"PELVIS", "SPINE"};
    m.faces = {{0, 1, 2}, {2, 1, 3}};
    m.bindings = {{0, 0, 2, 0, 1}, {1, 2, 2, 0, 0}};
    m.textureCoordinates = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    m.blends = {{2, 16384}};
    const Vector3 out{0, 0, -1};
    m.vertices = {{{-0.25f, 0, 0}, out}, {{0.25f, 0, 0}, out},    {{-0.25f, 0.1f, 0}, out},
                  {{0.25f, 0.1f, 0}, out}, {{-0.25f, -0.4f, 0}, out}};
    return m;
}

}  // namespace drapeline::testkit

#include "core/mesh.h"

#include <string>

namespace drapeline {

namespace {

struct Least {
    std::size_t boneName, face, binding, uv, blend, vertex;
};
constexpr Least LeastBytes{1, 12, 20, 8, 8, 24};
constexpr Least LeastLines{1, 1, 1, 1, 1, 1};

[[noreturn]] void badIndex(const std::string& what) { refuseModel(err::SubscriptOutOfRange, what); }

bool within(std::int64_t first, std::int64_t count, std::size_t size) {
    return first >= 0 && count >= 0 && first + count <= static_cast<std::int64_t>(size);
}

// The indices are checked once the whole mesh is read, since the vertices come last.
void checkIndices(const Mesh& mesh) {
    if (mesh.blends.size() > mesh.vertices.size())
        badIndex(std::to_string(mesh.blends.size()) + " blend data for " +
                 std::to_string(mesh.vertices.size()) + " vertices");
    const std::size_t real = mesh.realVertexCount();
    if (mesh.textureCoordinates.size() != real)
        badIndex(std::to_string(mesh.textureCoordinates.size()) + " texture coordinates for " +
                 std::to_string(real) + " real vertices");
    const auto of = [&](std::size_t element, std::int64_t index) {
        return " " + std::to_string(element) + " names vertex " + std::to_string(index) + " of " +
               std::to_string(real) + " real vertices";
    };
    for (std::size_t i = 0; i < mesh.faces.size(); ++i)
        for (const std::int32_t v : {mesh.faces[i].a, mesh.faces[i].b, mesh.faces[i].c})
            if (!within(v, 1, real)) badIndex("face" + of(i, v));
    for (std::size_t i = 0; i < mesh.blends.size(); ++i)
        if (!within(mesh.blends[i].otherVertex, 1, real))
            badIndex("blend datum" + of(i, mesh.blends[i].otherVertex));
    for (std::size_t i = 0; i < mesh.bindings.size(); ++i) {
        const BoneBinding& b = mesh.bindings[i];
        const std::string which = "binding " + std::to_string(i);
        if (!within(b.boneIndex, 1, mesh.boneNames.size()))
            badIndex(which + " names bone " + std::to_string(b.boneIndex) + " of " +
                     std::to_string(mesh.boneNames.size()));
        if (!within(b.firstReal, b.realCount, real))
            badIndex(which + " takes real vertices " + std::to_string(b.firstReal) + " + " +
                     std::to_string(b.realCount) + " of " + std::to_string(real));
        if (!within(b.firstBlend, b.blendCount, mesh.blends.size()))
            badIndex(which + " takes blend vertices " + std::to_string(b.firstBlend) + " + " +
                     std::to_string(b.blendCount) + " of " + std::to_string(mesh.blends.size()));
    }
}

// Everything but the blend data, whose two numbers the two forms store in opposite order.
template <class Fields, class ReadBlend>
Mesh readMesh(Fields& in, const Least& least, ReadBlend&& readBlend) {
    Mesh mesh;
    mesh.name = in.string("mesh name");
    mesh.texture = in.string("texture name");
    mesh.boneNames = readList(in.count("bones", least.boneName), [&] { return in.string("bone name"); });
    mesh.faces = readList(in.count("faces", least.face), [&] {
        std::int32_t v[3];
        in.int32s("face", v, 3);
        return Face{v[0], v[1], v[2]};
    });
    mesh.bindings = readList(in.count("bindings", least.binding), [&] {
        std::int32_t v[5];
        in.int32s("binding", v, 5);
        return BoneBinding{v[0], v[1], v[2], v[3], v[4]};
    });
    mesh.textureCoordinates = readList(in.count("texture coordinates", least.uv), [&] {
        float uv[2];
        in.floats("texture coordinate", uv, 2);
        return TextureCoordinate{uv[0], uv[1]};
    });
    mesh.blends = readList(in.count("blend data", least.blend), readBlend);
    mesh.vertices = readList(in.count("vertices", least.vertex), [&] {
        float v[6];
        in.floats("vertex", v, 6);
        return MeshVertex{{v[0], v[1], v[2]}, {v[3], v[4], v[5]}};
    });
    checkIndices(mesh);
    return mesh;
}

}  // namespace

Mesh readMeshText(std::string_view text) {
    TextFields in(text);
    return readMesh(in, LeastLines, [&] {
        std::int32_t v[2];
        in.int32s("blend datum", v, 2);
        return BlendData{v[0], v[1]};
    });
}

Mesh readMeshBinary(std::string_view bytes) {
    BinaryFields in(bytes);
    return readMesh(in, LeastBytes, [&] {
        BlendData blend;
        blend.weight = in.int32("blend weight");
        blend.otherVertex = in.int32("blend vertex");
        return blend;
    });
}

}  // namespace drapeline

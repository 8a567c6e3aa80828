#pragma once
// One mesh of a SKN text file or its BMF binary twin: the bones it hangs on, its triangles,
// which vertices each bone carries, texture coordinates, blend data and vertices. A mesh
// that reads is consistent: every index in it names an element that exists, so the code
// that poses and draws it needs no checks of its own.

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/model_fields.h"

namespace drapeline {

// Indices of three real vertices.
struct Face {
    std::int32_t a = 0, b = 0, c = 0;
    bool operator==(const Face&) const = default;
};

// The vertices one bone carries: real vertices [firstReal, firstReal + realCount) and
// blend vertices [firstBlend, firstBlend + blendCount), counted among the blend vertices
// (blend vertex i is vertex realVertexCount() + i and has blend data i).
struct BoneBinding {
    std::int32_t boneIndex = 0;
    std::int32_t firstReal = 0, realCount = 0;
    std::int32_t firstBlend = 0, blendCount = 0;
    bool operator==(const BoneBinding&) const = default;
};

struct TextureCoordinate {
    float u = 0, v = 0;   // origin top-left
    bool operator==(const TextureCoordinate&) const = default;
};

// A blend vertex pulls real vertex `otherVertex` toward its own bone by weight / 32768.
struct BlendData {
    std::int32_t otherVertex = 0;
    std::int32_t weight = 0;
    float fraction() const { return static_cast<float>(weight) / 32768.0f; }
    bool operator==(const BlendData&) const = default;
};

struct MeshVertex {
    Vector3 position;   // relative to the vertex's bone
    Vector3 normal;
    bool operator==(const MeshVertex&) const = default;
};

struct Mesh {
    ByteText name;
    ByteText texture;   // the default texture; "x" for none
    std::vector<ByteText> boneNames;
    std::vector<Face> faces;
    std::vector<BoneBinding> bindings;
    std::vector<TextureCoordinate> textureCoordinates;   // one per real vertex, as a rule
    std::vector<BlendData> blends;
    std::vector<MeshVertex> vertices;   // the real vertices, then one per blend datum

    std::size_t realVertexCount() const { return vertices.size() - blends.size(); }
    bool operator==(const Mesh&) const = default;
};

// Both throw RuntimeError naming the field and its place for a damaged or short file, and
// for an index that names nothing (error 9).
Mesh readMeshText(std::string_view text);     // .skn
Mesh readMeshBinary(std::string_view bytes);  // .bmf

}  // namespace drapeline

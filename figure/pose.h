#pragma once
// The standing pose of a skeleton and a mesh hung on it. The game stores each vertex
// relative to the bone that carries it; the pose turns them into one space shared by the
// whole figure (still the game's left-handed space: the renderer mirrors it once).

#include <string_view>
#include <vector>

#include "core/cmx.h"
#include "core/mesh.h"

namespace drapeline::figure {

// A rotation and a translation: p -> rotation * p + translation.
struct Transform {
    float m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    Vector3 translation;

    Vector3 apply(Vector3 p) const;
    Vector3 rotate(Vector3 v) const;
    Transform then(const Transform& local) const;   // this · local
    static Transform from(Vector3 translation, Quaternion rotation);
};

// World(bone) = World(parent) · T(translation) · R(rotation), from the root down, one per
// bone of the skeleton in its order. A bone whose parent is missing (or whose parents
// form a loop) stands on the origin like a root.
std::vector<Transform> restPose(const Skeleton& skeleton);

// A mesh in the figure's space, ready to draw: one position, normal and texture
// coordinate per real vertex, and the triangles.
struct PosedMesh {
    std::vector<Vector3> positions;
    std::vector<Vector3> normals;
    std::vector<TextureCoordinate> textureCoordinates;
    std::vector<Face> faces;
};

// Poses `mesh` on `skeleton` (whose rest pose is `world`). Each mesh bone is found in the
// skeleton by name, letter case aside; a bone the skeleton lacks is replaced by
// `fallbackBone` (the bone the suit hangs the mesh on), and its name is added to
// `unknownBones`. A blend vertex pulls its real vertex toward its own bone by its weight.
PosedMesh poseMesh(const Mesh& mesh, const Skeleton& skeleton, const std::vector<Transform>& world,
                   std::string_view fallbackBone, std::vector<ByteText>* unknownBones = nullptr);

// The index of the bone of that name in the skeleton (exact first, then letter case
// aside), or -1.
int boneIndex(const Skeleton& skeleton, std::string_view name);

}  // namespace drapeline::figure

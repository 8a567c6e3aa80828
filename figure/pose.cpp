#include "figure/pose.h"

#include <cmath>

#include "platform/files.h"

namespace drapeline::figure {

Vector3 Transform::rotate(Vector3 v) const {
    return {m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z,
            m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
            m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z};
}

Vector3 Transform::apply(Vector3 p) const {
    const Vector3 r = rotate(p);
    return {r.x + translation.x, r.y + translation.y, r.z + translation.z};
}

Transform Transform::then(const Transform& local) const {
    Transform out;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            out.m[i][j] = m[i][0] * local.m[0][j] + m[i][1] * local.m[1][j] + m[i][2] * local.m[2][j];
    out.translation = apply(local.translation);
    return out;
}

Transform Transform::from(Vector3 translation, Quaternion q) {
    Transform t;
    t.translation = translation;
    const float n = q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w;
    // A zero or damaged quaternion (the files hold denormals like 1e-45) means no turn.
    if (!(n > 1e-12f) || !std::isfinite(n)) return t;
    const float s = 2.0f / n;
    const float xx = q.x * q.x * s, yy = q.y * q.y * s, zz = q.z * q.z * s;
    const float xy = q.x * q.y * s, xz = q.x * q.z * s, yz = q.y * q.z * s;
    const float wx = q.w * q.x * s, wy = q.w * q.y * s, wz = q.w * q.z * s;
    t.m[0][0] = 1 - (yy + zz), t.m[0][1] = xy - wz, t.m[0][2] = xz + wy;
    t.m[1][0] = xy + wz, t.m[1][1] = 1 - (xx + zz), t.m[1][2] = yz - wx;
    t.m[2][0] = xz - wy, t.m[2][1] = yz + wx, t.m[2][2] = 1 - (xx + yy);
    return t;
}

int boneIndex(const Skeleton& skeleton, std::string_view name) {
    for (std::size_t i = 0; i < skeleton.bones.size(); ++i)
        if (skeleton.bones[i].name == name) return static_cast<int>(i);
    for (std::size_t i = 0; i < skeleton.bones.size(); ++i)
        if (platform::equalIgnoringCase(skeleton.bones[i].name, name)) return static_cast<int>(i);
    return -1;
}

std::vector<Transform> restPose(const Skeleton& skeleton) {
    const std::size_t n = skeleton.bones.size();
    std::vector<int> parent(n, -1);
    for (std::size_t i = 0; i < n; ++i) parent[i] = boneIndex(skeleton, skeleton.bones[i].parentName);
    std::vector<Transform> world(n);
    std::vector<char> state(n, 0);   // 0 not yet, 1 in progress, 2 done
    std::vector<std::size_t> chain;
    for (std::size_t start = 0; start < n; ++start) {
        // Walk up to a finished bone or a root, then come back down: no recursion, so a
        // long chain in a damaged file can not exhaust the stack.
        chain.clear();
        for (std::size_t b = start; state[b] == 0;) {
            state[b] = 1;
            chain.push_back(b);
            const int p = parent[b];
            if (p < 0 || state[static_cast<std::size_t>(p)] == 1) break;
            b = static_cast<std::size_t>(p);
        }
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            const Bone& bone = skeleton.bones[*it];
            const Transform local = Transform::from(bone.translation, bone.rotation);
            const int p = parent[*it];
            world[*it] = p >= 0 && state[static_cast<std::size_t>(p)] == 2 ? world[static_cast<std::size_t>(p)].then(local) : local;
            state[*it] = 2;
        }
    }
    return world;
}

namespace {

Vector3 mixed(Vector3 a, Vector3 b, float w) {
    const float k = 1.0f - w;
    return {k * a.x + w * b.x, k * a.y + w * b.y, k * a.z + w * b.z};
}

Vector3 normalised(Vector3 v) {
    const float n = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (!(n > 1e-20f)) return {0, 0, 0};
    return {v.x / n, v.y / n, v.z / n};
}

}  // namespace

PosedMesh poseMesh(const Mesh& mesh, const Skeleton& skeleton, const std::vector<Transform>& world,
                   std::string_view fallbackBone, std::vector<ByteText>* unknownBones) {
    const int fallback = boneIndex(skeleton, fallbackBone);
    std::vector<Transform> meshBones;
    meshBones.reserve(mesh.boneNames.size());
    for (const auto& name : mesh.boneNames) {
        int b = boneIndex(skeleton, name);
        if (b < 0) {
            if (unknownBones) unknownBones->push_back(name);
            b = fallback;
        }
        meshBones.push_back(b >= 0 && static_cast<std::size_t>(b) < world.size() ? world[static_cast<std::size_t>(b)] : Transform{});
    }

    PosedMesh out;
    const std::size_t real = mesh.realVertexCount();
    out.positions.resize(real);
    out.normals.resize(real);
    out.textureCoordinates.resize(real);
    for (std::size_t i = 0; i < real && i < mesh.textureCoordinates.size(); ++i)
        out.textureCoordinates[i] = mesh.textureCoordinates[i];
    // The reader has checked every index: bindings name bones and vertices that exist.
    for (const auto& binding : mesh.bindings) {
        const Transform& w = meshBones[static_cast<std::size_t>(binding.boneIndex)];
        for (std::int32_t k = 0; k < binding.realCount; ++k) {
            const auto v = static_cast<std::size_t>(binding.firstReal + k);
            out.positions[v] = w.apply(mesh.vertices[v].position);
            out.normals[v] = w.rotate(mesh.vertices[v].normal);
        }
    }
    for (const auto& binding : mesh.bindings) {
        const Transform& w = meshBones[static_cast<std::size_t>(binding.boneIndex)];
        for (std::int32_t k = 0; k < binding.blendCount; ++k) {
            const auto blend = static_cast<std::size_t>(binding.firstBlend + k);
            const BlendData& data = mesh.blends[blend];
            const MeshVertex& v = mesh.vertices[real + blend];
            const auto target = static_cast<std::size_t>(data.otherVertex);
            const float f = data.fraction();
            out.positions[target] = mixed(out.positions[target], w.apply(v.position), f);
            out.normals[target] = mixed(out.normals[target], w.rotate(v.normal), f);
        }
    }
    for (auto& n : out.normals) n = normalised(n);
    out.faces = mesh.faces;
    return out;
}

}  // namespace drapeline::figure

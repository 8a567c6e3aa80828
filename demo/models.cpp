#include "demo/models.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "testkit/mesh_builder.h"
#include "core/ascii.h"

namespace drapeline::demo {

namespace {

constexpr float Pi = std::numbers::pi_v<float>;

// Texture pieces in 128ths of the sheet, as demo/textures.cpp lays them out.
struct Piece {
    float x, y, w, h;
};
constexpr Piece Front{4, 4, 58, 58}, Back{66, 4, 58, 58}, LegLeft{4, 66, 28, 58}, LegRight{34, 66, 28, 58},
    SleeveLeft{66, 66, 18, 44}, SleeveRight{86, 66, 18, 44}, Shoes{106, 66, 18, 24}, Bare{106, 94, 18, 30};

TextureCoordinate on(const Piece& p, float u, float v) {
    // Half a texel inside the piece, so the seam drawn round it is not sampled.
    const float x = p.x + 1.5f + u * (p.w - 3.0f), y = p.y + 1.5f + v * (p.h - 3.0f);
    return {x / 128.0f, y / 128.0f};
}

// A mesh made of pieces, each carried by one bone, then laid out as the format wants:
// each bone's real vertices together, then the blend vertices, each bone's together.
class MeshMaker {
public:
    explicit MeshMaker(std::string name) { mesh_.name = std::move(name), mesh_.texture = "x"; }

    // Starts a piece on `bone`; vertices are in the bone's own space.
    void piece(const std::string& bone) {
        pieces_.push_back({boneIndex(bone), {}, {}, {}});
    }
    int vertex(Vector3 p, Vector3 n, TextureCoordinate uv) {
        auto& pc = pieces_.back();
        pc.vertices.push_back({p, n});
        pc.uvs.push_back(uv);
        return static_cast<int>(pc.vertices.size() - 1);
    }
    int next() const { return static_cast<int>(pieces_.back().vertices.size()); }
    void face(int a, int b, int c) { pieces_.back().faces.push_back({a, b, c}); }
    // Vertex `v` of the current piece is also pulled toward `bone` by `weight`, where it
    // stands at `p` in that bone's space.
    void blend(int v, const std::string& bone, Vector3 p, Vector3 n, float weight) {
        blends_.push_back({pieces_.size() - 1, v, boneIndex(bone), p, n, weight});
    }

    Mesh finish() {
        std::vector<int> base(pieces_.size());
        // Real vertices grouped by bone.
        for (std::size_t b = 0; b < mesh_.boneNames.size(); ++b) {
            BoneBinding binding;
            binding.boneIndex = static_cast<std::int32_t>(b);
            binding.firstReal = static_cast<std::int32_t>(mesh_.vertices.size());
            for (std::size_t i = 0; i < pieces_.size(); ++i) {
                if (pieces_[i].bone != static_cast<int>(b)) continue;
                base[i] = static_cast<int>(mesh_.vertices.size());
                mesh_.vertices.insert(mesh_.vertices.end(), pieces_[i].vertices.begin(), pieces_[i].vertices.end());
                mesh_.textureCoordinates.insert(mesh_.textureCoordinates.end(), pieces_[i].uvs.begin(), pieces_[i].uvs.end());
            }
            binding.realCount = static_cast<std::int32_t>(mesh_.vertices.size()) - binding.firstReal;
            mesh_.bindings.push_back(binding);
        }
        for (std::size_t i = 0; i < pieces_.size(); ++i)
            for (const Face& f : pieces_[i].faces) mesh_.faces.push_back({f.a + base[i], f.b + base[i], f.c + base[i]});
        std::vector<MeshVertex> blendVertices;
        for (std::size_t b = 0; b < mesh_.boneNames.size(); ++b) {
            BoneBinding& binding = mesh_.bindings[b];
            binding.firstBlend = static_cast<std::int32_t>(mesh_.blends.size());
            for (const auto& bl : blends_) {
                if (bl.bone != static_cast<int>(b)) continue;
                mesh_.blends.push_back({base[bl.piece] + bl.vertex, static_cast<std::int32_t>(std::lround(bl.weight * 32768))});
                blendVertices.push_back({bl.position, bl.normal});
            }
            binding.blendCount = static_cast<std::int32_t>(mesh_.blends.size()) - binding.firstBlend;
        }
        mesh_.vertices.insert(mesh_.vertices.end(), blendVertices.begin(), blendVertices.end());
        return std::move(mesh_);
    }

private:
    struct Part {
        int bone;
        std::vector<MeshVertex> vertices;
        std::vector<TextureCoordinate> uvs;
        std::vector<Face> faces;
    };
    struct Blend {
        std::size_t piece;
        int vertex;
        int bone;
        Vector3 position, normal;
        float weight;
    };
    int boneIndex(const std::string& name) {
        const auto it = std::find(mesh_.boneNames.begin(), mesh_.boneNames.end(), name);
        if (it != mesh_.boneNames.end()) return static_cast<int>(it - mesh_.boneNames.begin());
        mesh_.boneNames.push_back(name);
        return static_cast<int>(mesh_.boneNames.size() - 1);
    }

    Mesh mesh_;
    std::vector<Part> pieces_;
    std::vector<Blend> blends_;
};

// One ring of a tube: its height in the bone's space and its half widths.
struct Ring {
    float y, rx, rz;
    float z = 0;   // centre forward of the bone
};

Vector3 add(Vector3 a, Vector3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }

// A tube of rings around the bone's Y axis. Angle 0 faces +Z (front); +90 degrees is +X,
// the sim's right. `uOf` gives a ring point's column on the sheet, from its angle.
// Returns the index of each ring's first vertex.
template <class U>
std::vector<int> tube(MeshMaker& m, const std::vector<Ring>& rings, float from, float to, int steps,
                      const Piece& piece, U uOf) {
    std::vector<float> length(rings.size(), 0.0f);
    for (std::size_t i = 1; i < rings.size(); ++i) length[i] = length[i - 1] + std::abs(rings[i].y - rings[i - 1].y);
    const float total = std::max(length.back(), 1e-6f);
    std::vector<int> first;
    for (std::size_t i = 0; i < rings.size(); ++i) {
        first.push_back(-1);
        for (int s = 0; s <= steps; ++s) {
            const float a = (from + (to - from) * static_cast<float>(s) / static_cast<float>(steps)) * Pi / 180.0f;
            const Ring& r = rings[i];
            const Vector3 p{r.rx * std::sin(a), r.y, r.z + r.rz * std::cos(a)};
            Vector3 n{std::sin(a) / std::max(r.rx, 1e-4f), 0, std::cos(a) / std::max(r.rz, 1e-4f)};
            const float len = std::sqrt(n.x * n.x + n.z * n.z);
            n = {n.x / len, 0, n.z / len};
            const int v = m.vertex(p, n, on(piece, uOf(static_cast<float>(s) / static_cast<float>(steps)), length[i] / total));
            if (s == 0) first.back() = v;
        }
        if (i > 0)
            for (int s = 0; s < steps; ++s) {
                const int a = first[i - 1] + s, b = first[i] + s;
                m.face(a, b, a + 1);
                m.face(a + 1, b, b + 1);
            }
    }
    return first;
}

// Ties the last ring of a tube on `bone` to the bone above it, where the ring stands at
// `offset` more: blending changes nothing in the standing pose and shows the joint.
void joint(MeshMaker& m, int ringStart, int steps, const std::vector<Ring>& rings, const std::string& other,
           Vector3 offset, float from, float to, float weight) {
    const Ring& r = rings.front();
    for (int s = 0; s <= steps; ++s) {
        const float a = (from + (to - from) * static_cast<float>(s) / static_cast<float>(steps)) * Pi / 180.0f;
        const Vector3 p{r.rx * std::sin(a), r.y, r.z + r.rz * std::cos(a)};
        m.blend(ringStart + s, other, add(p, offset), {std::sin(a), 0, std::cos(a)}, weight);
    }
}

// A closed ellipsoid, texture wrapped round it with the front at the middle of `piece`.
void ellipsoid(MeshMaker& m, Vector3 centre, Vector3 radius, int across, int around, const Piece& piece,
               float uFrom = 0, float uTo = 1, float vFrom = 0, float vTo = 1) {
    const int first = m.next();
    for (int i = 0; i <= across; ++i) {
        const float t = Pi * static_cast<float>(i) / static_cast<float>(across);
        for (int j = 0; j <= around; ++j) {
            const float a = 2 * Pi * static_cast<float>(j) / static_cast<float>(around) - Pi;
            const Vector3 n{std::sin(t) * std::sin(a), std::cos(t), std::sin(t) * std::cos(a)};
            const Vector3 p{centre.x + radius.x * n.x, centre.y + radius.y * n.y, centre.z + radius.z * n.z};
            const float u = uFrom + (uTo - uFrom) * (1.0f - static_cast<float>(j) / static_cast<float>(around));
            const float v = vFrom + (vTo - vFrom) * static_cast<float>(i) / static_cast<float>(across);
            m.vertex(p, n, {(piece.x + u * piece.w) / 128.0f, (piece.y + v * piece.h) / 128.0f});
        }
    }
    const int row = around + 1;
    for (int i = 0; i < across; ++i)
        for (int j = 0; j < around; ++j) {
            const int a = first + i * row + j, b = a + row;
            m.face(a, b, a + 1);
            m.face(a + 1, b, b + 1);
        }
}

float scaleOf(bool child) { return child ? 0.62f : 1.0f; }

// The body's measures, before the child's scale.
struct Measures {
    float hips, waist, chest, shoulders, depth, limb;
};

Measures measuresFor(bool female, BodyShape shape) {
    Measures m{0.17f, 0.14f, 0.17f, 0.20f, 0.11f, 1.0f};
    if (female) m.hips *= 1.06f, m.waist *= 0.86f, m.shoulders *= 0.88f, m.limb = 0.88f;
    if (shape == BodyShape::Fat) m.hips *= 1.3f, m.waist *= 1.5f, m.chest *= 1.25f, m.depth *= 1.45f, m.limb *= 1.3f;
    if (shape == BodyShape::Skinny) m.hips *= 0.88f, m.waist *= 0.85f, m.chest *= 0.86f, m.depth *= 0.85f, m.limb *= 0.85f;
    return m;
}

}  // namespace

BodyShape bodyShapeOf(std::string_view modelName) {
    const std::string lower = ascii::lower(modelName);
    if (lower.find("fat") != std::string::npos) return BodyShape::Fat;
    if (lower.find("skn") != std::string::npos) return BodyShape::Skinny;
    return BodyShape::Fit;
}

Skeleton demoSkeleton(bool child) {
    const float k = scaleOf(child);
    const auto s = [k](float x, float y, float z) { return Vector3{x * k, y * k, z * k}; };
    // The arms hang a little away from the body: a turn about Z, the other way on each side.
    const float a = 10.0f * Pi / 360.0f;
    const Quaternion outRight{0, 0, std::sin(a), std::cos(a)}, outLeft{0, 0, -std::sin(a), std::cos(a)};
    Skeleton sk;
    sk.name = child ? "child" : "adult";
    using testkit::bone;
    sk.bones = {bone("ROOT", "NULL", {0, 0, 0}),
                bone("PELVIS", "ROOT", s(0, 0.95f, 0)),
                bone("SPINE", "PELVIS", s(0, 0.15f, 0)),
                bone("SPINE1", "SPINE", s(0, 0.18f, 0)),
                bone("NECK", "SPINE1", s(0, 0.19f, 0)),
                bone("HEAD", "NECK", child ? Vector3{0, 0.06f, 0} : s(0, 0.09f, 0))};
    for (const bool right : {true, false}) {
        const std::string side = right ? "R_" : "L_";
        const float x = right ? 1.0f : -1.0f;
        sk.bones.push_back(bone(side + "LEG", "PELVIS", s(0.09f * x, -0.05f, 0)));
        sk.bones.push_back(bone(side + "LEG1", side + "LEG", s(0, -0.42f, 0)));
        sk.bones.push_back(bone(side + "FOOT", side + "LEG1", s(0, -0.42f, 0)));
        sk.bones.push_back(bone(side + "ARM", "SPINE1", s(0.19f * x, 0.16f, 0), right ? outRight : outLeft));
        sk.bones.push_back(bone(side + "ARM1", side + "ARM", s(0, -0.29f, 0)));
        sk.bones.push_back(bone(side + "HAND", side + "ARM1", s(0, -0.26f, 0)));
    }
    return sk;
}

Mesh bodyMesh(const std::string& name, bool female, bool child, BodyShape shape) {
    const float k = scaleOf(child);
    const Measures ms = measuresFor(female && !child, shape);
    MeshMaker m(name);
    constexpr int Around = 12, HalfAround = 8;
    const auto r = [k](float y, float rx, float rz, float z = 0) { return Ring{y * k, rx * k, rz * k, z * k}; };

    // The trunk, front and back apart because they lie on separate pieces of the sheet:
    // PELVIS from the crotch to the waist, SPINE to the chest, SPINE1 to the shoulders.
    struct Span {
        const char* bone;
        std::vector<Ring> rings;
        float vFrom, vTo;
    };
    const float d = ms.depth;
    const std::vector<Span> trunk{
        {"SPINE1", {r(0.21f, 0.06f, 0.05f), r(0.2f, ms.shoulders * 0.55f, d * 0.7f), r(0.18f, ms.shoulders * 0.9f, d * 0.85f),
                    r(0.13f, ms.shoulders, d * 0.95f), r(0.0f, ms.chest, d * 1.05f)}, 0.0f, 0.45f},
        {"SPINE", {r(0.18f, ms.chest, d * 1.05f), r(0.0f, ms.waist, d * 0.95f)}, 0.45f, 0.75f},
        {"PELVIS", {r(0.15f, ms.waist, d * 0.95f), r(0.0f, ms.hips, d), r(-0.1f, ms.hips * 0.9f, d * 0.85f)}, 0.75f, 1.0f}};
    for (const bool front : {true, false}) {
        const Piece& piece = front ? Front : Back;
        const float from = front ? 90.0f : 90.0f, to = front ? -90.0f : 270.0f;
        for (std::size_t i = 0; i < trunk.size(); ++i) {
            const Span& span = trunk[i];
            m.piece(span.bone);
            const Piece part{piece.x, piece.y + piece.h * span.vFrom, piece.w, piece.h * (span.vTo - span.vFrom)};
            // Seen from behind, the sim's right side is on the viewer's right.
            const auto rings = tube(m, span.rings, from, to, HalfAround, part,
                                    [front](float t) { return front ? t : 1.0f - t; });
            if (i > 0) {
                // The top ring of SPINE and PELVIS stands where the bone above ends.
                const float up = i == 1 ? 0.18f * k : 0.15f * k;
                joint(m, rings.front(), HalfAround, span.rings, trunk[i - 1].bone, {0, -up, 0}, from, to, 0.5f);
            }
            if (i == trunk.size() - 1) {
                // Closes the trunk under the hips.
                const int centre = m.vertex({0, -0.1f * k, 0}, {0, -1, 0}, on(part, 0.5f, 1.0f));
                for (int s = 0; s < HalfAround; ++s) m.face(rings.back() + s, centre, rings.back() + s + 1);
            }
        }
    }

    // Legs: hip to knee on LEG, knee to ankle on LEG1; a shoe on FOOT. The sheet's left
    // leg is the one on the viewer's left: the sim's right.
    const float limb = ms.limb;
    for (const bool right : {true, false}) {
        const std::string side = right ? "R_" : "L_";
        const Piece& piece = right ? LegLeft : LegRight;
        const auto u = [](float t) { return t; };
        const float thigh = (female && !child ? 0.085f : 0.08f) * limb;
        m.piece(side + "LEG");
        const Piece upper{piece.x, piece.y, piece.w, piece.h * 0.5f};
        tube(m, {r(0.05f, thigh * 1.05f, thigh), r(-0.2f, thigh * 0.85f, thigh * 0.85f), r(-0.42f, 0.055f * limb, 0.055f * limb)},
             180, -180, Around, upper, u);
        m.piece(side + "LEG1");
        const Piece lower{piece.x, piece.y + piece.h * 0.5f, piece.w, piece.h * 0.5f};
        const std::vector<Ring> shin{r(0.0f, 0.055f * limb, 0.055f * limb), r(-0.2f, 0.05f * limb, 0.052f * limb), r(-0.4f, 0.038f, 0.04f)};
        const auto rings = tube(m, shin, 180, -180, Around, lower, u);
        joint(m, rings.front(), Around, shin, side + "LEG", {0, -0.42f * k, 0}, 180, -180, 0.5f);
        m.piece(side + "FOOT");
        ellipsoid(m, {0, -0.05f * k, 0.05f * k}, {0.045f * k, 0.04f * k, 0.11f * k}, 6, 10, Shoes);
    }

    // Arms: shoulder to elbow on ARM, elbow to wrist on ARM1.
    for (const bool right : {true, false}) {
        const std::string side = right ? "R_" : "L_";
        const Piece& piece = right ? SleeveLeft : SleeveRight;
        const auto u = [](float t) { return t; };
        const float w = 0.05f * limb;
        m.piece(side + "ARM");
        const Piece upper{piece.x, piece.y, piece.w, piece.h * 0.52f};
        tube(m, {r(0.03f, w * 0.9f, w * 0.9f), r(-0.02f, w * 1.1f, w), r(-0.29f, w * 0.8f, w * 0.8f)}, 180, -180, Around, upper, u);
        m.piece(side + "ARM1");
        const Piece lower{piece.x, piece.y + piece.h * 0.52f, piece.w, piece.h * 0.48f};
        const std::vector<Ring> fore{r(0.0f, w * 0.8f, w * 0.8f), r(-0.26f, 0.032f, 0.028f)};
        const auto rings = tube(m, fore, 180, -180, Around, lower, u);
        joint(m, rings.front(), Around, fore, side + "ARM", {0, -0.29f * k, 0}, 180, -180, 0.5f);
    }

    // The neck, bare skin.
    m.piece("NECK");
    tube(m, {r(0.1f, 0.045f, 0.05f), r(-0.02f, 0.055f, 0.055f)}, 180, -180, Around, Bare, [](float t) { return t; });
    return m.finish();
}

Mesh headMesh(const std::string& name, bool child) {
    MeshMaker m(name);
    m.piece("HEAD");
    const float k = child ? 0.8f : 1.0f;
    ellipsoid(m, {0, 0.11f * k, 0.01f * k}, {0.092f * k, 0.122f * k, 0.108f * k}, 12, 18, {0, 0, 128, 128});
    return m.finish();
}

Mesh handMesh(const std::string& name, bool child, bool left, HandShape shape) {
    MeshMaker m(name);
    m.piece(left ? "L_HAND" : "R_HAND");
    const float k = scaleOf(child) * 1.1f;
    // The palm of the hand sheet (demo/textures.cpp draws a child's hand smaller, lower).
    const float cu = 0.5f, cv = child ? 0.667f : 0.59f, half = child ? 0.05f : 0.06f;
    const Piece palm{(cu - half) * 128, (cv - half) * 128, 2 * half * 128, 2 * half * 128};
    const float x = left ? 0.008f : -0.008f;
    if (shape == HandShape::Open) {
        ellipsoid(m, {x * k, -0.075f * k, 0.005f * k}, {0.022f * k, 0.08f * k, 0.045f * k}, 6, 10, palm);
    } else {
        ellipsoid(m, {x * k, -0.05f * k, 0.01f * k}, {0.032f * k, 0.052f * k, 0.045f * k}, 6, 10, palm);
        if (shape == HandShape::Point)
            ellipsoid(m, {x * k, -0.075f * k, 0.07f * k}, {0.011f * k, 0.011f * k, 0.045f * k}, 4, 6, palm);
    }
    return m.finish();
}

Suit oneMeshSuit(const std::string& name, const std::string& bone, const std::string& mesh) {
    Suit suit;
    suit.name = name;
    suit.skins.push_back({bone, mesh, 0, {}});
    return suit;
}

Canvas drawHeadTexture(const Look& look, int size) {
    // The sheet wraps round the head: its middle column is the face, its edges the back
    // of the head; its top is the crown.
    Canvas c(size, size, look.skin);
    const double k = size / 64.0;
    const Rgb hair = look.hair;
    const auto fillRows = [&](double from, double to, double left, double right) {
        c.fillRect(static_cast<int>(left * k), static_cast<int>(from * k), static_cast<int>((right - left) * k),
                   static_cast<int>((to - from) * k), hair);
    };
    switch (look.hairStyle) {
    case HairStyle::Bald: fillRows(34, 42, 0, 14), fillRows(34, 42, 50, 64); break;
    case HairStyle::Crop:
    case HairStyle::Spiky:
    case HairStyle::Curly: fillRows(0, 20, 0, 64), fillRows(0, 40, 0, 18), fillRows(0, 40, 46, 64); break;
    case HairStyle::Long:
    case HairStyle::Pigtails: fillRows(0, 20, 0, 64), fillRows(0, 64, 0, 20), fillRows(0, 64, 44, 64); break;
    case HairStyle::Bob:
    case HairStyle::Ponytail:
    case HairStyle::Bun: fillRows(0, 20, 0, 64), fillRows(0, 50, 0, 19), fillRows(0, 50, 45, 64); break;
    }
    if (look.hairStyle != HairStyle::Bald) c.fillEllipse(32 * k, 18 * k, 14 * k, 5 * k, hair);
    const Rgb white{245, 245, 245};
    for (const double ex : {27.0, 37.0}) {
        c.fillEllipse(ex * k, 30 * k, 3.2 * k, 2.2 * k, white);
        c.fillEllipse(ex * k, 30 * k, 1.6 * k, 1.8 * k, look.eyes);
    }
    c.fillEllipse(32 * k, 36 * k, 1.5 * k, 2.5 * k, shade(look.skin, 0.85));
    c.fillEllipse(32 * k, 43 * k, 4.5 * k, 1.6 * k, look.lips);
    if (look.beard) c.fillEllipse(32 * k, 47 * k, 10 * k, 6 * k, hair);
    if (look.moustache) c.fillEllipse(32 * k, 40.5 * k, 5 * k, 1.3 * k, hair);
    if (look.glasses)
        for (const double ex : {27.0, 37.0}) c.line((ex - 4) * k, 28 * k, (ex + 4) * k, 28 * k, 1.0 * k, Rgb{30, 30, 30});
    return c;
}

}  // namespace drapeline::demo

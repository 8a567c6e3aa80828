#include "figure/renderer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace drapeline::figure {

void Camera::setYaw(float degrees) {
    if (!std::isfinite(degrees)) return;
    float y = std::fmod(degrees, 360.0f);
    if (y < 0) y += 360.0f;
    yaw_ = y >= 360.0f ? 0.0f : y;
}

void Camera::zoomBy(float factor) {
    if (!std::isfinite(factor) || factor <= 0) return;
    zoom_ = std::clamp(zoom_ * factor, MinZoom, MaxZoom);
}

namespace {

// A vertex on the screen: pixel position, 1/w for perspective-correct interpolation,
// texture coordinates divided by w, and its light.
struct ScreenVertex {
    float x, y, invW, uw, vw, light;
};

// Light from the viewer's upper left, a little from the front, with enough ambient light
// that the sides facing away still show their texture.
constexpr float Ambient = 0.42f, Diffuse = 0.62f;

struct View {
    float centreX, centreY, centreZ;
    float cosYaw, sinYaw;
    float distance, focal, halfW, halfH;
    float lightX, lightY, lightZ;

    // The game's data is left-handed: X is mirrored once here, so the sim's left side is
    // drawn on the viewer's right when it faces us.
    void toView(Vector3 p, float& x, float& y, float& z) const {
        const float px = -(p.x - centreX), py = p.y - centreY, pz = p.z - centreZ;
        x = cosYaw * px + sinYaw * pz;
        z = -sinYaw * px + cosYaw * pz;
        y = py;
    }
    float light(Vector3 n) const {
        const float nx = -n.x;
        const float vx = cosYaw * nx + sinYaw * n.z, vz = -sinYaw * nx + cosYaw * n.z;
        const float d = vx * lightX + n.y * lightY + vz * lightZ;
        return Ambient + Diffuse * std::max(0.0f, d);
    }
};

View viewFor(const DressedFigure& figure, const Camera& camera, int width, int height) {
    const Bounds& b = figure.bounds;
    View v{};
    v.centreX = (b.low.x + b.high.x) * 0.5f;
    v.centreY = (b.low.y + b.high.y) * 0.5f;
    v.centreZ = (b.low.z + b.high.z) * 0.5f;
    const float rad = camera.yaw() * std::numbers::pi_v<float> / 180.0f;
    v.cosYaw = std::cos(rad);
    v.sinYaw = std::sin(rad);
    // Framed by the figure's height and its reach around the upright axis, so turning it
    // never changes its size.
    const float h = std::max(b.high.y - b.low.y, 1e-3f);
    const float rx = std::max(b.high.x - b.low.x, b.high.z - b.low.z) * 0.75f;
    const float span = std::max(h, 2 * rx);
    v.distance = span * 3.0f;
    const float side = static_cast<float>(std::min(width, height));
    v.focal = 0.92f * side * (v.distance - rx) / span * camera.zoom();
    v.halfW = static_cast<float>(width) * 0.5f;
    v.halfH = static_cast<float>(height) * 0.5f;
    const float len = std::sqrt(0.35f * 0.35f + 0.45f * 0.45f + 0.82f * 0.82f);
    v.lightX = -0.35f / len, v.lightY = 0.45f / len, v.lightZ = 0.82f / len;
    return v;
}

float edge(const ScreenVertex& a, const ScreenVertex& b, float px, float py) {
    return (b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x);
}

class Rasterizer {
public:
    Rasterizer(RgbaImage& image, std::vector<float>& depth) : image_(image), depth_(depth) {}

    void triangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c, const RgbaImage* texture) {
        const float area = edge(a, b, c.x, c.y);
        if (!(std::abs(area) > 1e-8f)) return;
        const int w = image_.width, h = image_.height;
        const int x0 = pixel(std::min({a.x, b.x, c.x}), w), x1 = pixel(std::max({a.x, b.x, c.x}), w);
        const int y0 = pixel(std::min({a.y, b.y, c.y}), h), y1 = pixel(std::max({a.y, b.y, c.y}), h);
        if (x0 > x1 || y0 > y1) return;
        const float inv = 1.0f / area;
        // Edge values step by constants along a row; each row starts afresh from its own
        // exact value, so rounding never drifts across the picture.
        const float stepA = -(c.y - b.y) * inv, stepB = -(a.y - c.y) * inv, stepC = -(b.y - a.y) * inv;
        for (int y = y0; y <= y1; ++y) {
            const float py = static_cast<float>(y) + 0.5f, px = static_cast<float>(x0) + 0.5f;
            float la = edge(b, c, px, py) * inv, lb = edge(c, a, px, py) * inv, lc = edge(a, b, px, py) * inv;
            const std::size_t row = static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
            for (int x = x0; x <= x1; ++x, la += stepA, lb += stepB, lc += stepC) {
                if (la < 0 || lb < 0 || lc < 0) continue;
                const float invW = la * a.invW + lb * b.invW + lc * c.invW;
                const std::size_t at = row + static_cast<std::size_t>(x);
                if (!(invW > depth_[at])) continue;
                depth_[at] = invW;
                const float light = la * a.light + lb * b.light + lc * c.light;
                Rgba colour{150, 150, 150, 255};
                if (texture) {
                    const float u = (la * a.uw + lb * b.uw + lc * c.uw) / invW;
                    const float v = (la * a.vw + lb * b.vw + lc * c.vw) / invW;
                    colour = sample(*texture, u, v);
                }
                std::uint8_t* out = &image_.pixels[at * 4];
                out[0] = shade(colour.r, light);
                out[1] = shade(colour.g, light);
                out[2] = shade(colour.b, light);
                out[3] = 255;
            }
        }
    }

private:
    // A pixel column or row within [0, n - 1], from any float (a damaged mesh may give
    // NaN or numbers no int can hold; converting those would be undefined).
    static int pixel(float f, int n) {
        if (!(f > 0)) return 0;
        if (!(f < static_cast<float>(n - 1))) return n - 1;
        return static_cast<int>(f);
    }
    static Rgba sample(const RgbaImage& t, float u, float v) {
        return t.at(pixel(u * static_cast<float>(t.width), t.width), pixel(v * static_cast<float>(t.height), t.height));
    }
    static std::uint8_t shade(std::uint8_t c, float light) {
        const float v = static_cast<float>(c) * light + 0.5f;
        if (!(v > 0)) return 0;
        return v >= 255.0f ? 255 : static_cast<std::uint8_t>(v);
    }

    RgbaImage& image_;
    std::vector<float>& depth_;
};

}  // namespace

void Renderer::render(const DressedFigure& figure, const Camera& camera, int width, int height, RgbaImage& image,
                      Rgba background) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (image.width != width || image.height != height) image = RgbaImage(width, height);
    image.fill(background);
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    depth_.assign(count, 0.0f);
    if (count == 0 || figure.parts.empty()) return;

    const View view = viewFor(figure, camera, width, height);
    const float near = view.distance * 0.05f;
    Rasterizer raster(image, depth_);
    std::vector<ScreenVertex> screen;
    std::vector<char> visible;
    for (const auto& part : figure.parts) {
        const PosedMesh& m = part.mesh;
        screen.resize(m.positions.size());
        visible.resize(m.positions.size());
        for (std::size_t i = 0; i < m.positions.size(); ++i) {
            float x, y, z;
            view.toView(m.positions[i], x, y, z);
            const float w = view.distance - z;
            visible[i] = w > near;
            const float invW = visible[i] ? 1.0f / w : 0.0f;
            const TextureCoordinate uv = m.textureCoordinates[i];
            screen[i] = {view.halfW + x * view.focal * invW, view.halfH - y * view.focal * invW, invW,
                         uv.u * invW, uv.v * invW, view.light(m.normals[i])};
        }
        const RgbaImage* texture = part.texture.get();
        for (const Face& f : m.faces) {
            const auto a = static_cast<std::size_t>(f.a), b = static_cast<std::size_t>(f.b),
                       c = static_cast<std::size_t>(f.c);
            // Triangles reaching behind the camera are left out rather than clipped: at any
            // zoom the camera stays well outside the figure.
            if (!visible[a] || !visible[b] || !visible[c]) continue;
            raster.triangle(screen[a], screen[b], screen[c], texture);
        }
    }
}

RgbaImage Renderer::render(const DressedFigure& figure, const Camera& camera, int width, int height, Rgba background) {
    RgbaImage image;
    render(figure, camera, width, height, image, background);
    return image;
}

}  // namespace drapeline::figure

// The dressed preview on arbitrary bytes: the texture decoder, and any mesh the binary
// reader accepts posed on a skeleton and drawn. Neither may read outside what it holds,
// whatever the numbers (NaN and huge coordinates included).

#include <cstdint>
#include <cstdlib>

#include "core/bitmap_decoder.h"
#include "figure/renderer.h"
#include "testkit/mesh_builder.h"

using namespace drapeline;
using namespace drapeline::figure;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::shared_ptr<const RgbaImage> texture;
    if (auto image = decodeBitmap(bytes)) {
        if (image->pixels.size() != static_cast<std::size_t>(image->width) * static_cast<std::size_t>(image->height) * 4)
            std::abort();
        texture = std::make_shared<const RgbaImage>(std::move(*image));
    }
    try {
        const Mesh mesh = readMeshBinary(bytes);
        const Skeleton skeleton = testkit::sampleSkeleton();
        DressedFigure figure;
        figure.parts.push_back({poseMesh(mesh, skeleton, restPose(skeleton), "PELVIS"), texture});
        for (const auto& p : figure.parts.front().mesh.positions) {
            figure.bounds.low = {std::min(figure.bounds.low.x, p.x), std::min(figure.bounds.low.y, p.y),
                                 std::min(figure.bounds.low.z, p.z)};
            figure.bounds.high = {std::max(figure.bounds.high.x, p.x), std::max(figure.bounds.high.y, p.y),
                                  std::max(figure.bounds.high.z, p.z)};
        }
        (void)Renderer().render(figure, Camera(), 32, 32);
    } catch (const RuntimeError&) {
    }
    return 0;
}

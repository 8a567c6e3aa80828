// The dressed preview. One frame of the demo's most detailed sim at 400 x 400 beside its
// floor (clearing a 400 x 400 picture and copying it, as a window does with every frame),
// and a chooser page of 49 dressed thumbnails beside the flat page (49 textures decoded
// and scaled). Both pairs run in the same run; compare their medians.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>

#include "core/file_io.h"
#include "demo/demo_game.h"
#include "demo/roster.h"
#include "core/bitmap_decoder.h"
#include "figure/dressing.h"
#include "figure/renderer.h"
#include "platform/files.h"
#include "core/string_set.h"
#include "tests/support/temp_folder.h"
#include "wardrobe/sim_file.h"

using namespace drapeline;
using namespace drapeline::figure;

namespace {

constexpr int Frame = 400, Thumb = 96, PageSize = 49;

struct Setup {
    testkit::TempFolder folder;
    ModelLibrary library{folder.path()};
    DressedFigure richest;
    std::vector<ByteText> textures;   // 49 body textures, as read from disk

    Setup() {
        for (const auto& f : demo::buildDemoGame().files) folder.write(f.path, f.bytes);
        for (const auto& sim : demo::demoRoster()) {
            IffFile iff;
            if (!iff::readIffChecked(iff, folder / (sim.neighbourhood + "/Characters/" + sim.fileName)).empty() ||
                wardrobe::wardrobeProblem(iff))
                continue;
            const StringSet set = strings::decode(strings::findStringChunk(iff, WardrobeIdField, false)->data);
            const auto fields = wardrobe::readFields(iff, set);
            for (const auto kind : wardrobe::AllOutfits) {
                DressedFigure f = dress(library, dressRequest(fields, headEntry(set), kind, wardrobe::HandPose::Point));
                if (f.missing.empty() && f.triangles() > richest.triangles()) richest = std::move(f);
            }
        }
        const std::string skins = platform::resolvePath(folder.path(), "GameData/Skins");
        for (const auto& name : platform::listFolder(skins, "b*.bmp", platform::Listing::FilesOnly)) {
            ByteText bytes = readWholeFile(platform::joinPath(skins, name));
            if (decodeBitmap(bytes)) textures.push_back(std::move(bytes));
        }
        textures.resize(std::min<std::size_t>(textures.size(), PageSize));
        while (textures.size() < PageSize) textures.push_back(textures[textures.size() % 8]);
    }
};

Setup& setup() {
    static Setup made;
    return made;
}

void BM_FrameFloor(benchmark::State& state) {
    RgbaImage image(Frame, Frame), shown(Frame, Frame);
    for (auto _ : state) {
        image.fill({});
        std::memcpy(shown.pixels.data(), image.pixels.data(), image.pixels.size());
        benchmark::DoNotOptimize(shown.pixels.data());
    }
}
BENCHMARK(BM_FrameFloor)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_DressedFrame(benchmark::State& state) {
    Setup& s = setup();
    Renderer renderer;
    Camera camera;
    RgbaImage image, shown(Frame, Frame);
    for (auto _ : state) {
        camera.turn(7);   // a turning figure, as a drag draws it
        renderer.render(s.richest, camera, Frame, Frame, image);
        std::memcpy(shown.pixels.data(), image.pixels.data(), image.pixels.size());
        benchmark::DoNotOptimize(shown.pixels.data());
    }
    state.counters["triangles"] = static_cast<double>(s.richest.triangles());
}
BENCHMARK(BM_DressedFrame)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_FlatPage(benchmark::State& state) {
    Setup& s = setup();
    for (auto _ : state)
        for (const auto& bytes : s.textures) {
            const RgbaImage thumb = scaled(*decodeBitmap(bytes), Thumb, Thumb);
            benchmark::DoNotOptimize(thumb.pixels.data());
        }
}
BENCHMARK(BM_FlatPage)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_DressedPage(benchmark::State& state) {
    Setup& s = setup();
    Renderer renderer;
    Camera camera;
    DressedFigure figure = s.richest;
    RgbaImage thumb;
    for (auto _ : state)
        for (const auto& bytes : s.textures) {
            // The page's texture on the body; head and hands keep theirs.
            wearBodyTexture(figure, std::make_shared<const RgbaImage>(*decodeBitmap(bytes)));
            renderer.render(figure, camera, Thumb, Thumb, thumb);
            benchmark::DoNotOptimize(thumb.pixels.data());
        }
}
BENCHMARK(BM_DressedPage)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();

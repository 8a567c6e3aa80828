// Listing a model's textures with their test-loads (2,000 bitmaps of 256 x 256, 8 bits)
// against a baseline in the same run that lists the same files and decodes them one
// after another with the same loader. Both are measured in wall-clock time, since the
// search spreads its decoding over the cores.

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include "platform/files.h"
#include "platform/qt/qt_pictures.h"
#include "skins/skin_catalogue.h"
#include "testkit/fixture_sim.h"
#include "tests/support/temp_folder.h"

using namespace drapeline;

namespace {

constexpr int TextureCount = 2000;
constexpr char Model[] = "b001fafit_01";
constexpr char Code[] = "falgtfitB";
constexpr char Pattern[] = "b001fafitlgt_*.bmp";

struct Game {
    testkit::TempFolder folder;
    std::string skins;

    Game() {
        std::vector<testkit::Rgb> palette;
        for (int i = 0; i < 256; ++i)
            palette.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i * 3),
                               static_cast<std::uint8_t>(255 - i)});
        for (int n = 0; n < TextureCount; ++n) {
            const ByteText bmp = testkit::bitmap8(256, 256, palette, [n](int x, int y) {
                return static_cast<std::uint8_t>((x * 7 + y * 13 + n) & 0xFF);
            });
            folder.write("GameData/Skins/b001fafitlgt_" + std::to_string(10000 + n) + ".bmp", bmp);
        }
        skins = platform::resolvePath(folder.path(), "gamedata/skins");
    }
};

Game& game() {
    static Game g;
    return g;
}

void BM_Baseline_ListAndDecodeOneAfterAnother(benchmark::State& state) {
    const platform::QtPictureLoader loader;
    for (auto _ : state) {
        std::vector<platform::PicturePtr> pictures;
        for (const auto& name : platform::listFolder(game().skins, Pattern, platform::Listing::FilesOnly))
            pictures.push_back(loader.load(platform::joinPath(game().skins, name)));
        if (pictures.size() != TextureCount) state.SkipWithError("files missing");
        benchmark::DoNotOptimize(pictures.data());
    }
}

void BM_SkinFileNames(benchmark::State& state) {
    const platform::QtPictureLoader loader;
    for (auto _ : state) {
        auto found = skins::findTextures(game().folder.path(), Model, skins::SkinData{Code}, loader);
        if (found.files.size() != TextureCount || !found.bad.empty()) state.SkipWithError("not all loaded");
        benchmark::DoNotOptimize(found.files.data());
    }
}

BENCHMARK(BM_Baseline_ListAndDecodeOneAfterAnother)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_SkinFileNames)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

}  // namespace

int main(int argc, char** argv) {
    // The editor decodes inside a running application; do the same, without a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    game();   // write the files before anything is timed
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// Drawing one page of 49 thumbnails in the main window (read each character file, export
// its pictures, load the web image, paint its front view into the grid) against a
// baseline that reads the same 49 files and decodes their web images from memory.
// Also opening the edit window with the flat previews and with the outfit on the body.

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <benchmark/benchmark.h>

#include "shell/thumb_grid.h"
#include "app/widgets/shown_picture.h"
#include "core/file_io.h"
#include "core/iff_file.h"
#include "demo/demo_game.h"
#include "wardrobe/edit_sim_model.h"
#include "neighbourhood/sim_browser.h"
#include "platform/files.h"
#include "platform/qt/qt_pictures.h"
#include "tests/support/doubles.h"
#include "testkit/fixture_sim.h"
#include "tests/support/temp_folder.h"
#include "app/windows/frm_edit_sim.h"
#include "tests/windows/window_test_support.h"

using namespace drapeline;

namespace {

struct Page {
    testkit::TempFolder folder;
    std::vector<std::string> files;

    Page() {
        for (int i = 0; i < 49; ++i) {
            testkit::SimOptions sim;
            sim.seed = static_cast<std::uint32_t>(i + 1);
            sim.objectLabel = "user" + std::to_string(10000 + i);
            sim.webImage = {90, 60};
            sim.faces = {192, 48};
            sim.relImages = {240, 60};
            sim.otherChunks = 24 + i % 8;
            // Character files of a played sim run to 60-300 KB, mostly behaviour and tables.
            const ByteText bulk(60000 + static_cast<std::size_t>(i) * 4000, '\x5A');
            files.push_back(folder.write("Characters/User" + std::to_string(10000 + i) + ".iff",
                                         testkit::characterFile(sim).chunk("BHAV", 9000, bulk).build()));
        }
    }
};

Page& page() {
    static Page p;
    return p;
}

void paintFront(QImage& grid, const QImage& picture, int cell) {
    const shell::GridPoint at = shell::thumbgrid::cellOrigin(cell);
    QPainter painter(&grid);
    painter.drawImage(QPoint(at.x + 9, at.y), picture, QRect(0, 0, 45, picture.height()));
}

void BM_Baseline_ReadAndDecodeFromMemory(benchmark::State& state) {
    QImage grid(481, 481, QImage::Format_RGB32);
    for (auto _ : state) {
        int cell = 0;
        for (const auto& file : page().files) {
            const ByteText bytes = readWholeFile(file);
            IffFile iff;
            iff::parseChecked(iff, bytes);
            for (const auto& chunk : iff.chunks) {
                if (chunk.typeCode != "BMP_" || chunk.label.compare(0, 10, std::string("web_image\0", 10)) != 0)
                    continue;
                const QImage image = QImage::fromData(
                    reinterpret_cast<const uchar*>(chunk.data.data()), static_cast<int>(chunk.data.size()));
                paintFront(grid, image, cell);
            }
            ++cell;
        }
        benchmark::DoNotOptimize(grid.constBits());
    }
}

void BM_DrawPage(benchmark::State& state) {
    testkit::TempFolder programFolder;
    testkit::QtMachine machine(programFolder.path());
    platform::Services& services = machine.services;
    neighbourhood::SimBrowser browser(services);
    QImage grid(481, 481, QImage::Format_RGB32);
    for (auto _ : state) {
        int cell = 0;
        for (const auto& file : page().files) {
            const neighbourhood::Thumbnail thumb = browser.thumbnail(file);
            paintFront(grid, app::imageFor(thumb.picture), cell++);
        }
        // The page ends with the first sim in the preview.
        benchmark::DoNotOptimize(browser.preview(page().files.front(), "UserData"));
        benchmark::DoNotOptimize(grid.constBits());
    }
}

// Opening a sim of the demo game in the edit window's model: read, decode, fields, export
// of its pictures, and every picture and preview loaded from the skin folders.
void BM_OpenSimInEditWindow(benchmark::State& state) {
    static testkit::TempFolder game;
    static const bool made = (demo::createDemoGame(game.path()), true);
    benchmark::DoNotOptimize(made);
    testkit::TempFolder programFolder;
    testkit::QtMachine machine(programFolder.path());
    platform::Services& services = machine.services;
    const shell::GameSession session{game.path()};
    const std::string sim = platform::resolvePath(session.gameFolder(), "UserData/Characters/User00001.iff");
    for (auto _ : state) {
        wardrobe::EditSimModel model(services, session);
        benchmark::DoNotOptimize(model.open(sim));
    }
}

// Opening the edit window on a demo sim until its first page is painted, with the flat
// previews (0) and with the outfit on the body (1). The model library lives for the
// session, as in the editor, so its folders are indexed by the first opening only.
void BM_OpenEditWindow(benchmark::State& state) {
    static testkit::TempFolder game;
    static const bool made = (demo::createDemoGame(game.path()), true);
    benchmark::DoNotOptimize(made);
    testkit::TempFolder programFolder;
    testkit::QtMachine machine(programFolder.path());
    machine.settings.setValue("Preview On The Body", state.range(0) ? "1" : "0");
    const shell::GameSession session{game.path()};
    const std::string sim = platform::resolvePath(session.gameFolder(), "UserData/Characters/User00001.iff");
    for (auto _ : state) {
        auto editor = testkit::openEditor(machine, session, sim);
        editor->show();
        const QPixmap shown = editor->grab();
        benchmark::DoNotOptimize(shown.cacheKey());
    }
}

BENCHMARK(BM_Baseline_ReadAndDecodeFromMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenSimInEditWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenEditWindow)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

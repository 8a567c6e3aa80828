// A player's installation at scale: 50,000 files in the three skin folders (among them a
// model with 2,000 textures of 256 x 256 in 8 bits and one with 10,000 in 24 bits) and a
// neighbourhood of 600 sims, built with the demo game's builders (on tmpfs where there is
// one; the batch's durable writes run on disk, see DiskSims). Each measurement runs
// beside its floor in the same run; the ratios are printed at the end.
//
// The editor's peak memory is measured in child processes (a process's peak only grows):
// one opens the skin chooser and shows nothing (its floor), the others show a model and
// page through it.

#include <algorithm>
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include "audit/audit_rules.h"
#include "audit/batch.h"
#include "audit/overview_model.h"
#include "app/windows/frm_wardrobe_overview.h"
#include "ensembles/ensemble_file.h"
#include "shell/thumb_grid.h"
#include "app/widgets/shown_picture.h"
#include "core/file_io.h"
#include "core/iff_file.h"
#include "testkit/bitmap.h"
#include "demo/demo_game.h"
#include "demo/textures.h"
#include "neighbourhood/listing.h"
#include "neighbourhood/sim_browser.h"
#include "platform/files.h"
#include "app/windows/frm_select_skin.h"
#include "skins/skin_catalogue.h"
#include "tests/support/temp_folder.h"
#include "tests/windows/window_test_support.h"

using namespace drapeline;
namespace fs = std::filesystem;

namespace {

constexpr int SkinFileCount = 50000;
constexpr int SimCount = 600;
constexpr char Code[] = "falgtfitB";
constexpr char BigModel[] = "b900fafit_01";        // 2,000 textures, 8 bits
constexpr char HugeModel[] = "b901fafit_01";       // 10,000 textures, 24 bits
constexpr int BigCount = 2000;
constexpr int HugeCount = 10000;
constexpr std::array<const char*, 3> Folders{"GameData/Skins", "ExpansionPack3/SkinsBuy",
                                             "ExpansionShared/SkinsBuy"};

void writeBytes(const fs::path& path, const ByteText& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

ByteText texture(int size, bool eightBit, int variant) {
    const auto style = demo::outfitStyle(demo::Garment::Normal, true, false,
                                         "b9" + std::to_string(variant) + "fafit_01");
    const demo::Canvas picture = demo::drawOutfitTexture(style, demo::skinColour("lgt"), size);
    return eightBit ? demo::encode8(picture) : demo::encode24(picture);
}

struct Installation {
    testkit::TempFolder folder;
    std::string game;
    std::string userDataDir = "UserData";
    std::vector<std::string> sims;   // full paths, in listing order
    int skinFiles = 0;

    Installation() : game(folder.path()) {
        demo::createDemoGame(game);
        std::vector<fs::path> dirs;
        for (const char* f : Folders) dirs.emplace_back(platform::resolvePath(game, f));
        for (const auto& d : dirs) skinFiles += static_cast<int>(platform::listFolder(d.string(), "*", platform::Listing::FilesOnly).size());

        // The big model: distinct files, as a player's would be.
        writeBytes(dirs[0] / (std::string(BigModel) + ".cmx"), "mesh");
        const ByteText eight = texture(256, true, 0);
        for (int i = 0; i < BigCount; ++i) {
            ByteText bytes = eight;
            bytes[bytes.size() - 1] = static_cast<char>(i);   // not all the same file
            writeBytes(dirs[0] / ("b900fafitlgt_" + std::to_string(10000 + i) + ".bmp"), bytes);
        }
        // The huge one shares its pixels on disk (hard links): 2 GB of copies would only
        // test the machine's memory, not the editor's.
        writeBytes(dirs[0] / (std::string(HugeModel) + ".cmx"), "mesh");
        const fs::path first = dirs[0] / "b901fafitlgt_10000.bmp";
        writeBytes(first, texture(256, false, 1));
        for (int i = 1; i < HugeCount; ++i) {
            std::error_code ec;
            fs::create_hard_link(first, dirs[0] / ("b901fafitlgt_" + std::to_string(10000 + i) + ".bmp"), ec);
            if (ec) writeBytes(dirs[0] / ("b901fafitlgt_" + std::to_string(10000 + i) + ".bmp"), readWholeFile(first.string()));
        }
        skinFiles += 2 + BigCount + HugeCount;

        // Everything else: meshes of every letter, gender, age and body type, each with
        // a texture per skin tone, spread over the three folders; some expansion meshes
        // repeat a base mesh in capitals, as players' downloads do.
        const ByteText small = texture(32, true, 2);
        constexpr std::array<char, 6> letters{'B', 'F', 'L', 'S', 'N', 'W'};
        constexpr std::array<const char*, 7> kinds{"fafit", "fafat", "faskn", "mafit", "mafat", "maskn", "Cchd"};
        constexpr std::array<const char*, 3> tones{"lgt", "med", "drk"};
        for (int n = 0; skinFiles < SkinFileCount; ++n) {
            const int where = n % 3;
            const char letter = letters[static_cast<std::size_t>(n / 3) % letters.size()];
            const std::string kind = kinds[static_cast<std::size_t>(n / 18) % kinds.size()];
            char number[8];
            std::snprintf(number, sizeof number, "%03d", 100 + (n / 126) % 800);
            const std::string stem = std::string(1, letter) + number + kind;
            const std::string variant = "_" + std::to_string(n / (126 * 800) + 1);
            std::string mesh = stem + variant;
            if (where == 2 && n % 10 == 2) {
                mesh = stem.substr(0, 1) + number + kind + variant;
                for (auto& c : mesh) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            }
            writeBytes(dirs[static_cast<std::size_t>(where)] / (mesh + ".cmx"), "mesh");
            ++skinFiles;
            for (const char* tone : tones) {
                if (skinFiles >= SkinFileCount) break;
                writeBytes(dirs[static_cast<std::size_t>(where)] / (stem + tone + variant + ".bmp"), small);
                ++skinFiles;
            }
        }

        // 600 sims: the demo's first neighbourhood, each file copied under new numbers.
        const std::string characters = neighbourhood::characterFolder(game, userDataDir);
        const auto demoSims = platform::listFolder(characters, "user*.iff", platform::Listing::FilesOnly);
        std::size_t count = demoSims.size();
        for (std::size_t i = 0; count < SimCount; ++i, ++count)
            fs::copy_file(platform::joinPath(characters, demoSims[i % demoSims.size()]),
                          platform::joinPath(characters, "User" + std::to_string(20000 + i) + ".iff"));
        for (const auto& name : neighbourhood::listSimFiles(game, userDataDir))
            sims.push_back(platform::joinPath(characters, name));
    }
};

Installation* installation = nullptr;
Installation& inst() { return *installation; }

// --- Model search ------------------------------------------------------------------------

void BM_Floor_ListSkinFoldersOnce(benchmark::State& state) {
    for (auto _ : state) {
        std::size_t names = 0;
        for (const char* f : Folders)
            names += platform::listFolder(platform::resolvePath(inst().game, f), "*",
                                          platform::Listing::FilesOnly).size();
        benchmark::DoNotOptimize(names);
    }
}

void BM_ModelSearch(benchmark::State& state) {
    for (auto _ : state) {
        auto models = skins::findModels(inst().game, skins::SkinData{Code});
        if (models.empty()) state.SkipWithError("no models");
        benchmark::DoNotOptimize(models.data());
    }
}

// --- Texture search of the 2,000-texture model ------------------------------------------

// Every search must list the three folders for the model's textures and open each one.
void BM_Floor_ReadTextureHeaders(benchmark::State& state) {
    for (auto _ : state) {
        std::size_t read = 0;
        for (const char* folder : Folders) {
            const std::string path = platform::resolvePath(inst().game, folder);
            for (const auto& name : platform::listFolder(path, "b900fafitlgt_*.bmp", platform::Listing::FilesOnly)) {
                std::ifstream in(platform::joinPath(path, name), std::ios::binary);
                char head[1078];
                in.read(head, sizeof head);
                read += static_cast<std::size_t>(in.gcount());
            }
        }
        if (read == 0) state.SkipWithError("no files");
        benchmark::DoNotOptimize(read);
    }
}

void BM_TextureSearch(benchmark::State& state) {
    const platform::QtPictureLoader loader;
    for (auto _ : state) {
        auto found = skins::findTextures(inst().game, BigModel, skins::SkinData{Code}, loader);
        if (found.files.size() != BigCount || !found.bad.empty()) state.SkipWithError("not all loaded");
        benchmark::DoNotOptimize(found.files.data());
    }
}

// --- A page of the main window over 600 sims --------------------------------------------

constexpr std::size_t PageShown = 5;   // a page in the middle of the neighbourhood

void paintFront(QImage& grid, const QImage& picture, int cell) {
    const shell::GridPoint at = shell::thumbgrid::cellOrigin(cell);
    QPainter painter(&grid);
    painter.drawImage(QPoint(at.x + 9, at.y), picture, QRect(0, 0, 45, picture.height()));
}

std::vector<std::string> pageFiles() {
    const auto& all = inst().sims;
    const std::size_t first = PageShown * 49;
    return {all.begin() + static_cast<std::ptrdiff_t>(first),
            all.begin() + static_cast<std::ptrdiff_t>(std::min(first + 49, all.size()))};
}

void BM_Floor_ReadPageAndDecodeFromMemory(benchmark::State& state) {
    QImage grid(481, 481, QImage::Format_RGB32);
    const auto files = pageFiles();
    for (auto _ : state) {
        int cell = 0;
        for (const auto& file : files) {
            IffFile iff;
            if (iff::parseChecked(iff, readWholeFile(file)).empty())
                if (const IffChunk* web = neighbourhood::webImageChunk(iff))
                    paintFront(grid, QImage::fromData(reinterpret_cast<const uchar*>(web->data.data()),
                                                      static_cast<int>(web->data.size())), cell);
            ++cell;
        }
        benchmark::DoNotOptimize(grid.constBits());
    }
}

void BM_MainWindowPage(benchmark::State& state) {
    testkit::TempFolder programFolder;
    testkit::QtMachine machine(programFolder.path());
    neighbourhood::SimBrowser browser(machine.services);
    QImage grid(481, 481, QImage::Format_RGB32);
    const auto files = pageFiles();
    for (auto _ : state) {
        int cell = 0;
        for (const auto& file : files) {
            paintFront(grid, app::imageFor(browser.thumbnail(file).picture), cell);
            ++cell;
        }
        benchmark::DoNotOptimize(browser.preview(files.front(), inst().userDataDir));
        benchmark::DoNotOptimize(grid.constBits());
    }
}

// --- The Wardrobe Overview over the 600 sims ----------------------------------------------

// An audit can not do less than read every sim and list every skin folder once.
void BM_Floor_ReadSimsAndListSkinsOnce(benchmark::State& state) {
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (const char* f : Folders)
            bytes += platform::listFolder(platform::resolvePath(inst().game, f), "*", platform::Listing::FilesOnly).size();
        for (const auto& sim : inst().sims) bytes += readWholeFile(sim).size();
        benchmark::DoNotOptimize(bytes);
    }
}

void BM_Audit(benchmark::State& state) {
    for (auto _ : state) {
        const auto rows = audit::auditNeighbourhood(inst().game, inst().userDataDir);
        if (rows.size() != inst().sims.size()) state.SkipWithError("rows missing");
        benchmark::DoNotOptimize(rows.data());
    }
}

// From opening the window to its first rows drawn: the skin folders listed, the table
// built and one step of rows read and painted, the rest still loading.
void BM_OverviewFirstRows(benchmark::State& state) {
    testkit::TempFolder programFolder;
    testkit::QtMachine machine(programFolder.path());
    shell::GameSession session{inst().game};
    session.chooseNeighbourhood(inst().userDataDir, {});
    for (auto _ : state) {
        app::frmWardrobeOverview window(machine.services, session, [] { return false; }, nullptr);
        window.show();
        while (window.view().rowCount() == 0) QApplication::processEvents();
        window.grab();   // the rows painted, portraits and all
        if (!window.model().loading()) state.SkipWithError("the whole table loaded at once");
        state.PauseTiming();
        window.model().cancel();
        state.ResumeTiming();
    }
}

void clearFolder(const std::string& folder) {
    for (const auto& name : platform::listFolder(folder, "*", platform::Listing::FilesOnly))
        platform::removeFile(platform::joinPath(folder, name));
}

// The batch and its floor write durably, and on tmpfs a flush costs nothing: they run on a
// copy of the 600 sims in a folder on disk (/var/tmp, or DRAPELINE_DISK_TMPDIR), the
// program folder beside them, as a player's game and backups are.
struct DiskSims {
    std::unique_ptr<testkit::TempFolder> folder;
    std::string game, program;
    std::vector<std::string> sims;
    DiskSims() {
        const char* disk = std::getenv("DRAPELINE_DISK_TMPDIR");
        const char* tmpdir = std::getenv("TMPDIR");
        const std::string before = tmpdir ? tmpdir : "";
        setenv("TMPDIR", disk ? disk : "/var/tmp", 1);
        folder = std::make_unique<testkit::TempFolder>();
        if (tmpdir) setenv("TMPDIR", before.c_str(), 1);
        else unsetenv("TMPDIR");
        game = *folder / "game";
        program = *folder / "program";
        platform::createFolder(program);
        const std::string characters = neighbourhood::characterFolder(game, inst().userDataDir);
        platform::createFolder(characters);
        for (const auto& sim : inst().sims) {
            sims.push_back(platform::joinPath(characters, platform::fileNameOf(sim)));
            fs::copy_file(sim, sims.back());
        }
    }
};
DiskSims& disk() {
    static DiskSims sims;
    return sims;
}

// Each run starts with nothing waiting to be written: what the floor leaves to the system
// (its copies) would otherwise be written by the next run's flushes, and counted there.
void settle() { ::sync(); }

// A batch can not do less than read every file, copy it once and write it back durably.
void BM_Floor_ReadCopyWriteDurably(benchmark::State& state) {
    const std::string backups = disk().program + "/Backup";
    platform::createFolder(backups);
    settle();
    for (auto _ : state) {
        for (const auto& sim : disk().sims) {
            const ByteText bytes = readWholeFile(sim);
            platform::copyFile(sim, platform::joinPath(backups, platform::fileNameOf(sim)));
            platform::replaceFileAtomically(sim, bytes);
        }
        state.PauseTiming();
        clearFolder(backups);
        settle();
        state.ResumeTiming();
    }
}

// Two ensembles from two adults of the game, put on every sim in turn, so that each run
// changes every file.
void BM_Batch(benchmark::State& state) {
    testkit::TempFolder program;
    std::vector<std::string> ensembles;
    for (const auto& sim : inst().sims) {
        wardrobe::OpenedSim opened;
        if (wardrobe::openSim(sim, opened) || opened.bodyStrings.entries.size() != 34 ||
            opened.bodyStrings.entries[0].text != "adult")
            continue;
        const auto fields = wardrobe::readFields(opened.iff, opened.bodyStrings);
        ensembles.push_back(program.write("ENX/e" + std::to_string(ensembles.size()) + ".ENX", ensembles::ensembleText(fields)));
        if (ensembles.size() == 2) break;
    }
    std::vector<std::string> files;
    for (const auto& sim : disk().sims) files.push_back(platform::fileNameOf(sim));
    const platform::SystemClock clock;
    int turn = 0;
    settle();
    for (auto _ : state) {
        audit::BatchAction action{audit::BatchAction::LoadEnsemble, {}, ensembles.at(static_cast<std::size_t>(turn++ % 2))};
        const auto result = audit::runBatchChange({disk().game, inst().userDataDir, disk().program}, files, action, clock);
        // The game's sims are copies of sixty: the copies of the ensemble's own sim stay as they are.
        if (result.changed.size() * 10 < files.size() * 9) {
            state.SkipWithError("sims left unchanged");
            break;
        }
        state.PauseTiming();
        clearFolder(disk().program + "/Backup");
        settle();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_Floor_ReadSimsAndListSkinsOnce)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Audit)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OverviewFirstRows)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Floor_ReadCopyWriteDurably)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BM_Batch)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BM_Floor_ListSkinFoldersOnce)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ModelSearch)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Floor_ReadTextureHeaders)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TextureSearch)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Floor_ReadPageAndDecodeFromMemory)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MainWindowPage)->Unit(benchmark::kMillisecond)->UseRealTime();

// Keeps each run's time so that the ratios can be printed after the table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& run : runs)
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                times[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
    std::map<std::string, double> times;
};

// --- Peak memory of the editor, in a child process ---------------------------------------

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The child: open the chooser for a fair-skinned fit woman's normal outfit; with a model,
// choose it and page forward a few times, as a person browsing does.
// DRAPELINE_SHOW_SECONDS keeps the window on screen that long afterwards, for a look.
int chooserPeak(const std::string& game, const std::string& model, int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testkit::TempFolder programFolder;
    testkit::QtMachine machine(programFolder.path());
    const shell::GameSession session{game};
    app::frmSelectSkin window(machine.services, session, shell::SkinRequest{Code, false, {}, {}});
    // Browsed inside the window's own loop, as a person browses it, then closed.
    bool modelFound = true;
    QTimer::singleShot(0, &window, [&] {
        if (!model.empty()) {
            auto* list = testkit::child<QListWidget>(&window, "lstModels");
            const auto items = list->findItems(QString::fromStdString(model), Qt::MatchExactly);
            modelFound = !items.isEmpty();
            if (modelFound) {
                list->setCurrentItem(items.front());
                emit list->itemClicked(items.front());
                for (int i = 0; i < 5; ++i) testkit::child<QPushButton>(&window, "cmdNext")->click();
                QApplication::processEvents();
            }
        }
        std::printf("%ld\n", peakKilobytes());
        const int seconds = qEnvironmentVariableIntValue("DRAPELINE_SHOW_SECONDS");
        QTimer::singleShot(std::max(seconds, 0) * 1000, &window, [&window] { window.done(0); });
    });
    window.exec();
    return modelFound ? 0 : 2;
}

double childPeakMegabytes(const std::string& self, const std::string& model) {
    const std::string command = "'" + self + "' --chooser-peak '" + inst().game + "' '" + model + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    long kb = -1;
    if (pipe && std::fscanf(pipe.get(), "%ld", &kb) != 1) kb = -1;
    return static_cast<double>(kb) / 1024.0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::string(argv[1]) == "--chooser-peak") return chooserPeak(argv[2], argv[3], argc, argv);

    // tmpfs keeps the build of 50,000 files to seconds.
    if (fs::is_directory("/dev/shm") && !std::getenv("TMPDIR")) setenv("TMPDIR", "/dev/shm", 1);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Installation built;
    installation = &built;
    std::printf("skin files: %d, sims: %zu\n", built.skinFiles, built.sims.size());

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    auto ratio = [&](const char* work, const char* floor) {
        const auto w = reporter.times.find(work);
        const auto f = reporter.times.find(floor);
        if (w == reporter.times.end() || f == reporter.times.end() || f->second <= 0) return;
        std::printf("%-22s %9.2f ms against %9.2f ms: %.2f x\n", work + 3, w->second, f->second,
                    w->second / f->second);
    };
    ratio("BM_ModelSearch", "BM_Floor_ListSkinFoldersOnce");
    ratio("BM_TextureSearch", "BM_Floor_ReadTextureHeaders");
    ratio("BM_MainWindowPage", "BM_Floor_ReadPageAndDecodeFromMemory");
    ratio("BM_Audit", "BM_Floor_ReadSimsAndListSkinsOnce");
    ratio("BM_Batch", "BM_Floor_ReadCopyWriteDurably");

    const std::string self = fs::canonical("/proc/self/exe").string();
    const double nothing = childPeakMegabytes(self, "");
    const double big = childPeakMegabytes(self, BigModel);
    const double huge = childPeakMegabytes(self, HugeModel);
    std::printf("peak memory, chooser open on nothing:          %7.1f MB\n", nothing);
    std::printf("peak memory, after the 2,000-texture model:    %7.1f MB\n", big);
    std::printf("peak memory, after the 10,000 24-bit model:    %7.1f MB\n", huge);
    return 0;
}

// The fit-to-skinny repair over a neighbourhood of 1,000 character files of realistic
// size (60 to 300 KB: the builder's sim plus a bulk chunk; adult 34-entry wardrobes, one
// in five mismatched), against the least any repair can cost: reading each file whole
// and putting it back through the same durable atomic replace. The goal is at most 1.3
// times that, with memory bounded by one file plus a constant.
//
// The repair writes only the files it changes (one in five), so every pass starts from
// the mismatched neighbourhood again; putting the mismatched files back is not timed.
// The same pass with backups ("Create Backup File") is measured against the pass
// without: backups may cost at most one extra copy of each changed file, which is timed
// on its own as "copy_ms".

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "core/iff_file.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "testkit/fixture_sim.h"
#include "tests/support/temp_folder.h"
#include "tools/neighbourhood_tools.h"

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#define DRAPELINE_COUNT_HEAP 1
#endif

using namespace drapeline;

// ---- Heap accounting: live bytes and their high-water mark --------------------------

#ifdef DRAPELINE_COUNT_HEAP
namespace {
std::size_t liveBytes = 0;
std::size_t peakBytes = 0;

void* counted(std::size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (!p) throw std::bad_alloc();
    liveBytes += malloc_usable_size(p);
    if (liveBytes > peakBytes) peakBytes = liveBytes;
    return p;
}

void uncounted(void* p) noexcept {
    if (!p) return;
    liveBytes -= malloc_usable_size(p);
    std::free(p);
}
}  // namespace

void* operator new(std::size_t size) { return counted(size); }
void* operator new[](std::size_t size) { return counted(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return counted(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { uncounted(p); }
void operator delete[](void* p) noexcept { uncounted(p); }
void operator delete(void* p, std::size_t) noexcept { uncounted(p); }
void operator delete[](void* p, std::size_t) noexcept { uncounted(p); }
#endif

namespace {

constexpr int FileCount = 1000;

std::vector<std::string> adultWardrobe(int i) {
    std::vector<std::string> texts = testkit::adultFemaleBodyStrings();
    if (i % 5 == 0) texts[30] = "f100fafat_original,BODY=f100fafatlgt_original";
    if (i % 10 == 0) texts[32] = "l100faskn_original,BODY=l100fasknlgt_original";
    return texts;
}

struct Neighbourhood {
    testkit::TempFolder game;
    testkit::TempFolder program;
    testkit::TempFolder scratch;
    std::string characters;
    std::vector<std::string> files;
    std::vector<std::string> paths;
    std::vector<std::pair<std::string, ByteText>> mismatched;   // path and bytes as built
    std::size_t totalBytes = 0, largestFile = 0;

    Neighbourhood() {
        characters = game.makeFolder("UserData/Characters");
        for (int i = 0; i < FileCount; ++i) {
            const std::size_t target = 60 * 1024 + static_cast<std::size_t>(i * 7919) % (240 * 1024);
            testkit::SimOptions sim;
            sim.seed = static_cast<std::uint32_t>(i + 1);
            sim.bodyStrings = adultWardrobe(i);
            auto builder = testkit::characterFile(sim);
            const std::size_t base = builder.build().size();
            if (target > base + 76) {
                ByteText bulk(target - base - 76, '\0');
                for (std::size_t k = 0; k < bulk.size(); ++k)
                    bulk[k] = static_cast<char>((k * 2654435761u + static_cast<std::size_t>(i)) >> 13);
                builder.chunk("BHAV", 9000, std::move(bulk), "bulk");
            }
            // As the writer stores it, so that only the repair's own changes alter a file.
            IffFile iff;
            if (!iff::parseChecked(iff, builder.build()).empty()) std::abort();
            const ByteText bytes = iff::serialise(iff);
            totalBytes += bytes.size();
            largestFile = std::max(largestFile, bytes.size());
            files.push_back("User" + std::to_string(10000 + i) + ".iff");
            paths.push_back(game.write("UserData/Characters/" + files.back(), bytes));
            if (i % 5 == 0) mismatched.emplace_back(paths.back(), bytes);
        }
    }

    // Untimed: the mismatches back in place, durably, and no backups from earlier passes.
    void mismatch() const {
        for (const auto& [path, bytes] : mismatched) platform::replaceFileAtomically(path, bytes);
        std::filesystem::remove_all(program / "Backup");
    }
};

void baselinePass(const Neighbourhood& n) {
    for (const auto& path : n.paths) platform::replaceFileAtomically(path, platform::readFile(path));
}

Neighbourhood& neighbourhood() {
    static Neighbourhood n;
    static const bool settled = [] {
        // The files were written without flushing; one pass makes them durable, so the
        // timed passes do not pay for writing back what the set-up left behind.
        baselinePass(n);
        return true;
    }();
    (void)settled;
    return n;
}

const platform::SystemClock systemClock;

void repairWith(const Neighbourhood& n, const platform::Clock* backupClock) {
    const auto report =
        tools::fixFitToSkinny(n.characters, n.files, n.program.path(), {.backupClock = backupClock});
    if (report.rewritten.size() != n.mismatched.size() ||
        report.backups.size() != (backupClock ? n.mismatched.size() : 0)) {
        std::fprintf(stderr, "rewritten %zu, backups %zu, skipped %zu\n", report.rewritten.size(),
                     report.backups.size(), report.skipped.size());
        std::abort();
    }
}

void repairPass(const Neighbourhood& n) { repairWith(n, nullptr); }
void repairWithBackupsPass(const Neighbourhood& n) { repairWith(n, &systemClock); }

// The least a backup of each changed file can cost: copying it once, plainly, and copying
// it so that it is on disk (as the durable replacement that follows a backup makes it).
void copyPass(const Neighbourhood& n) {
    for (const auto& [path, bytes] : n.mismatched)
        std::filesystem::copy_file(path, n.scratch / platform::fileNameOf(path),
                                   std::filesystem::copy_options::overwrite_existing);
}

void durableCopyPass(const Neighbourhood& n) {
    for (const auto& [path, bytes] : n.mismatched)
        platform::replaceFileAtomically(n.scratch / platform::fileNameOf(path), platform::readFile(path));
}

double secondsOf(void (*pass)(const Neighbourhood&), const Neighbourhood& n) {
    const auto start = std::chrono::steady_clock::now();
    pass(n);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Both passes in every iteration, taking turns at going first, so that both see the same
// machine load and neither always follows the other; "ratio" is ours over the baseline.
void BM_FixFitAgainstBaseline(benchmark::State& state) {
    const auto& n = neighbourhood();
    double base = 0, ours = 0;
    bool baselineFirst = true;
    for (auto _ : state) {
        if (baselineFirst) base += secondsOf(baselinePass, n);
        n.mismatch();
        ours += secondsOf(repairPass, n);
        if (!baselineFirst) base += secondsOf(baselinePass, n);
        baselineFirst = !baselineFirst;
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["baseline_ms"] = base * 1000 / runs;
    state.counters["ours_ms"] = ours * 1000 / runs;
    state.counters["ratio"] = ours / base;
    state.counters["avgKB"] = static_cast<double>(n.totalBytes) / FileCount / 1024;
}

// The same repair with and without backups, taking turns at going first; "ratio" is with
// over without, and "extra_per_copy" / "extra_per_durable_copy" the added time over the
// time of one plain / one durable copy of each changed file. The durable replacement
// that follows each backup flushes the journal, which puts the fresh backup on disk too,
// so a durable copy is the fair measure: at most about 1 is the goal.
void BM_FixFitWithBackups(benchmark::State& state) {
    const auto& n = neighbourhood();
    double without = 0, with = 0, copies = 0, durableCopies = 0;
    bool withoutFirst = true;
    for (auto _ : state) {
        n.mismatch();
        copies += secondsOf(copyPass, n);
        durableCopies += secondsOf(durableCopyPass, n);
        if (withoutFirst) {
            without += secondsOf(repairPass, n);
            n.mismatch();
        }
        with += secondsOf(repairWithBackupsPass, n);
        if (!withoutFirst) {
            n.mismatch();
            without += secondsOf(repairPass, n);
        }
        withoutFirst = !withoutFirst;
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["without_ms"] = without * 1000 / runs;
    state.counters["with_backups_ms"] = with * 1000 / runs;
    state.counters["copy_ms"] = copies * 1000 / runs;
    state.counters["ratio"] = with / without;
    state.counters["durable_copy_ms"] = durableCopies * 1000 / runs;
    state.counters["extra_per_copy"] = (with - without) / copies;
    state.counters["extra_per_durable_copy"] = (with - without) / durableCopies;
    state.counters["changed_files"] = static_cast<double>(n.mismatched.size());
}

#ifdef DRAPELINE_COUNT_HEAP
// Peak memory of one repair pass beyond what was held before it, as the heap's
// high-water mark and as the growth of the peak resident size of a child process that
// runs only the pass. Both should stay near a small multiple of the largest file and
// must not grow with the number of files.
void BM_FixFitPeakMemory(benchmark::State& state) {
    const auto& n = neighbourhood();
    double heapGrowth = 0, rssGrowthKB = 0;
    for (auto _ : state) {
        n.mismatch();
        const std::size_t before = liveBytes;
        peakBytes = liveBytes;
        repairPass(n);
        n.mismatch();
        heapGrowth = static_cast<double>(peakBytes - before);

        int pipeEnds[2];
        if (::pipe(pipeEnds) != 0) std::abort();
        const pid_t child = ::fork();
        if (child == 0) {
            rusage usage{};
            ::getrusage(RUSAGE_SELF, &usage);
            const long start = usage.ru_maxrss;
            repairPass(n);
            ::getrusage(RUSAGE_SELF, &usage);
            const long growth = usage.ru_maxrss - start;
            if (::write(pipeEnds[1], &growth, sizeof growth) != sizeof growth) ::_exit(1);
            ::_exit(0);
        }
        long growth = -1;
        if (::read(pipeEnds[0], &growth, sizeof growth) != sizeof growth) growth = -1;
        ::waitpid(child, nullptr, 0);
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        rssGrowthKB = static_cast<double>(growth);
    }
    state.counters["largest_file_KB"] = static_cast<double>(n.largestFile) / 1024;
    state.counters["peak_heap_growth_KB"] = heapGrowth / 1024;
    state.counters["heap_per_largest_file"] = heapGrowth / static_cast<double>(n.largestFile);
    state.counters["child_maxrss_growth_KB"] = rssGrowthKB;
}
#endif

}  // namespace

BENCHMARK(BM_FixFitAgainstBaseline)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_FixFitWithBackups)->Unit(benchmark::kMillisecond)->Iterations(10);
#ifdef DRAPELINE_COUNT_HEAP
BENCHMARK(BM_FixFitPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
#endif

BENCHMARK_MAIN();

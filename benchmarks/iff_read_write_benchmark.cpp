// Checked read plus write of 1,000 character files of realistic shape (60 to 300 KB,
// about 30 chunks, three pictures, a map), against reading each file whole and writing
// it whole: the least any read-and-save can cost. The goal is at most 1.5 times that.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>

#include "core/file_io.h"
#include "core/iff_file.h"
#include "testkit/fixture_sim.h"
#include "tests/support/temp_folder.h"
#include "platform/files.h"

using namespace drapeline;

namespace {

constexpr int FileCount = 1000;

struct Neighbourhood {
    testkit::TempFolder folder;
    std::vector<std::string> inputs;
    std::string output;
    std::size_t totalBytes = 0;

    Neighbourhood() {
        output = folder / "usertemp.iff";
        for (int i = 0; i < FileCount; ++i) {
            // Spread the sizes over 60..300 KB; the pictures make up most of a file.
            const int target = 60 * 1024 + (i * 7919) % (240 * 1024);
            const int pictures = target - 16 * 1024;
            testkit::SimOptions sim;
            sim.seed = static_cast<std::uint32_t>(i + 1);
            sim.otherChunks = 24;
            const auto side = [](int area) { return std::max(4, static_cast<int>(std::sqrt(area))); };
            sim.webImage = {side(pictures / 2 / 3), side(pictures / 2 / 3)};
            sim.faces = {side(pictures * 3 / 10), side(pictures * 3 / 10)};
            sim.relImages = {side(pictures / 5), side(pictures / 5)};
            const ByteText bytes = testkit::characterFile(sim).build();
            totalBytes += bytes.size();
            inputs.push_back(folder.write("user" + std::to_string(10000 + i) + ".iff", bytes));
        }
    }
};

Neighbourhood& neighbourhood() {
    static Neighbourhood n;
    return n;
}

void baselinePass(const Neighbourhood& n) {
    for (const auto& path : n.inputs) {
        const ByteText bytes = readWholeFile(path);
        platform::writeFile(n.output, bytes);
    }
}

void drapelinePass(const Neighbourhood& n) {
    IffFile iff;
    for (const auto& path : n.inputs) {
        if (!iff::readIffChecked(iff, path).empty()) std::abort();
        platform::writeFile(n.output, iff::serialise(iff));
    }
}

void setBytes(benchmark::State& state) {
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(neighbourhood().totalBytes));
    state.counters["files"] = FileCount;
    state.counters["avgKB"] = static_cast<double>(neighbourhood().totalBytes) / FileCount / 1024;
}

void BM_BaselineReadWriteWhole(benchmark::State& state) {
    const auto& n = neighbourhood();
    for (auto _ : state) baselinePass(n);
    setBytes(state);
}

void BM_CheckedReadAndWrite(benchmark::State& state) {
    const auto& n = neighbourhood();
    for (auto _ : state) drapelinePass(n);
    setBytes(state);
}

// Both passes alternately in every iteration, so that both see the same machine load;
// the counter "ratio" is ours over the baseline.
void BM_RatioToBaseline(benchmark::State& state) {
    const auto& n = neighbourhood();
    double base = 0, ours = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        baselinePass(n);
        const auto t1 = std::chrono::steady_clock::now();
        drapelinePass(n);
        const auto t2 = std::chrono::steady_clock::now();
        base += std::chrono::duration<double>(t1 - t0).count();
        ours += std::chrono::duration<double>(t2 - t1).count();
    }
    state.counters["baseline_ms"] = base * 1000 / static_cast<double>(state.iterations());
    state.counters["ours_ms"] = ours * 1000 / static_cast<double>(state.iterations());
    state.counters["ratio"] = ours / base;
}

}  // namespace

BENCHMARK(BM_BaselineReadWriteWhole)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_CheckedReadAndWrite)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_RatioToBaseline)->Unit(benchmark::kMillisecond)->MinTime(4.0);

BENCHMARK_MAIN();

// The file work on the largest file the reader accepts, and the duplicate pass
// and row commands at that size.
#include "bench/BenchFiles.h"
#include "tests/support/Doubles.h"

#include "core/Duplicates.h"
#include "core/ListRows.h"
#include "core/PgpReader.h"
#include "core/PgpWriter.h"

#include <benchmark/benchmark.h>

namespace {

using nm::test::Harness;
using nm::test::TempDir;

struct LargestOnDisk {
    TempDir dir;
    std::string path = dir.Write("largest.pgp", nm::bench::LargestFile());
};

void BM_ReadLargest(benchmark::State& state) {
    LargestOnDisk file;
    for (auto _ : state) {
        Harness h;
        nm::ReadPgpFile(h.main, file.path, false);
        benchmark::DoNotOptimize(h.main.AliasUpper);
    }
}
BENCHMARK(BM_ReadLargest)->Unit(benchmark::kMillisecond);

// The whole of `pgptool normalize`: read, rows, duplicate pass, the file text.
void BM_NormalizeLargest(benchmark::State& state) {
    LargestOnDisk file;
    for (auto _ : state) {
        Harness h;
        nm::ReadPgpFile(h.main, file.path, false);
        nm::FillListRows(h.main, false);
        benchmark::DoNotOptimize(nm::PgpFileText(h.main, false).size());
    }
}
BENCHMARK(BM_NormalizeLargest)->Unit(benchmark::kMillisecond);

// The duplicate pass alone on n aliases of one name: with one command (every
// row but the last removed) or with n commands (every row but the last marked).
void DuplicatePass(benchmark::State& state, bool sameCommand) {
    const auto n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto h = std::make_unique<Harness>();
        for (int i = 0; i < n; ++i)
            h->main.Lists[nm::AliasList].Append(
                "A", {sameCommand ? "C" : "C" + std::to_string(i), {}, {}});
        state.ResumeTiming();
        nm::ResolveDuplicates(h->main, nm::AliasList, false);
        benchmark::DoNotOptimize(h->main.Lists[nm::AliasList].Count());
        state.PauseTiming();
        h.reset();
        state.ResumeTiming();
    }
    state.SetComplexityN(n);
}
void BM_DuplicatesOneCommand(benchmark::State& state) {
    DuplicatePass(state, true);
}
void BM_DuplicatesManyCommands(benchmark::State& state) {
    DuplicatePass(state, false);
}
BENCHMARK(BM_DuplicatesOneCommand)->Arg(8191)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DuplicatesManyCommands)->Arg(8191)->Arg(32767)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

// The file work on the largest file the reader accepts, the duplicate pass
// and row commands at that size, and undo and redo on that document with
// the memory each step of its history holds.
#include "bench/BenchFiles.h"
#include "tests/support/Doubles.h"

#include "core/Document.h"
#include "core/Duplicates.h"
#include "core/Entries.h"
#include "core/History.h"
#include "core/ListRows.h"
#include "core/PgpReader.h"
#include "core/PgpWriter.h"
#include "host/Memory.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include <malloc.h> // the benchmarks run on Linux: glibc's malloc_usable_size

// The heap this program holds is counted by its own operator new and delete
// while `counting` is on: each block allocated adds its usable size, each
// block freed takes it away again (the allocator's rounding is in, its
// bookkeeping beside the block is not). Off, they cost a test of a flag.
namespace {
std::atomic<bool> counting{false};
std::atomic<long long> counted{0};
} // namespace

void* operator new(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr)
        throw std::bad_alloc();
    if (counting.load(std::memory_order_relaxed))
        counted.fetch_add(static_cast<long long>(malloc_usable_size(block)),
                          std::memory_order_relaxed);
    return block;
}
void operator delete(void* block) noexcept {
    if (block != nullptr && counting.load(std::memory_order_relaxed))
        counted.fetch_sub(static_cast<long long>(malloc_usable_size(block)),
                          std::memory_order_relaxed);
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    ::operator delete(block);
}

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

// The largest file, loaded at start-up with the confirm option off: a removal
// and an import ask nothing.
struct LargestLoaded {
    nm::test::LoadedDocument doc{nm::bench::LargestFile()};
    nm::Main& main = doc.h.main;
    LargestLoaded() { doc.h.view.confirm = false; }
};

// The last step done, looked at without changing the document: the history
// goes back one step and forward again, and the rows stay as they are.
const nm::UndoStep& LastStep(nm::History& history) {
    const nm::UndoStep& step = history.Undo();
    history.Redo();
    return step;
}

std::size_t RowsTouched(const nm::UndoStep& step) {
    return step.pages[0].size() + step.pages[1].size();
}

// The heap a step holds: what a copy of it allocates, counted by the operator
// new above, and the step's own place in the history. A step copies the rows
// it records the same way (each text as long as it is), so the copy holds
// what the step holds.
double HeldBytes(const nm::UndoStep& step) {
    counted = 0;
    counting = true;
    {
        const nm::UndoStep copy = step;
        benchmark::DoNotOptimize(&copy);
        counting = false;
    }
    return static_cast<double>(counted.load()) + static_cast<double>(sizeof(nm::UndoStep));
}

void StepCounters(benchmark::State& state, const nm::UndoStep& step) {
    const double rows = static_cast<double>(RowsTouched(step));
    const double bytes = HeldBytes(step);
    state.counters["rows_touched"] = rows;
    state.counters["step_bytes"] = bytes;
    state.counters["bytes_per_row"] = rows > 0 ? bytes / rows : 0;
}

// One row removed from the middle of the alias list as the user removes it
// (one step); then Edit > Undo brings it back and Edit > Redo removes it
// again. Each is timed alone, the other half of the round untimed.
void UndoRedoOneRemoval(benchmark::State& state, bool undo) {
    LargestLoaded l;
    const nm::EntryTable& table = l.main.Lists[nm::AliasList];
    nm::StartRemove(l.main, nm::AliasList, table.At(table.Count() / 2).key);
    StepCounters(state, LastStep(l.main.history));
    for (auto _ : state) {
        if (undo) {
            nm::UndoLastStep(l.main);
            state.PauseTiming();
            nm::RedoNextStep(l.main);
            state.ResumeTiming();
        } else {
            state.PauseTiming();
            nm::UndoLastStep(l.main);
            state.ResumeTiming();
            nm::RedoNextStep(l.main);
        }
    }
    state.counters["rows"] = static_cast<double>(table.Count());
}
BENCHMARK_CAPTURE(UndoRedoOneRemoval, Undo, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(UndoRedoOneRemoval, Redo, false)->Unit(benchmark::kMillisecond);

// One alias added through the Add dialog on the largest file (timed), and the
// heap its step holds; the addition is undone, untimed, before the next.
void BM_AddStep(benchmark::State& state) {
    LargestLoaded l;
    nm::test::EntryScript script;
    for (auto _ : state) {
        script.steps = {nm::EntryFields{"NEW", "LINE", {}, {}}};
        nm::AddCommand(l.main, nm::AliasList, script.Dialog());
        state.PauseTiming();
        StepCounters(state, LastStep(l.main.history));
        nm::UndoLastStep(l.main);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AddStep)->Unit(benchmark::kMillisecond);

// An import of a file of n new aliases into the largest file (timed), and the
// heap its step holds: the rows it added, not the document's. The import is
// undone, untimed, before the next.
void BM_ImportStep(benchmark::State& state) {
    LargestLoaded l;
    std::string text;
    for (int i = 0; i < state.range(0); ++i)
        text += "IMPORTED" + std::to_string(i) + ",  *LINE\r\n";
    const std::string path = l.doc.dir.Write("imported.pgp", text);
    for (auto _ : state) {
        nm::OpenNamedFile(l.main, path, true);
        state.PauseTiming();
        StepCounters(state, LastStep(l.main.history));
        nm::UndoLastStep(l.main);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportStep)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    nm::KeepFreedMemory(); // as the programs do when they start
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

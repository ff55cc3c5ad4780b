// The editor at the limit, offscreen and in process: filling and painting the
// lists, a column click, one row command on 32767 rows, and start-up.
#include "bench/BenchFiles.h"
#include "tests/ui/UiHarness.h"

#include "core/Document.h"
#include "core/Entries.h"
#include "core/ListRows.h"
#include "core/PgpReader.h"
#include "host/WineRegistry.h"

#include <QApplication>
#include <QHeaderView>

#include <benchmark/benchmark.h>

namespace {

using nm::test::Editor;

// The editor holding the largest file.
struct Largest {
    Editor e{nm::bench::LargestFile()};
    Largest() { e.Load(); }
};

void BM_FillInListViewAndPaint(benchmark::State& state) {
    Largest l;
    for (auto _ : state) {
        nm::FillInListView(l.e.M(), false);
        l.e.List(nm::AliasList)->viewport()->repaint();
    }
    state.counters["rows"] = static_cast<double>(l.e.M().Lists[nm::AliasList].Count());
}
BENCHMARK(BM_FillInListViewAndPaint)->Unit(benchmark::kMillisecond);

void BM_ColumnClick(benchmark::State& state) {
    Largest l;
    int column = 0;
    for (auto _ : state) {
        column = 1 - column;
        l.e.ClickColumn(nm::AliasList, column);
    }
}
BENCHMARK(BM_ColumnClick)->Unit(benchmark::kMillisecond);

void BM_AddFindRemove(benchmark::State& state) {
    Largest l;
    int i = 0;
    for (auto _ : state) {
        const std::string name = "NEW" + std::to_string(i++);
        nm::AddEntryFromDialog(l.e.M(), nm::AliasList, {name, "LINE", {}, {}});
        const auto found = nm::FindEntry(l.e.M(), nm::AliasList, name);
        const int key = l.e.M().Lists[nm::AliasList].At(*found).key;
        nm::RemoveListItem(l.e.M(), nm::AliasList, key);
    }
    state.counters["rows"] = static_cast<double>(l.e.M().Lists[nm::AliasList].Count());
}
BENCHMARK(BM_AddFindRemove)->Unit(benchmark::kMicrosecond);

void BM_FindEntry(benchmark::State& state) {
    Largest l;
    for (auto _ : state)
        benchmark::DoNotOptimize(nm::FindEntry(l.e.M(), nm::AliasList, "ZZZ-not-there"));
}
BENCHMARK(BM_FindEntry)->Unit(benchmark::kMicrosecond);

// From nothing to the loaded window on the sample host profile.
void BM_StartUpOnSampleHost(benchmark::State& state) {
    const std::string sample =
        std::filesystem::canonical(nm::test::DataPath("../../examples/sample-host"));
    for (auto _ : state) {
        nm::test::ScriptedPrompter prompter;
        nm::test::ScriptedFileDialogs dialogs;
        nm::test::ScriptedHostLink host;
        nm::test::FixedClock clock;
        nm::test::MemorySettingsStore settings;
        nm::test::RecordingPrinter printer;
        nm::test::RecordingHelp help;
        nm::SystemFileSystem files;
        nm::WineRegistry registry(files, sample);
        nm::frmAlias window(nm::EditorServices{
            prompter, dialogs, host, clock, files, settings, printer, help,
            nm::HostContext{prompter, registry, nm::ProgramFolder(), sample + "/dosdevices"},
            [] {}});
        window.Form_Load();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.State().Lists[nm::AliasList].Count());
    }
}
BENCHMARK(BM_StartUpOnSampleHost)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// The editor at the limit, offscreen and in process: filling and painting the
// lists, a column click, one row command on 32767 rows, the filter above the
// alias list, and start-up.
#include "bench/BenchFiles.h"
#include "host/Memory.h"
#include "tests/ui/UiHarness.h"

#include "core/Document.h"
#include "core/Entries.h"
#include "core/ListRows.h"
#include "core/PgpReader.h"
#include "host/WineRegistry.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

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
        // The rows are made once after each read: read again, untimed.
        state.PauseTiming();
        nm::ReadPgpFile(l.e.M(), l.e.M().CurrentFile, false);
        state.ResumeTiming();
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

// The alias list's filter field on the largest file, and what the user sees
// of a key pressed in it: the list filtered and painted, and whatever the
// key left waiting in the event queue done.
struct Filtering : Largest {
    QLineEdit* field = e.Get<QLineEdit>("txtFilter_0");
    QTreeView* list = e.List(nm::AliasList);

    void Shown() {
        list->viewport()->repaint();
        QApplication::processEvents();
    }
    void Key(Qt::Key key) {
        QTest::keyClick(field, key);
        Shown();
    }
    void Set(const QString& text) {
        field->setText(text);
        Shown();
    }
};

// One keystroke: "2" typed after "A1" (the rows of A12.. out of those of
// A1..), or erased again (the other way round). Only the keystroke named is
// timed; the one that undoes it is not.
void FilterKeystroke(benchmark::State& state, bool typed) {
    Filtering f;
    f.Set("A1");
    for (auto _ : state) {
        if (!typed) {
            state.PauseTiming();
            f.Key(Qt::Key_2);
            state.ResumeTiming();
        }
        f.Key(typed ? Qt::Key_2 : Qt::Key_Backspace);
        if (typed) {
            state.PauseTiming();
            state.counters["shown"] = static_cast<double>(f.list->model()->rowCount());
            f.Key(Qt::Key_Backspace);
            state.ResumeTiming();
        }
    }
    state.counters["rows"] = static_cast<double>(f.e.M().Lists[nm::AliasList].Count());
}
BENCHMARK_CAPTURE(FilterKeystroke, TypeOneCharacter, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FilterKeystroke, EraseOneCharacter, false)->Unit(benchmark::kMillisecond);

// Esc in the filter field holding "A12": every row shown again (timed), then
// "A12" typed back (untimed).
void BM_FilterClear(benchmark::State& state) {
    Filtering f;
    for (auto _ : state) {
        state.PauseTiming();
        f.Set("A12");
        state.ResumeTiming();
        f.Key(Qt::Key_Escape);
    }
    state.counters["shown"] = static_cast<double>(f.list->model()->rowCount());
}
BENCHMARK(BM_FilterClear)->Unit(benchmark::kMillisecond);

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
    nm::KeepFreedMemory(); // as the editor does when it starts
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

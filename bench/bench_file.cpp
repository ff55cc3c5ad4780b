// The file work on the largest file the reader accepts: 32767 entry lines.
#include "ListRows.h"
#include "Main.h"
#include "Merge.h"
#include "PgpReader.h"
#include "PgpWriter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

class SilentPrompter final : public nm::Prompter {
public:
    nm::Answer Show(const nm::MessageBox&) override { return nm::Answer::OK; }
    void Beep() override {}
    void SetBusy(bool) override {}
};

class NoDialogs final : public nm::FileDialogs {
public:
    std::optional<std::string> ShowOpen(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::string ShowSave(const std::string&, const std::string&) override { return {}; }
    void ShowPrinterSetup() override {}
    std::string FileTitle() const override { return {}; }
};

class FixedClock final : public nm::Clock {
public:
    std::tm Now() const override { return std::tm{}; }
};

class NoHost final : public nm::HostLink {
public:
    void RequestReinit() override {}
};

// About 2000 shell commands and the rest aliases, a third of which repeat an
// earlier name.
std::string LargestFile() {
    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += "SH" + std::to_string(i) + ", START PROGRAM" + std::to_string(i) + ", 1,*Prompt " +
                std::to_string(i) + ",\r\n";
    for (int i = 0; i < 32767 - 2000; ++i) {
        const int name = i % 3 == 2 ? i - 1 : i;
        text += "A" + std::to_string(name) + ",  *COMMAND" + std::to_string(i % 500) + "\r\n";
    }
    return text;
}

struct Fixture {
    SilentPrompter prompter;
    NoDialogs dialogs;
    FixedClock clock;
    NoHost host;
    nm::QuietView view{false};
    std::string path;

    Fixture() {
        path = (std::filesystem::temp_directory_path() / "nm-bench-largest.pgp").string();
        std::ofstream(path, std::ios::binary) << LargestFile();
    }
    ~Fixture() { std::remove(path.c_str()); }
    nm::Services Services() { return {prompter, dialogs, host, clock, view}; }
};

void BM_ReadLargest(benchmark::State& state) {
    Fixture fixture;
    for (auto _ : state) {
        nm::Main main(fixture.Services());
        nm::ReadPgpFile(main, fixture.path, false);
        benchmark::DoNotOptimize(main.AliasUpper);
    }
}
BENCHMARK(BM_ReadLargest)->Unit(benchmark::kMillisecond);

void BM_NormalizeLargest(benchmark::State& state) {
    Fixture fixture;
    for (auto _ : state) {
        nm::Main main(fixture.Services());
        nm::ReadPgpFile(main, fixture.path, false);
        nm::FillListRows(main, false);
        nm::BuildSections(main);
        benchmark::DoNotOptimize(main.AliasSectionText.size());
    }
}
BENCHMARK(BM_NormalizeLargest)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

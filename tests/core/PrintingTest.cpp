// Printing both lists: pages, headers, page numbers and copies, recorded on a
// printer double.
#include "tests/core/Boxes.h"

#include "core/Printing.h"
#include "host/RuntimeError.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace nm;
using namespace nm::test;

namespace {

class RecordingProgress final : public PrintProgress {
public:
    std::string shown;
    std::vector<std::string> pages;
    bool visible = false;
    void Show(const std::string& printing) override {
        shown = printing;
        visible = true;
    }
    void SetPage(const std::string& page) override { pages.push_back(page); }
    void Hide() override { visible = false; }
};

void Fill(Main& main, int aliases, int shells) {
    for (int i = 0; i < aliases; ++i)
        main.Lists[AliasList].Append("A" + std::to_string(1000 + i), {"CMD", {}, {}});
    for (int i = 0; i < shells; ++i)
        main.Lists[ShellList].Append("S" + std::to_string(i), {"RUN", "1", "P"});
}

const std::string Indent(20, ' ');

// The printer's calls, one a line.
std::string Calls(const RecordingPrinter& printer) {
    std::string out;
    for (const std::string& call : printer.calls)
        out += call + "\n";
    return out;
}

TEST(Printing, PagesAndPageNumbers) {
    // A name; aliases, shell commands and copies; the page numbers of the
    // headers; the page breaks and the rows printed.
    using Case = std::tuple<std::string, int, int, int, std::vector<int>, std::size_t, std::size_t>;
    const std::vector<Case> cases = {
        {"61 aliases", 61, 0, 1, {1, 2}, 2, 61}, {"exactly 60 aliases", 60, 5, 1, {1, 2, 3}, 2, 65},
        {"10 and 5", 10, 5, 1, {1, 2}, 1, 15},   {"none and 5", 0, 5, 1, {2}, 1, 5},
        {"both empty", 0, 0, 1, {}, 1, 0},       {"two copies", 10, 5, 2, {1, 2, 1, 2}, 2, 30}};
    for (const auto& [name, aliases, shells, copies, pages, newPages, rows] : cases) {
        SCOPED_TRACE(name);
        Harness h;
        Fill(h.main, aliases, shells);
        RecordingPrinter printer;
        printer.copies = copies;
        RecordingProgress progress;
        PrintLists(h.main, printer, progress);
        EXPECT_EQ(printer.Pages(), pages);
        EXPECT_EQ(std::tuple(printer.Count("P"), printer.Count("E")),
                  std::tuple(newPages, static_cast<std::size_t>(copies)));
        const auto isRow = [](const std::string& call) {
            return call.find("CMD") != std::string::npos || call.find("RUN") != std::string::npos;
        };
        EXPECT_EQ(std::count_if(printer.calls.begin(), printer.calls.end(), isRow),
                  static_cast<std::ptrdiff_t>(rows));
        EXPECT_TRUE(!progress.visible && h.prompter.shown.empty());
    }
}

TEST(Printing, HeaderAndRowsExactly) {
    Harness h;
    h.main.CurrentFileTitle = "Unnamed";
    h.main.Lists[AliasList].Append(std::string(20, 'N'), {"TWENTY", {}, {}});
    h.main.Lists[AliasList].Append(std::string(21, 'N'), {"LONGER", {}, {}});
    h.main.Lists[AliasList].Append("CP", {"COPY", {}, {}});
    RecordingPrinter printer;
    RecordingProgress progress;
    PrintLists(h.main, printer, progress);
    const std::string l = "L:" + Indent, rule = l + std::string(60, '-') + "\n";
    EXPECT_EQ(Calls(printer), "S10\nB+\n" + l + "Vectrom 命令热键" + std::string(11, ' ') +
                                  ", 页    1\n" + l + "文件名:" + std::string(16, ' ') +
                                  "\nB-\nL:\nL:\n" + rule + "L:\nB+\n" + l + "Keyboard 热键" +
                                  std::string(9, ' ') + "Vectrom 命令" + std::string(5, ' ') +
                                  "\nB-\n" + rule + "L:\nL:\n" + l + std::string(20, 'N') +
                                  "TWENTY\n" + l + std::string(21, 'N') + " LONGER\n" + l + "CP" +
                                  std::string(18, ' ') + "COPY\nP\nE\nF\n");
    EXPECT_EQ(progress.shown, "打印" + std::string(7, ' ') + "Unnamed...");
    EXPECT_EQ(progress.pages, (std::vector<std::string>{"", "页    1"}));
}

TEST(Printing, RetryStartsANewRunAndGivingUpEnds) {
    const std::string failed = "一个内部磁盘错误发生.";
    for (const Answer answer : {Answer::Retry, Answer::Cancel}) {
        const bool retry = answer == Answer::Retry;
        SCOPED_TRACE(retry);
        Harness h;
        Fill(h.main, 3, 0);
        RecordingPrinter printer;
        printer.failLineOnce = 0; // the first line of the first header
        RecordingProgress progress;
        h.prompter.answers = {answer};
        PrintLists(h.main, printer, progress);
        EXPECT_EQ(h.prompter.Texts(),
                  (retry ? Rows{failed} : Rows{failed, "一个不可修复的错误发生. 数据不能被导出."}));
        // The interrupted run is dropped; a retry prints the whole document anew.
        EXPECT_EQ(std::tuple(printer.Pages().size(), printer.Count("A"), printer.Count("F")),
                  std::tuple(retry ? 1u : 0u, 1u, retry ? 1u : 0u));
        EXPECT_FALSE(progress.visible);
    }
}

} // namespace

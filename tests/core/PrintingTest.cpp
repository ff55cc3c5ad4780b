// Printing both lists: pages, page numbers, columns and copies, recorded on a
// printer double.
#include "tests/core/Boxes.h"

#include "core/Printing.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace nm;
using namespace nm::test;

namespace {

class RecordingProgress final : public PrintProgress {
public:
    bool visible = false;
    void Show(const std::string&) override { visible = true; }
    void SetPage(const std::string&) override {}
    void Hide() override { visible = false; }
};

void Fill(Main& main, int aliases, int shells) {
    for (int i = 0; i < aliases; ++i)
        main.Lists[AliasList].Append("A" + std::to_string(1000 + i), {"CMD", {}, {}});
    for (int i = 0; i < shells; ++i)
        main.Lists[ShellList].Append("S" + std::to_string(i), {"RUN", "1", "P"});
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

// The column headings, and the rows: a name fills 20 columns, and a longer
// one is followed by a blank. (The page header and the file's name are checked
// on a real page by the window's printer test.)
TEST(Printing, ColumnsOfTheRows) {
    Harness h;
    h.main.Lists[AliasList].Append(std::string(20, 'N'), {"TWENTY", {}, {}});
    h.main.Lists[AliasList].Append(std::string(21, 'N'), {"LONGER", {}, {}});
    h.main.Lists[AliasList].Append("CP", {"COPY", {}, {}});
    RecordingPrinter printer;
    RecordingProgress progress;
    PrintLists(h.main, printer, progress);
    const std::string l = "L:" + std::string(20, ' ');
    for (const std::string& line :
         {l + "Keyboard 热键" + std::string(9, ' ') + "Vectrom 命令" + std::string(5, ' '),
          l + std::string(20, 'N') + "TWENTY", l + std::string(21, 'N') + " LONGER",
          l + "CP" + std::string(18, ' ') + "COPY"})
        EXPECT_EQ(printer.Count(line), 1u) << line;
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

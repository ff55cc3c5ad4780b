// Printing both lists: pages, headers, page numbers and copies, recorded on a
// printer double.
#include "tests/support/Doubles.h"

#include "core/Printing.h"
#include "host/RuntimeError.h"

#include <gtest/gtest.h>

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

TEST(Printing, PagesAndPageNumbers) {
    struct Case {
        std::string name;
        int aliases, shells, copies;
        std::vector<int> pages;     // the page numbers of the headers
        std::size_t newPages, rows; // page breaks, printed rows
    };
    const std::vector<Case> cases = {
        {"61 aliases", 61, 0, 1, {1, 2}, 2, 61}, {"exactly 60 aliases", 60, 5, 1, {1, 2, 3}, 2, 65},
        {"10 and 5", 10, 5, 1, {1, 2}, 1, 15},   {"none and 5", 0, 5, 1, {2}, 1, 5},
        {"both empty", 0, 0, 1, {}, 1, 0},       {"two copies", 10, 5, 2, {1, 2, 1, 2}, 2, 30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        Fill(h.main, c.aliases, c.shells);
        RecordingPrinter printer;
        printer.copies = c.copies;
        RecordingProgress progress;
        PrintLists(h.main, printer, progress);
        EXPECT_EQ(printer.Pages(), c.pages);
        EXPECT_EQ(printer.Count("P"), c.newPages);
        EXPECT_EQ(printer.Count("E"), static_cast<std::size_t>(c.copies));
        EXPECT_EQ(std::count_if(printer.calls.begin(), printer.calls.end(),
                                [](const std::string& call) {
                                    return call.find("CMD") != std::string::npos ||
                                           call.find("RUN") != std::string::npos;
                                }),
                  static_cast<std::ptrdiff_t>(c.rows));
        EXPECT_FALSE(progress.visible);
        EXPECT_TRUE(h.prompter.shown.empty());
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
    const std::string rule(60, '-');
    const std::vector<std::string> expected = {
        "S10",
        "B+",
        "L:" + Indent + "Vectrom 命令热键" + std::string(11, ' ') + ", 页    1",
        "L:" + Indent + "文件名:" + std::string(16, ' '),
        "B-",
        "L:",
        "L:",
        "L:" + Indent + rule,
        "L:",
        "B+",
        "L:" + Indent + "Keyboard 热键" + std::string(9, ' ') + "Vectrom 命令" +
            std::string(5, ' '),
        "B-",
        "L:" + Indent + rule,
        "L:",
        "L:",
        "L:" + Indent + std::string(20, 'N') + "TWENTY",
        "L:" + Indent + std::string(21, 'N') + " LONGER",
        "L:" + Indent + "CP" + std::string(18, ' ') + "COPY",
        "P",
        "E",
        "F"};
    EXPECT_EQ(printer.calls, expected);
    EXPECT_EQ(progress.shown, "打印" + std::string(7, ' ') + "Unnamed...");
    EXPECT_EQ(progress.pages, (std::vector<std::string>{"", "页    1"}));
}

TEST(Printing, RetryStartsANewRunAndGivingUpEnds) {
    struct Case {
        Answer answer;
        std::size_t headers; // page-1 headers printed
        bool finished;
        std::string message;
    };
    const std::vector<Case> cases = {
        {Answer::Retry, 1, true, ""},
        {Answer::Cancel, 0, false, "一个不可修复的错误发生. 数据不能被导出."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        Harness h;
        Fill(h.main, 3, 0);
        RecordingPrinter printer;
        printer.failLineOnce = 0; // the first line of the first header
        RecordingProgress progress;
        h.prompter.answers = {c.answer};
        PrintLists(h.main, printer, progress);
        EXPECT_EQ(h.prompter.shown.at(0).text, "一个内部磁盘错误发生.");
        EXPECT_EQ(printer.Pages().size(), c.headers);
        EXPECT_EQ(printer.Count("A"), 1u); // the interrupted run is dropped
        EXPECT_EQ(printer.Count("F"), c.finished ? 1u : 0u);
        if (!c.message.empty()) {
            EXPECT_EQ(h.prompter.shown.back().text, c.message);
        }
        EXPECT_FALSE(progress.visible);
    }
}

} // namespace

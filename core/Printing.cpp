#include "core/Printing.h"

#include "host/ErrorHandler.h"
#include "host/Utf8.h"

#include <vector>

namespace nm {

namespace {

const std::string Indent = Blanks(20);
const std::string Rule = std::string(60, '-') + "\r\n";

struct ListTexts {
    std::string title, first, second;
};

const ListTexts Texts[2] = {
    {"Vectrom 命令热键" + Blanks(11), "Keyboard 热键" + Blanks(3), "Vectrom 命令" + Blanks(5)},
    {"Shell 命令热键" + Blanks(11), "Keyboard 热键" + Blanks(3), "Shell 命令" + Blanks(5)},
};

// The gap that puts the second column 20 characters after the first; a
// longer first text keeps one blank before the second.
std::string Gap(std::string_view first) {
    const std::size_t length = CharCount(first);
    return length < 20 ? Blanks(20 - length) : length == 20 ? std::string() : " ";
}

std::string PageText(int page) {
    return "页" + Blanks(4) + std::to_string(page);
}

// The printer's work for one run, as steps, so that a failing step can be run
// again or passed over as the user decides.
class PrintRun {
public:
    PrintRun(Main& main, PrinterDevice& printer, PrintProgress& progress)
        : main_(main), printer_(printer), progress_(progress) {}

    std::vector<Step> Build() {
        Add([this] { printer_.SetFontSize(10); });
        const int copies = printer_.Copies();
        for (int copy = 1; copy <= copies; ++copy) {
            int page = 1;
            Add([this, page] { progress_.SetPage(PageText(page)); });
            for (int list = 0; list < 2; ++list) {
                page += list;
                const EntryTable& table = main_.Lists[static_cast<std::size_t>(list)];
                if (!table.Empty()) {
                    Header(list, page);
                    for (std::size_t i = 1; i <= table.Count(); ++i) {
                        const Row& row = table.At(i - 1);
                        Line(Indent + row.text + Gap(row.text) + row.sub[0]);
                        if (i % RowsPerPage == 0) {
                            Add([this, page] { progress_.SetPage(PageText(page)); });
                            Add([this] { printer_.NewPage(); });
                            ++page;
                            Header(list, page);
                        }
                    }
                }
                if (list == 0)
                    Add([this] { printer_.NewPage(); });
            }
            Add([this] { printer_.EndDocument(); });
        }
        Add([this] { printer_.Finish(); });
        return std::move(steps_);
    }

private:
    void Add(Step step) { steps_.push_back(std::move(step)); }
    void Bold(bool on) {
        Add([this, on] { printer_.SetBold(on); });
    }
    void Line(std::string text) {
        Add([this, text = std::move(text)] { printer_.PrintLine(text); });
    }
    void Header(int list, int page) {
        const ListTexts& texts = Texts[list];
        Bold(true);
        Line(Indent + texts.title + ", 页" + Blanks(4) + std::to_string(page));
        Line(Indent + "文件名:" + Blanks(5) + Blanks(11) + main_.CurrentFile);
        Bold(false);
        Line("");
        Line("");
        Line(Indent + Rule);
        Bold(true);
        Line(Indent + texts.first + Gap(texts.first) + texts.second);
        Bold(false);
        Line(Indent + Rule);
        Line("");
    }

    Main& main_;
    PrinterDevice& printer_;
    PrintProgress& progress_;
    std::vector<Step> steps_;
};

} // namespace

void PrintLists(Main& main, PrinterDevice& printer, PrintProgress& progress) {
    Prompter& prompter = main.svc.prompter;
    progress.Show("打印" + Blanks(7) + main.CurrentFileTitle + "...");
    progress.SetPage({});
    PrintRun run(main, printer, progress);
    const std::vector<Step> steps = run.Build();
    // A retry starts a new run: the interrupted one is dropped, not finished,
    // so that no page comes out twice.
    std::vector<Step> withRestart;
    withRestart.reserve(steps.size() + 1);
    bool started = false;
    withRestart.push_back([&] {
        if (started)
            printer.Abandon();
        started = true;
    });
    withRestart.insert(withRestart.end(), steps.begin(), steps.end());
    ReactionTable table;
    table.byCode[Code::Retry] = {Action::RetryOperation, nullptr};
    table.byCode[Code::Ignore] = {Action::RunStepAgain, nullptr};
    table.byCode[Code::GiveUp] = {Action::End, ShowText("一个不可修复的错误发生. 数据不能被导出.")};
    table.byCode[Code::Unknown] = {Action::NextStep, ShowDetails()};
    const Outcome outcome = RunSteps(prompter, withRestart, table);
    if (outcome == Outcome::Ended)
        printer.Abandon();
    else if (outcome == Outcome::Completed)
        main.svc.view.ShowResult("已打印 " + main.CurrentFileTitle);
    progress.Hide();
    prompter.SetBusy(false);
}

} // namespace nm

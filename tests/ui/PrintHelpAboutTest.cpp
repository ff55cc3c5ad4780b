// Printing from the window and to a real PDF, the help request and the about box.
#include "tests/ui/UiHarness.h"

#include "core/Printing.h"
#include "ui/QtPrinterDevice.h"
#include "ui/frmAbout.h"

#include <QLabel>
#include <QPrinter>
#include <QPrinterInfo>

#include <cstdio>
#include <sys/wait.h>

using namespace nm;
using namespace nm::test;

namespace {

TEST(FrmAliasPrint, PrintsBothListsWithTheProgressWindow) {
    Editor e;
    e.Load();
    e.window->mnuFilePrint_Click();
    EXPECT_EQ(e.printer.Pages(), (std::vector<int>{1, 2}));
    EXPECT_EQ(e.printer.Count("E"), 1u);
    auto* progress = e.window->findChild<QWidget*>("frmPrinting");
    ASSERT_NE(progress, nullptr);
    EXPECT_FALSE(progress->isVisible());
    EXPECT_EQ(progress->windowTitle(), "热键编辑");
    EXPECT_EQ(progress->findChild<QLabel*>("lblPrinting")->text(), "打印       ...");
    EXPECT_FALSE(e.prompter.busy);
}

TEST(FrmAliasHelp, AsksForTheEditorsTopic) {
    Editor e;
    e.Load();
    e.window->mnuHelpSearch_Click();
    EXPECT_EQ(e.help.requests, (std::vector<HelpRequest>{{"ALIAS.HLP", "NICKMAKER", 257}}));
}

TEST(FrmAliasAbout, ShowsTheVersionAndGoesOnOk) {
    Editor e;
    e.Load();
    e.script.steps = {[&](QDialog& d) {
        EXPECT_EQ(d.objectName(), "frmAbout");
        EXPECT_EQ(d.windowTitle(), "关于热键编辑");
        EXPECT_EQ(d.findChild<QLabel*>("lblVersion")->text(), "版本      4.1.0");
        EXPECT_EQ(d.findChild<QLabel*>("lblMain")->text(), "Vectrom  热键编辑器");
        EXPECT_TRUE(d.findChild<QLabel*>("lblMain")->font().bold());
        // Centred over the main window.
        const QPoint centre = e.window->geometry().center();
        EXPECT_LE(std::abs(d.geometry().center().x() - centre.x()), 3);
        EXPECT_LE(std::abs(d.geometry().center().y() - centre.y()), 3);
        d.findChild<QPushButton*>("cmdOk")->click();
    }};
    e.script.Run([&] { e.window->mnuHelpAbout_Click(); });
    EXPECT_EQ(e.window->findChild<frmAbout*>(), nullptr); // unloaded
    EXPECT_EQ(VersionText(12, 0, 3), "版本      12.0.3");
}

std::string PdfText(const std::string& pdf) {
    const std::string command = "pdftotext -layout '" + pdf + "' -";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    std::string text;
    char buffer[4096];
    for (std::size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        text.append(buffer, n);
    EXPECT_TRUE(pipe && WEXITSTATUS(::pclose(pipe)) == 0) << "pdftotext failed";
    return text;
}

TEST(QtPrinterDevice, PrintsToAPdfWithAlignedColumns) {
    Harness h;
    h.main.CurrentFile = "/office/vtrm.pgp";
    for (int i = 0; i < 61; ++i)
        h.main.Lists[AliasList].Append("AL" + std::to_string(100 + i),
                                       {"CMD" + std::to_string(i), {}, {}});
    h.main.Lists[ShellList].Append("NOTEPAD", {"START NOTEPAD", "1", "File:"});
    TempDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir.Path("lists.pdf")));
    ScriptedFileDialogs dialogs;
    ScriptedPrompter prompter;
    QtPrinterDevice device(printer, dialogs, prompter);
    ASSERT_TRUE(device.Prepare());
    struct : PrintProgress {
        void Show(const std::string&) override {}
        void SetPage(const std::string&) override {}
        void Hide() override {}
    } progress;
    PrintLists(h.main, device, progress);
    EXPECT_TRUE(dialogs.calls.empty()); // the PDF file was given: no dialog
    const std::string text = PdfText(dir.Path("lists.pdf"));
    // NM_KEEP_PDF=FILE keeps the printout, to look at it.
    if (const char* keep = std::getenv("NM_KEEP_PDF"))
        std::filesystem::copy_file(dir.Path("lists.pdf"), keep,
                                   std::filesystem::copy_options::overwrite_existing);
    for (const std::string expected :
         {"Vectrom 命令热键", ", 页    1", ", 页    2", "Shell 命令热键", ", 页    3",
          "/office/vtrm.pgp", "Keyboard 热键", "START NOTEPAD"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    // The commands start in one column on every row.
    std::size_t column = std::string::npos;
    for (const std::string row : {"AL100", "AL159", "AL160"}) {
        const std::size_t line = text.find(row);
        ASSERT_NE(line, std::string::npos) << row;
        const std::size_t start = text.rfind('\n', line) + 1;
        const std::size_t command = text.find("CMD", line) - start;
        if (column == std::string::npos)
            column = command;
        EXPECT_EQ(command, column) << row;
    }
}

// With no printer the lists go to a PDF file the user picks at every print,
// and a file that is there already is replaced only when the user says so.
TEST(QtPrinterDevice, AsksForThePdfFileAtEveryPrintWhenThereIsNoPrinter) {
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "this system has a printer";
    struct Case {
        std::string name;
        std::vector<std::optional<std::string>> picks; // names in the folder; nullopt: cancel
        std::deque<Answer> answers;                    // to "replace the file?"
        std::vector<bool> prepared;                    // of each print
        std::vector<std::string> asked;                // the files the question named
        std::string file;                              // the PDF of the last print
    };
    const std::vector<Case> cases = {
        {"asked at each print", {"a.pdf", "b.pdf"}, {}, {true, true}, {}, "b.pdf"},
        {"No, then a new name", {"old.txt", "new"}, {Answer::No}, {true}, {"old.txt"}, "new.pdf"},
        {"Yes, to the name with .pdf", {"old"}, {Answer::Yes}, {true}, {"old.pdf"}, "old.pdf"},
        {"cancel", {std::nullopt}, {}, {false}, {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        dir.Write("old.txt", "text");
        dir.Write("old.pdf", "");
        QPrinter printer;
        ScriptedFileDialogs dialogs;
        for (const auto& pick : c.picks)
            dialogs.picks.push_back(pick ? std::optional(dir.Path(*pick)) : std::nullopt);
        ScriptedPrompter prompter;
        prompter.answers = c.answers;
        QtPrinterDevice device(printer, dialogs, prompter);
        for (const bool prepared : c.prepared)
            EXPECT_EQ(device.Prepare(), prepared);
        EXPECT_EQ(dialogs.calls.size(), c.picks.size());
        for (const auto& call : dialogs.calls)
            EXPECT_EQ(call.kind + call.filter + call.fileName, "savePDF |*.pdf");
        ASSERT_EQ(prompter.shown.size(), c.asked.size());
        for (std::size_t i = 0; i < c.asked.size(); ++i) {
            const MessageBox& box = prompter.shown[i];
            EXPECT_EQ(box.text, dir.Path(c.asked[i]) + "\r\n\r\n这个文件已经存在. 你想覆盖它吗?");
            EXPECT_EQ(box.buttons, Buttons::YesNo);
            EXPECT_EQ(box.icon, Icon::Exclamation);
            EXPECT_EQ(box.title, "打印");
            EXPECT_EQ(box.defaultButton, 2);
        }
        if (!c.file.empty()) {
            EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
            EXPECT_EQ(printer.outputFileName().toStdString(), dir.Path(c.file));
        }
    }
}

} // namespace

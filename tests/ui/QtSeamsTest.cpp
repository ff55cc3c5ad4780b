// The Qt backends of the seams: the message boxes, busy pointer and file
// filters, examined without running a dialog, and the printer on a real PDF.
#include "tests/support/Doubles.h"

#include "core/Printing.h"
#include "ui/QtFileDialogs.h"
#include "ui/QtPrinterDevice.h"
#include "ui/QtPrompter.h"
#include "ui/frmPrinting.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>

#include <map>
#include <set>

using namespace nm;
using namespace nm::test;
using SB = QMessageBox::StandardButton;

// Each set shows its buttons in order (the default-button number picks one)
// and answers with the one pressed; Escape answers as the set allows, and a
// set without a way out stays open.
TEST(QtPrompter, BoxesHaveTheirButtonsInOrderAndAnswerWithThem) {
    const std::map<SB, Answer> answers = {
        {SB::Ok, Answer::OK},       {SB::Cancel, Answer::Cancel}, {SB::Abort, Answer::Abort},
        {SB::Retry, Answer::Retry}, {SB::Ignore, Answer::Ignore}, {SB::Yes, Answer::Yes},
        {SB::No, Answer::No}};
    const QMessageBox::StandardButtons ari = SB::Abort | SB::Retry | SB::Ignore,
                                       ync = SB::Yes | SB::No | SB::Cancel;
    const std::vector<std::tuple<Buttons, int, QMessageBox::StandardButtons, SB, Answer>> cases = {
        {Buttons::OK, 1, SB::Ok, SB::Ok, Answer::OK},
        {Buttons::OKCancel, 2, SB::Ok | SB::Cancel, SB::Cancel, Answer::Cancel},
        {Buttons::AbortRetryIgnore, 2, ari, SB::Retry, Answer::Closed},
        {Buttons::AbortRetryIgnore, 3, ari, SB::Ignore, Answer::Closed},
        {Buttons::YesNoCancel, 2, ync, SB::No, Answer::Cancel},
        {Buttons::YesNoCancel, 3, ync, SB::Cancel, Answer::Cancel},
        {Buttons::YesNo, 1, SB::Yes | SB::No, SB::Yes, Answer::No},
        {Buttons::YesNo, 3, SB::Yes | SB::No, SB::Yes, Answer::No},
        {Buttons::RetryCancel, 2, SB::Retry | SB::Cancel, SB::Cancel, Answer::Cancel}};
    for (const auto& [buttons, number, present, defaultButton, onEscape] : cases) {
        const MessageBox message{"?", buttons, Icon::Question, "t", number};
        const auto box = BuildMessageBox(message, nullptr, "p");
        EXPECT_EQ(box->standardButtons(), present) << number;
        EXPECT_EQ(box->standardButton(box->defaultButton()), defaultButton) << number;
        for (const auto& [button, answer] : answers) {
            if (!present.testFlag(button))
                continue;
            const auto pressed = BuildMessageBox(message, nullptr, "p");
            pressed->button(button)->click();
            EXPECT_EQ(ClickedAnswer(*pressed), answer) << number;
        }
        box->show();
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(box.get(), &escape);
        EXPECT_EQ(ClickedAnswer(*box), onEscape) << number;
        EXPECT_EQ(box->close(), onEscape != Answer::Closed) << number;
    }
}

TEST(QtPrompter, BoxesShowTitleTextAndIconAsGiven) {
    const QString program = "Vectrom 热键编辑器       ";
    const std::vector<std::tuple<std::optional<std::string>, std::string, Icon, QString, QString,
                                 QMessageBox::Icon>>
        cases = {{std::nullopt, "确认     ", Icon::None, program, "确认     ", QMessageBox::NoIcon},
                 {"磁盘错误  ", "磁盘满. 继续?\r\n\r\n  ", Icon::Exclamation, "磁盘错误  ",
                  "磁盘满. 继续?\n\n  ", QMessageBox::Warning},
                 {"", "<b>A</b>\r\n", Icon::Critical, "", "<b>A</b>\n", QMessageBox::Critical},
                 {"t", "a\rb", Icon::Question, "t", "a\rb", QMessageBox::Question},
                 {"t", "", Icon::Information, "t", "", QMessageBox::Information}};
    for (const auto& [title, text, icon, shownTitle, shownText, shownIcon] : cases) {
        const auto box = BuildMessageBox({text, Buttons::OK, icon, title, 1}, nullptr, program);
        EXPECT_EQ(std::tuple(box->windowTitle(), box->text(), box->textFormat(), box->icon()),
                  std::tuple(shownTitle, shownText, Qt::PlainText, shownIcon));
    }
}

// The prompter pushes the busy pointer once, however often it is asked, and
// takes away only its own, also when it goes.
TEST(QtPrompter, BusyPointerIsPushedOnceAndOnlyItsOwnIsRemoved) {
    std::string shapes;
    const auto look = [&] {
        const QCursor* cursor = QApplication::overrideCursor();
        shapes += !cursor ? "none" : cursor->shape() == Qt::WaitCursor ? "wait " : "hand ";
    };
    QApplication::setOverrideCursor(Qt::PointingHandCursor); // another part's pointer
    {
        QtPrompter prompter(nullptr, "p");
        for (const bool busy : {false, true, true, false, true}) {
            prompter.SetBusy(busy);
            look();
        }
    }
    look();
    QApplication::restoreOverrideCursor();
    look();
    EXPECT_EQ(shapes, "hand wait wait hand wait hand none");
}

TEST(QtFileDialogs, FiltersBecomeQtFilters) {
    for (const auto& [bars, filter] : std::vector<std::pair<std::string, QString>>{
             {"X|*.pgp", "X (*.pgp)"},
             {"Vectrom 程序参数文件 |*.pgp|Text Files |*.txt|All Files |*.*",
              "Vectrom 程序参数文件 (*.pgp);;Text Files (*.txt);;All Files (*.*)"},
             {"Lists  |*.pgp;*.txt|", "Lists  (*.pgp *.txt)"},
             {"A|*.a|Loose", "A (*.a);;Loose"},
             {"", ""}})
        EXPECT_EQ(QtFilter(bars), filter) << bars;
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
    QtPrinterDevice device(printer, h.dialogs, h.prompter);
    ASSERT_TRUE(device.Prepare());
    QWidget window;
    frmPrinting progress(&window);
    PrintLists(h.main, device, progress);
    EXPECT_TRUE(h.dialogs.calls.empty()); // the PDF file was given: no dialog
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", printer.outputFileName(), "-"});
    ASSERT_TRUE(pdftotext.waitForFinished() && pdftotext.exitCode() == 0) << "pdftotext failed";
    const std::string text = pdftotext.readAllStandardOutput().toStdString();
    for (const std::string expected :
         {"Vectrom 命令热键", ", 页    1", ", 页    2", "Shell 命令热键", ", 页    3",
          "/office/vtrm.pgp", "Keyboard 热键", "START NOTEPAD"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    // The commands start in one column on every row.
    std::set<std::size_t> columns;
    for (const std::string row : {"AL100", "AL159", "AL160"}) {
        const std::size_t line = text.find(row);
        ASSERT_NE(line, std::string::npos) << row;
        columns.insert(text.find("CMD", line) - text.rfind('\n', line));
    }
    EXPECT_EQ(columns.size(), 1u);
}

// With no printer the lists go to a PDF file the user picks at every print,
// and a file that is there already is replaced only when the user says so.
TEST(QtPrinterDevice, AsksForThePdfFileAtEveryPrintWhenThereIsNoPrinter) {
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "this system has a printer";
    struct Case {
        std::vector<std::optional<std::string>> picks; // names in the folder; nullopt: cancel
        std::deque<Answer> answers;                    // to "replace the file?"
        std::vector<bool> prepared;                    // of each print
        std::vector<std::string> asked;                // the files the question named
        std::string file;                              // the PDF of the last print
    };
    for (const Case& c :
         std::vector<Case>{{{"a.pdf", "b.pdf"}, {}, {true, true}, {}, "b.pdf"},
                           {{"old.txt", "new"}, {Answer::No}, {true}, {"old.txt"}, "new.pdf"},
                           {{"old"}, {Answer::Yes}, {true}, {"old.pdf"}, "old.pdf"},
                           {{std::nullopt}, {}, {false}, {}, ""}}) {
        TempDir dir;
        dir.Write("old.txt", "text");
        dir.Write("old.pdf", "");
        QPrinter printer;
        Harness h;
        for (const auto& pick : c.picks)
            h.dialogs.picks.push_back(pick ? std::optional(dir.Path(*pick)) : std::nullopt);
        h.prompter.answers = c.answers;
        QtPrinterDevice device(printer, h.dialogs, h.prompter);
        for (const bool prepared : c.prepared)
            EXPECT_EQ(device.Prepare(), prepared) << c.file;
        EXPECT_EQ(h.dialogs.calls.size(), c.picks.size());
        for (const auto& call : h.dialogs.calls)
            EXPECT_EQ(call.kind + call.filter + call.fileName, "savePDF |*.pdf");
        ASSERT_EQ(h.prompter.shown.size(), c.asked.size());
        for (std::size_t i = 0; i < c.asked.size(); ++i) {
            const MessageBox& box = h.prompter.shown[i];
            EXPECT_EQ(box.text, dir.Path(c.asked[i]) + "\r\n\r\n这个文件已经存在. 你想覆盖它吗?");
            EXPECT_EQ(std::tuple(box.buttons, box.icon, box.title, box.defaultButton),
                      std::tuple(Buttons::YesNo, Icon::Exclamation, "打印", 2));
        }
        if (!c.file.empty()) {
            EXPECT_EQ(std::pair(printer.outputFormat(), printer.outputFileName().toStdString()),
                      std::pair(QPrinter::PdfFormat, dir.Path(c.file)));
        }
    }
}

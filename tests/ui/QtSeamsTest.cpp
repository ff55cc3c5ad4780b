// The Qt backends of the seams: the message boxes, busy pointer and file
// filters, examined without running a dialog, and the printer on a real PDF.
#include "tests/support/Doubles.h"

#include "core/Printing.h"
#include "ui/QtFileDialogs.h"
#include "ui/QtPrinterDevice.h"
#include "ui/QtPrompter.h"
#include "ui/frmPrinting.h"

#include <gtest/gtest.h>

#include <QtPrintSupport>
#include <QtWidgets>

using namespace nm;
using namespace nm::test;
using SB = QMessageBox::StandardButton;
using Rows = std::vector<std::string>;

// Each set shows its buttons (the default-button number picks one, past the
// last the first); Escape answers as the set allows, and a set without a way
// out stays open. A press answers with its button. Text is plain, with the
// file's line breaks made Qt's; a box without a title has the program's. The
// busy pointer is pushed once, however often it is asked for, and the
// prompter takes away only its own, also when it goes.
TEST(QtPrompter, BoxesAnswerWithTheButtonPressedAndTheBusyPointerIsItsOwn) {
    // The buttons, the default-button number, the buttons shown, and the
    // answers of a press on the default button and of Escape.
    for (const auto& [buttons, number, present, onDefault, onEscape] :
         std::vector<std::tuple<Buttons, int, QMessageBox::StandardButtons, Answer, Answer>>{
             {Buttons::OK, 1, SB::Ok, Answer::OK, Answer::OK},
             {Buttons::OKCancel, 2, SB::Ok | SB::Cancel, Answer::Cancel, Answer::Cancel},
             {Buttons::AbortRetryIgnore, 1, SB::Abort | SB::Retry | SB::Ignore, Answer::Abort,
              Answer::Closed},
             {Buttons::AbortRetryIgnore, 3, SB::Abort | SB::Retry | SB::Ignore, Answer::Ignore,
              Answer::Closed},
             {Buttons::YesNoCancel, 2, SB::Yes | SB::No | SB::Cancel, Answer::No, Answer::Cancel},
             {Buttons::YesNo, 3, SB::Yes | SB::No, Answer::Yes, Answer::No},
             {Buttons::RetryCancel, 1, SB::Retry | SB::Cancel, Answer::Retry, Answer::Cancel}}) {
        const auto box = BuildMessageBox({"?", buttons, Icon::Question, "", number}, nullptr, "p");
        EXPECT_EQ(std::pair(box->standardButtons(), box->windowTitle()),
                  std::pair(present, QString())) // an empty title is a title
            << number;
        box->show();
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(box.get(), &escape);
        EXPECT_EQ(ClickedAnswer(*box), onEscape) << number;
        EXPECT_EQ(box->close(), onEscape != Answer::Closed) << number;
        box->defaultButton()->click();
        EXPECT_EQ(ClickedAnswer(*box), onDefault) << number;
    }
    const QString program = "Vectrom 热键编辑器       ";
    const auto untitled =
        BuildMessageBox({"<b>磁盘满</b>\r\n\r\n a\rb  ", Buttons::OK, Icon::None, std::nullopt, 1},
                        nullptr, program);
    EXPECT_EQ(std::tuple(untitled->windowTitle(), untitled->text(), untitled->textFormat()),
              std::tuple(program, QString("<b>磁盘满</b>\n\n a\rb  "), Qt::PlainText));
    // Qt's own button texts speak the program's language.
    const auto yesNo = BuildMessageBox({"?", Buttons::YesNo, Icon::Question, "", 1}, nullptr, "p");
    EXPECT_EQ(yesNo->button(SB::Yes)->text() + yesNo->button(SB::No)->text(), "是(&Y)否(&N)");

    // A box opens over the dialog that asked (the pointer is the file dialogs' case).
    QDialog asking;
    asking.open();
    QTimer::singleShot(0, [&asking] {
        EXPECT_EQ(QApplication::activeModalWidget()->parentWidget(), &asking);
        QApplication::activeModalWidget()->close();
    });
    QtPrompter(nullptr, "p").Show({"?", Buttons::OK, Icon::None, "", 1});

    std::string shapes;
    const auto look = [&] {
        shapes += QApplication::overrideCursor()->shape() == Qt::WaitCursor ? "wait " : "hand ";
    };
    QApplication::setOverrideCursor(Qt::PointingHandCursor); // another part's pointer
    auto prompter = std::make_unique<QtPrompter>(nullptr, "p");
    for (const bool busy : {true, true, false, true}) {
        prompter->SetBusy(busy);
        look();
    }
    prompter.reset(); // gone while busy
    look();
    EXPECT_EQ(shapes, "wait wait hand wait hand ");
    QApplication::restoreOverrideCursor();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// The save dialog opens over the window that asked, with the arrow over the
// wait pointer, and gives a name typed without an extension the filter's.
TEST(QtFileDialogs, FiltersBecomeQtFiltersAndSaveAddsTheExtension) {
    EXPECT_EQ(QtFilter("Vectrom 程序参数文件 |*.pgp|Text Files |*.txt|All Files |*.*"),
              "Vectrom 程序参数文件 (*.pgp);;Text Files (*.txt);;All Files (*.*)");
    QWidget window;
    QtFileDialogs dialogs(&window);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QTimer::singleShot(0, [&window] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(std::tuple(dialog->parentWidget(), dialog->defaultSuffix(),
                             QApplication::overrideCursor()->shape()),
                  std::tuple(&window, QString("pgp"), Qt::ArrowCursor));
        dialog->reject();
    });
    EXPECT_THROW(dialogs.ShowSave("F |*.pgp", "vtrm"), RuntimeError);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    // The printer set-up's button sets up; it prints nothing.
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        EXPECT_EQ(dialog->windowTitle() +
                      dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->text(),
                  "打印机设置确定");
        dialog->close();
    });
    EXPECT_THROW(dialogs.ShowPrinterSetup(), RuntimeError);
    QApplication::restoreOverrideCursor();
}

// A PDF file set up for the printer is used without a question: every page
// on a sheet of its own, the commands in one column on every row whatever the
// width of the names before them. With no printer the lists go to a PDF file
// the user picks at every print (".pdf" added to a name without an
// extension), and a file that is there already is replaced only when the user
// says so.
TEST(QtPrinterDevice, PrintsToAPdfFileSetUpOrPickedAtEveryPrint) {
    Harness h;
    for (int i = 0; i < 61; ++i)
        h.main.Lists[AliasList].Append((i % 2 ? "I" : "WWWWWW") + std::to_string(100 + i),
                                       {"CMD" + std::to_string(i), {}, {}});
    h.main.Lists[ShellList].Append("NOTEPAD", {"START NOTEPAD", "1", "File:"});
    TempDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir.Path("lists.pdf")));
    printer.setCopyCount(2); // chosen once, for every print
    QtPrinterDevice device(printer, h.dialogs, h.prompter);
    QWidget window;
    frmPrinting progress(&window);
    for (int print = 0; print < 2; ++print) {
        ASSERT_TRUE(device.Prepare());
        EXPECT_EQ(device.Copies(), 2);
        PrintLists(h.main, device, progress);
    }
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", printer.outputFileName(), "-"});
    ASSERT_TRUE(pdftotext.waitForFinished() && pdftotext.exitCode() == 0) << "pdftotext failed";
    const std::string text = pdftotext.readAllStandardOutput().toStdString();
    EXPECT_EQ(QString::fromStdString(text).count('\f'), 6) << text; // two copies of three pages
    for (const std::string expected : {"Vectrom 命令热键", "START NOTEPAD", "WWWWWW100", "I101"})
        ASSERT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    const auto column = [&](const std::string& row) {
        const std::size_t line = text.find(row);
        return text.find("CMD", line) - text.rfind('\n', line);
    };
    EXPECT_EQ(column("WWWWWW100"), column("I101")) << text;

    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "this system has a printer";
    dir.Write("old.txt", "text");
    dir.Write("old.pdf", "");
    QPrinter none;
    QtPrinterDevice asking(none, h.dialogs, h.prompter);
    h.dialogs.picks = {dir.Path("old.txt"), dir.Path("new"), dir.Path("old"), std::nullopt};
    h.prompter.answers = {Answer::No, Answer::Yes}; // to "replace the file?"
    Rows files;
    for (int print = 0; print < 3; ++print) // "-" where the user gave up
        files.push_back(asking.Prepare() ? none.outputFileName().toStdString() : "-");
    EXPECT_EQ(files, (Rows{dir.Path("new.pdf"), dir.Path("old.pdf"), "-"}));
    EXPECT_EQ(none.outputFormat(), QPrinter::PdfFormat);
    const std::string question = "\r\n\r\n这个文件已经存在. 你想覆盖它吗?";
    EXPECT_EQ(h.prompter.Texts(),
              (Rows{dir.Path("old.txt") + question, dir.Path("old.pdf") + question}));
    for (const MessageBox& box : h.prompter.shown)
        EXPECT_EQ(std::tuple(box.buttons, box.icon, box.title, box.defaultButton),
                  std::tuple(Buttons::YesNo, Icon::Exclamation, "打印", 2));
}

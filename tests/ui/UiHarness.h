// The editor window on a host made in a temporary folder, driven by its
// controls' names as a user drives it (the window tests and the editor's
// benchmarks): every box, dialog and setting is answered through the seams'
// doubles, and a script fills and confirms the entry dialogs.
#pragma once

#include "tests/support/Doubles.h"

#include "host/MemoryRegistry.h"
#include "ui/frmAlias.h"

// The Qt modules whole: the tests reach into most of the widgets.
#include <QtTest>
#include <QtWidgets>

#include <gtest/gtest.h>

namespace nm::test {

using Rows = std::vector<std::string>;

// Acts on the modal dialogs that an action opens, one step at a time.
using Step = std::function<void(QDialog&)>;
struct DialogScript {
    std::deque<Step> steps;

    void Run(const std::function<void()>& action) {
        Poll();
        action();
        EXPECT_TRUE(steps.empty()) << steps.size() << " dialog steps were not used";
        steps.clear();
    }
    void Poll() {
        QTimer::singleShot(0, [this] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialog && steps.empty()) {
                ADD_FAILURE() << "a dialog was left open: " << dialog->objectName().toStdString();
                return dialog->hide();
            }
            if (dialog) {
                const Step step = steps.front();
                steps.pop_front();
                step(*dialog);
            }
            if (!steps.empty() || (dialog && dialog->isVisible()))
                Poll();
        });
    }
};

// The text field of a dialog: a line edit, or the one inside a combo box.
inline QLineEdit* Field(QDialog& d, const char* name) {
    auto* widget = d.findChild<QWidget*>(name);
    auto* edit = qobject_cast<QLineEdit*>(widget);
    return edit ? edit : widget->findChild<QLineEdit*>();
}

// Types an entry into the open dialog and presses OK.
inline Step Type(std::string name, std::string command,
                 std::optional<std::string> flags = std::nullopt, std::string prompt = {}) {
    return [=](QDialog& d) {
        Field(d, "txtAlias")->setText(QString::fromStdString(name));
        const bool alias = d.objectName() == "frmNewAlias";
        Field(d, alias ? "cmbRep" : "txtCommand")->setText(QString::fromStdString(command));
        if (flags)
            d.findChild<QComboBox*>("comboFlag")->setCurrentText(QString::fromStdString(*flags));
        if (!alias)
            Field(d, "txtPrompt")->setText(QString::fromStdString(prompt));
        d.findChild<QPushButton*>("cmdOK")->click();
    };
}

// The editor on a host whose profile's search list leads to support/vtrm.pgp.
struct Editor {
    TempDir dir;
    ScriptedPrompter prompter;
    ScriptedFileDialogs dialogs;
    ScriptedHostLink host;
    test::FixedClock clock;
    SystemFileSystem files;
    MemorySettingsStore settings;
    MemoryRegistry registry;
    RecordingPrinter printer;
    RecordingHelp help;
    DialogScript script;
    std::unique_ptr<frmAlias> window;
    int exits = 0;

    explicit Editor(const std::string& hostText = "CP,*COPY\r\nL,*LINE\r\nS,DIR,8,*Files:,\r\n") {
        dir.Write("alias.pgc", "\"LINE\"\r\n\"COPY\"\r\n");
        std::filesystem::create_directories(dir.Path("support"));
        if (hostText.empty())
            return;
        dir.Write("support/vtrm.pgp", hostText);
        const std::string machine = "SOFTWARE\\Tessaron\\Vectrom";
        registry.SetText(LocalMachine, machine, "CurVer", "R15.0");
        registry.SetText(LocalMachine, machine + "\\R15.0", "CurVer", "P");
        registry.SetText(CurrentUser, machine + "\\R15.0\\P\\Profiles", "", "Profile");
        registry.SetText(CurrentUser, machine + "\\R15.0\\P\\Profiles\\Profile\\General", "VTRM",
                         dir.Path("missing") + ";" + dir.Path("support"));
    }

    void Load() {
        window = std::make_unique<frmAlias>(
            EditorServices{prompter, dialogs, host, clock, files, settings, printer, help,
                           HostContext{prompter, registry, dir.Path(""), ""}, [this] { ++exits; }});
        window->Form_Load();
    }
    template <typename T = QPushButton> T* Get(const QString& name) {
        return window->findChild<T*>(name); // null, and the test crashes, for a lost name
    }
    Main& M() { return window->State(); }
    void Trigger(const char* action) { Get<QAction>(action)->trigger(); }
    QTreeView* List(int page) { return Get<QTreeView>("lvwAlias_" + QString::number(page)); }
    // A click on a row (0-based) of a page's list, a key pressed on it, a
    // click on a column's header.
    void ClickRow(int page, int row) {
        const QRect place = List(page)->visualRect(List(page)->model()->index(row, 0));
        QTest::mouseClick(List(page)->viewport(), Qt::LeftButton, {}, place.center());
    }
    void Key(int page, Qt::Key key) { QTest::keyClick(List(page), key); }
    // The shown control a screen reader calls `name`.
    template <typename T = QWidget> T* Spoken(const QString& name) {
        for (T* control : window->findChildren<T*>())
            if (control->accessibleName() == name && control->isVisible())
                return control;
        return nullptr;
    }
    void ClickColumn(int page, int column) {
        QHeaderView* header = List(page)->header();
        const QPoint place(header->sectionViewportPosition(column) + 4, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, place);
    }
    // The names shown in a page's list, from the top, the selected one in brackets.
    std::string Shown(int page) {
        QString names;
        for (int row = 0; row < List(page)->model()->rowCount(); ++row) {
            const QString name = List(page)->model()->index(row, 0).data().toString();
            names += List(page)->selectionModel()->isRowSelected(row) ? "[" + name + "]" : name;
        }
        return names.toStdString();
    }
};

} // namespace nm::test

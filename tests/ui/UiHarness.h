// The editor window on a host made in a temporary folder, driven by its
// controls' names as a user drives it: every box, dialog and setting is
// answered through the seams' doubles, and a script fills and confirms the
// entry dialogs.
#pragma once

#include "tests/support/Doubles.h"

#include "host/MemoryRegistry.h"
#include "ui/frmAlias.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include <filesystem>

namespace nm::test {

// Acts on the modal dialogs that an action opens, one step at a time.
class DialogScript {
public:
    using Step = std::function<void(QDialog&)>;
    std::deque<Step> steps;

    void Run(const std::function<void()>& action) {
        Poll();
        action();
        EXPECT_TRUE(steps.empty()) << steps.size() << " dialog steps were not used";
        steps.clear();
    }

private:
    void Poll() {
        QTimer::singleShot(0, [this] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialog && steps.empty()) {
                ADD_FAILURE() << "a dialog was left open: " << dialog->objectName().toStdString();
                dialog->hide();
                return;
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

inline void Click(QDialog& d, const char* button) {
    d.findChild<QPushButton*>(button)->click();
}

// Types an entry into the open dialog and presses OK.
inline DialogScript::Step Type(std::string name, std::string command,
                               std::optional<std::string> flags = std::nullopt,
                               std::string prompt = {}) {
    return [=](QDialog& d) {
        Field(d, "txtAlias")->setText(QString::fromStdString(name));
        const bool alias = d.objectName() == "frmNewAlias";
        Field(d, alias ? "cmbRep" : "txtCommand")->setText(QString::fromStdString(command));
        if (flags)
            d.findChild<QComboBox*>("comboFlag")->setCurrentText(QString::fromStdString(*flags));
        if (!alias)
            Field(d, "txtPrompt")->setText(QString::fromStdString(prompt));
        Click(d, "cmdOK");
    };
}

// The editor on a host whose profile's search list leads to support/vtrm.pgp.
struct Editor {
    TempDir dir;
    ScriptedPrompter prompter;
    ScriptedFileDialogs dialogs;
    ScriptedHostLink host;
    FixedClock clock;
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
    Main& M() { return window->State(); }
    template <typename T = QPushButton> T* Get(const QString& name) {
        T* widget = window->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    bool Enabled(const char* name) { return Get<QWidget>(name)->isEnabled(); }
    void Click(const char* button) { Get(button)->click(); }
    void Trigger(const char* action) { Get<QAction>(action)->trigger(); }
    void ShowPage(int page) { Get<QTabWidget>("tbsMain")->setCurrentIndex(page); }
    QTreeView* List(int page) { return Get<QTreeView>("lvwAlias_" + QString::number(page)); }
    // A click on a row (0-based) of a page's list, a key pressed on it, a
    // click on a column's header.
    void ClickRow(int page, int row) {
        QTreeView* list = List(page);
        const QRect place = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
    }
    void Key(int page, Qt::Key key) { QTest::keyClick(List(page), key); }
    void ClickColumn(int page, int column) {
        QHeaderView* header = List(page)->header();
        const QPoint place(header->sectionViewportPosition(column) + 4, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, place);
    }
    // The names shown in a page's list, from the top.
    std::string Shown(int page) {
        std::string names;
        for (int row = 0; row < List(page)->model()->rowCount(); ++row)
            names += List(page)->model()->index(row, 0).data().toString().toStdString();
        return names;
    }
    int SelectedRow(int page) {
        const QModelIndexList rows = List(page)->selectionModel()->selectedRows();
        return rows.isEmpty() ? -1 : rows.first().row();
    }
};

} // namespace nm::test

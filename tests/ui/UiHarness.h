// The editor window on a host made in a temporary folder, with every box,
// dialog and setting answered through the seams' doubles, and a script that
// fills and confirms the entry dialogs as a user would.
#pragma once

#include "tests/support/Doubles.h"

#include "host/SettingsStore.h"
#include "ui/frmAlias.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>

namespace nm::test {

// Acts on the modal dialogs that an action opens, one step at a time.
class DialogScript {
public:
    using Step = std::function<void(QDialog&)>;
    std::deque<Step> steps;

    void Run(const std::function<void()>& action) {
        Schedule();
        action();
        EXPECT_TRUE(steps.empty()) << steps.size() << " dialog steps were not used";
        steps.clear();
    }

private:
    void Schedule() {
        QTimer::singleShot(0, [this] { Tick(); });
    }
    void Tick() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (!steps.empty())
                Schedule();
            return;
        }
        if (steps.empty()) {
            ADD_FAILURE() << "a dialog was left open: " << dialog->objectName().toStdString();
            dialog->hide();
            return;
        }
        const Step step = steps.front();
        steps.pop_front();
        step(*dialog);
        if (dialog->isVisible() || !steps.empty())
            Schedule();
    }
};

inline void SetText(QDialog& d, const char* name, const std::string& text) {
    if (auto* edit = d.findChild<QLineEdit*>(name))
        edit->setText(QString::fromStdString(text));
    else if (auto* combo = d.findChild<QWidget*>(name))
        combo->findChild<QLineEdit*>()->setText(QString::fromStdString(text));
    else
        ADD_FAILURE() << "no field " << name;
}

inline std::string Text(QDialog& d, const char* name) {
    if (auto* edit = d.findChild<QLineEdit*>(name))
        return edit->text().toStdString();
    if (auto* combo = d.findChild<QComboBox*>(name))
        return combo->currentText().toStdString();
    if (auto* box = d.findChild<QWidget*>(name))
        return box->findChild<QLineEdit*>()->text().toStdString();
    ADD_FAILURE() << "no field " << name;
    return {};
}

// Types an entry into the open dialog and presses OK.
inline DialogScript::Step Type(std::string name, std::string command,
                               std::optional<std::string> flags = std::nullopt,
                               std::string prompt = {}) {
    return [=](QDialog& d) {
        SetText(d, "txtAlias", name);
        if (d.objectName() == "frmNewAlias") {
            SetText(d, "cmbRep", command);
        } else {
            SetText(d, "txtCommand", command);
            if (flags)
                d.findChild<QComboBox*>("comboFlag")
                    ->setCurrentText(QString::fromStdString(*flags));
            SetText(d, "txtPrompt", prompt);
        }
        d.findChild<QPushButton*>("cmdOK")->click();
    };
}

inline DialogScript::Step Press(const char* button) {
    return [=](QDialog& d) { d.findChild<QPushButton*>(button)->click(); };
}

// The editor on a host whose profile's search list leads to support/vtrm.pgp.
struct Editor {
    TempDir dir;
    ScriptedPrompter prompter;
    ScriptedFileDialogs dialogs;
    ScriptedHostLink host;
    FixedClock clock;
    MemorySettingsStore settings;
    StoredRegistry registry;
    RecordingPrinter printer;
    RecordingHelp help;
    DialogScript script;
    std::unique_ptr<frmAlias> window;
    std::string hostFile;
    int exits = 0;

    explicit Editor(const std::string& hostText = "CP,*COPY\r\nL,*LINE\r\nS,DIR,8,*Files:,\r\n") {
        dir.Write("alias.pgc", "\"LINE\"\r\n\"COPY\"\r\n");
        std::filesystem::create_directories(dir.Path("support"));
        if (!hostText.empty()) {
            hostFile = dir.Write("support/vtrm.pgp", hostText);
            const std::string machine = "SOFTWARE\\Tessaron\\Vectrom";
            registry.SetText(LocalMachine, machine, "CurVer", "R15.0");
            registry.SetText(LocalMachine, machine + "\\R15.0", "CurVer", "P");
            registry.SetText(CurrentUser, machine + "\\R15.0\\P\\Profiles", "", "Profile");
            registry.SetText(CurrentUser, machine + "\\R15.0\\P\\Profiles\\Profile\\General",
                             "VTRM", dir.Path("missing") + ";" + dir.Path("support"));
        }
    }

    void Load() {
        window = std::make_unique<frmAlias>(
            EditorServices{prompter, dialogs, host, clock, settings, printer, help,
                           HostContext{prompter, registry, dir.Path(""), ""}, [this] { ++exits; }});
        window->Form_Load();
    }
    Main& M() { return window->State(); }
    std::string Caption() const { return window->windowTitle().toStdString(); }
    template <typename T = QPushButton> T* Get(const char* name) {
        T* widget = window->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    std::vector<std::string> Rows(int page) {
        std::vector<std::string> rows;
        const EntryTable& table = M().Lists[static_cast<std::size_t>(page)];
        for (std::size_t i = 0; i < table.Count(); ++i)
            rows.push_back(table.At(i).text + "=" + std::to_string(table.At(i).key));
        return rows;
    }
    void Press(int page, int key) {
        QTreeView* list = window->lvwAlias[static_cast<std::size_t>(page)];
        QTest::keyClick(list, static_cast<Qt::Key>(key));
    }
};

} // namespace nm::test

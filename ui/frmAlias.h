// The main window: the two list pages, the menus and buttons, wired to the
// document's life and the entry commands of the core, which it shows as the
// document's view.
//
// The controls' names (here and in the dialogs) begin with their kind:
//   frm    a form (window or dialog)     cmd  a push button
//   lvw    a list view                   fra  a frame around a page's list
//   tbs    the tab strip of the pages    chk  a check box
//   mnu    a menu or menu command        lbl  a label
//   txt    a text field                  cmb  a text field over a list
//   combo  a list to choose from
// A control that exists once per page ends in _0 (command aliases) or _1
// (shell commands) and is kept in an array indexed by page.
#pragma once

#include "core/DocumentView.h"
#include "core/Entries.h"
#include "core/Main.h"
#include "host/HelpViewer.h"
#include "host/Locator.h"
#include "host/PrinterDevice.h"
#include "host/SettingsStore.h"
#include "ui/EntryTableModel.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QFont;
class QCheckBox;
class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTreeView;

namespace Ui {
class frmAlias;
}

namespace nm {

// Where the confirm option is kept; the trailing blanks belong to the names.
extern const std::string SettingsApplication;
extern const std::string SettingsSection;
extern const std::string SettingsKey;

inline constexpr const char* ProgramTitle = "Vectrom 热键编辑器";

class FileWatcher;
class ProblemsPanel;
class RecentFiles;
class frmNewAlias;
class frmNewShell;
class frmPrinting;

struct EditorServices {
    Prompter& prompter;
    FileDialogs& dialogs;
    HostLink& host;
    Clock& clock;
    FileSystem& files;
    SettingsStore& settings;
    PrinterDevice& printer;
    HelpViewer& help;
    HostContext hostContext;
    // Ends the program (after the confirm option has been stored).
    std::function<void()> exitProgram;
};

class frmAlias final : public QMainWindow, public DocumentView {
    Q_OBJECT
public:
    explicit frmAlias(EditorServices services, QWidget* parent = nullptr);
    ~frmAlias() override;

    Main& State() { return main_; }
    // The entry dialogs, created on first use and afterwards shown again.
    frmNewAlias& AliasDialog();
    frmNewShell& ShellDialog();
    const std::vector<std::string>& Catalogue() const { return catalogue_; }

    // Start-up.
    void Form_Load();
    void Form_Unload();

    // DocumentView.
    void UpdateCaption() override;
    void UpdateCommandState() override;
    bool ConfirmChecked() const override;
    // A reload of one list's rows, with its selection kept by key.
    void ChangeRows(int page, const std::function<void()>& change) override;
    void InsertRow(int page, std::size_t position, const std::function<void()>& change) override;
    void RemoveRow(int page, std::size_t position, const std::function<void()>& change) override;
    void UpdateRow(int page, int key, const std::function<void()>& change) override;
    void ShowProgress(bool shown) override;
    void SelectListItem(int position, int page) override;
    void RowAdded(int page, std::size_t position) override;
    void MakeAddDefault(int page) override;
    void FocusList(int page) override;
    void DisableApply() override;
    void ShowResult(const std::string& text) override;
    int CurrentTabIndex() const override;
    void Unload() override { Form_Unload(); }
    void FileRead(const std::string& path, const std::array<std::uint64_t, 2>& firstAdded) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Centres a dialog over the window and shows it modally; its result.
    int ShowModalCentred(QDialog* window);

    void StartBrowse(bool& import);
    void StartApply(bool& cancel);
    void StartCancel();
    void StartEdit(int& index);
    void StartRemove(int& index);
    void lvwAlias_ColumnClick(int index, int column);

    // Buttons, menus and the tab strip.
    void cmdOk_Click();
    void cmdApply_Click();
    void cmdCancel_Click();
    void cmdAdd_Click(int index);
    void cmdEdit_Click(int index);
    void cmdRemove_Click(int index);
    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileImport_Click();
    void mnuFileExport_Click();
    void mnuFileSetup_Click();
    void mnuFileExit_Click();
    void mnuFilePrint_Click();
    void mnuHelpSearch_Click();
    void mnuHelpAbout_Click();
    void mnuEditAdd_Click();
    void mnuEditEdit_Click();
    void mnuEditRemove_Click();
    void tbsMain_Click();

    // The key of the selected row of a page; 0 when none is selected.
    int SelectedKey(int page) const;
    // Shows the entry dialog of a page for the core's entry commands.
    EntryAnswer ShowEntryDialog(int page, const EntryCheck& check, const EntryFields& shown);
    EntryDialog Dialog(int page);
    void MakeDefault(QPushButton* button);
    void ConnectSignals();

    // What the editor adds to the lists' own commands (frmAliasExtras.cpp):
    // the filters above the lists, undo and redo, the file's problems, the
    // file watched on disk, recent files, dropped files, the window's place.
    void SetUpExtras();
    // The view's row of a table position (invalid when the filter hides it),
    // and the table position of a view's row.
    QModelIndex ViewIndex(int page, std::size_t position) const;
    std::size_t Position(int page, const QModelIndex& index) const;
    void UpdateExtras();
    void UpdateRecentFiles();
    void ShowRow(int page, int key);
    void ShowProblems(bool shown);
    void CheckDisk();
    void RestorePlace();
    void StorePlace();

    std::unique_ptr<Ui::frmAlias> ui_;
    EditorServices services_;
    Main main_;
    // The controls, indexed by page where there is one per page.
    std::array<QTreeView*, 2> lvwAlias{};
    std::array<QPushButton*, 2> cmdAdd{};
    std::array<QPushButton*, 2> cmdEdit{};
    std::array<QPushButton*, 2> cmdRemove{};
    QLabel* lblStatus_ = nullptr; // the file open, at the foot of the window
    std::array<QGroupBox*, 2> fraMain{};
    std::array<EntryTableModel*, 2> models{};
    std::array<RowFilter*, 2> filters{};
    std::array<QLineEdit*, 2> txtFilter{};
    QAction* mnuEditUndo = nullptr;
    QAction* mnuEditRedo = nullptr;
    QMenu* mnuFileRecent = nullptr;
    QAction* mnuViewProblems = nullptr;
    ProblemsPanel* pnlProblems_ = nullptr;
    FileWatcher* watcher_ = nullptr;
    QLabel* lblDisk_ = nullptr;        // the file changed on disk
    QPushButton* cmdReload_ = nullptr; // and can be read again
    std::unique_ptr<RecentFiles> recent_;
    std::unique_ptr<frmNewAlias> aliasDialog_;
    std::unique_ptr<frmNewShell> shellDialog_;
    std::unique_ptr<frmPrinting> printing_;
    std::vector<std::string> catalogue_;
    bool unloading_ = false;
};

} // namespace nm

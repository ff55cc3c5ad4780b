#include "ui/frmAlias.h"

#include "ui_frmAlias.h"

#include "catalog/CommandCatalogue.h"
#include "core/Document.h"
#include "core/Export.h"
#include "core/Printing.h"
#include "core/RecentFiles.h"
#include "host/RuntimeError.h"
#include "host/Utf8.h"
#include "ui/ListFont.h"
#include "ui/frmAbout.h"
#include "ui/frmNewAlias.h"
#include "ui/frmNewShell.h"
#include "ui/frmPrinting.h"

#include <QCloseEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QStatusBar>
#include <QTreeView>

#include <charconv>

namespace nm {

const std::string SettingsApplication = "Tessaron 应用软件" + Blanks(8);
const std::string SettingsSection = "Vectrom 热键编辑器" + Blanks(7);
const std::string SettingsKey = "确认" + Blanks(5);

namespace {

// Column widths of the lists as designed, in twips (15 to a pixel at 96 dpi).
const std::array<std::vector<int>, 2> DesignWidths = {std::vector<int>{882, 4235},
                                                      std::vector<int>{882, 1499, 617, 2540}};

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

frmAlias::frmAlias(EditorServices services, QWidget* parent)
    : QMainWindow(parent), ui_(std::make_unique<Ui::frmAlias>()), services_(std::move(services)),
      main_(Services{services_.prompter, services_.dialogs, services_.host, services_.clock, *this,
                     services_.files}) {
    ui_->setupUi(this);
    lvwAlias = {ui_->lvwAlias_0, ui_->lvwAlias_1};
    cmdAdd = {ui_->cmdAdd_0, ui_->cmdAdd_1};
    cmdEdit = {ui_->cmdEdit_0, ui_->cmdEdit_1};
    cmdRemove = {ui_->cmdRemove_0, ui_->cmdRemove_1};
    fraMain = {ui_->fraMain_0, ui_->fraMain_1};
    models[AliasList] = new EntryTableModel(main_.Lists[AliasList], {"热键", "Vectrom 命令"}, this);
    models[ShellList] =
        new EntryTableModel(main_.Lists[ShellList], {"热键", "命令", "标记", "提示"}, this);
    for (int page = 0; page < 2; ++page) {
        const auto p = static_cast<std::size_t>(page);
        QTreeView* list = lvwAlias[p];
        filters[p] = new RowFilter(*models[p], this);
        list->setModel(filters[p]);
        list->setItemDelegate(new CutTextToolTips(list));
        list->header()->setSectionsClickable(true);
        list->header()->setSortIndicatorShown(true);
        list->header()->setSortIndicator(0, Qt::AscendingOrder);
        list->header()->setStretchLastSection(true);
        const auto& widths = DesignWidths[static_cast<std::size_t>(page)];
        for (std::size_t c = 0; c < widths.size(); ++c)
            list->setColumnWidth(static_cast<int>(c), widths[c] / 15);
        list->installEventFilter(this);
    }
    SetUpExtras();
    for (QPushButton* button : findChildren<QPushButton*>())
        button->installEventFilter(this);
    // Which file is open, in what encoding: the foot of the window says so.
    lblStatus_ = new QLabel(this);
    lblStatus_->setObjectName("lblStatus");
    lblStatus_->setAccessibleName("打开的文件");
    lblStatus_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    statusBar()->addWidget(lblStatus_, 1);
    ConnectSignals();
}

frmAlias::~frmAlias() {
    // The views must let go of the rows before the document goes: the base
    // class destroys them after this window's own members.
    for (QTreeView* list : lvwAlias)
        list->setModel(nullptr);
}

void frmAlias::keyPressEvent(QKeyEvent* event) {
    // Enter presses the window's default button, as in a dialog.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        for (QPushButton* button : {cmdAdd[0], cmdAdd[1], ui_->cmdOk, ui_->cmdApply})
            if (button->isDefault() && button->isEnabled()) {
                button->click();
                return;
            }
    }
    QMainWindow::keyPressEvent(event);
}

void frmAlias::ConnectSignals() {
    connect(ui_->cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    connect(ui_->cmdApply, &QPushButton::clicked, this, [this] { cmdApply_Click(); });
    connect(ui_->cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    for (int page = 0; page < 2; ++page) {
        const auto p = static_cast<std::size_t>(page);
        connect(cmdAdd[p], &QPushButton::clicked, this, [this, page] { cmdAdd_Click(page); });
        connect(cmdEdit[p], &QPushButton::clicked, this, [this, page] { cmdEdit_Click(page); });
        connect(cmdRemove[p], &QPushButton::clicked, this, [this, page] { cmdRemove_Click(page); });
        connect(lvwAlias[p], &QTreeView::clicked, this, [this, p] {
            cmdRemove[p]->setEnabled(true);
            lvwAlias[p]->setFocus();
        });
        connect(lvwAlias[p], &QTreeView::doubleClicked, this, [this, page] {
            int index = page;
            StartEdit(index);
        });
        connect(lvwAlias[p]->header(), &QHeaderView::sectionClicked, this,
                [this, page](int column) { lvwAlias_ColumnClick(page, column); });
    }
    connect(ui_->tbsMain, &QTabWidget::currentChanged, this, [this] { tbsMain_Click(); });
    connect(ui_->mnuFileNew, &QAction::triggered, this, [this] { mnuFileNew_Click(); });
    connect(ui_->mnuFileOpen, &QAction::triggered, this, [this] { mnuFileOpen_Click(); });
    connect(ui_->mnuFileSave, &QAction::triggered, this, [this] { mnuFileSave_Click(); });
    connect(ui_->mnuFileImport, &QAction::triggered, this, [this] { mnuFileImport_Click(); });
    connect(ui_->mnuFileExport, &QAction::triggered, this, [this] { mnuFileExport_Click(); });
    connect(ui_->mnuFileSetup, &QAction::triggered, this, [this] { mnuFileSetup_Click(); });
    connect(ui_->mnuFileExit, &QAction::triggered, this, [this] { mnuFileExit_Click(); });
    connect(ui_->mnuFilePrint, &QAction::triggered, this, [this] { mnuFilePrint_Click(); });
    connect(ui_->mnuHelpSearch, &QAction::triggered, this, [this] { mnuHelpSearch_Click(); });
    connect(ui_->mnuHelpAbout, &QAction::triggered, this, [this] { mnuHelpAbout_Click(); });
    connect(ui_->mnuEditAdd, &QAction::triggered, this, [this] { mnuEditAdd_Click(); });
    connect(ui_->mnuEditEdit, &QAction::triggered, this, [this] { mnuEditEdit_Click(); });
    connect(ui_->mnuEditRemove, &QAction::triggered, this, [this] { mnuEditRemove_Click(); });
}

// ---- start-up and the end -------------------------------------------------------

void frmAlias::Form_Load() {
    lvwAlias[0]->setFont(ListFont());
    lvwAlias[1]->setFont(ListFont());

    const std::string stored =
        services_.settings.GetSetting(SettingsApplication, SettingsSection, SettingsKey, "1");
    int value = 1;
    const std::string_view text = TrimSpaces(stored);
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty())
        value = 1; // not a decimal number: the default
    ui_->chkConfirm->setChecked(value != 0);

    services_.prompter.SetBusy(true);
    RestorePlace();
    show();
    ui_->tbsMain->setCurrentIndex(0);
    catalogue_ = LoadCommandCatalogue(main_.svc.files, services_.hostContext);
    StartUp(main_, FindHostPgpFile(services_.hostContext));
    lblStatus_->setText(Q(FileStatus(main_))); // the start-up load keeps the caption
    services_.prompter.SetBusy(false);
}

void frmAlias::Form_Unload() {
    if (unloading_)
        return;
    unloading_ = true;
    try {
        services_.settings.SaveSetting(SettingsApplication, SettingsSection, SettingsKey,
                                       ui_->chkConfirm->isChecked() ? "1" : "0");
        StorePlace();
    } catch (const RuntimeError&) {
        // The option is only a convenience: leaving must not fail over it.
    }
    close();
    if (services_.exitProgram)
        services_.exitProgram();
}

void frmAlias::closeEvent(QCloseEvent* event) {
    if (unloading_) {
        event->accept();
        return;
    }
    // Closing from the frame asks about unsaved changes as Exit does.
    event->ignore();
    StartCancel();
}

// ---- the window follows the document ------------------------------------------

void frmAlias::UpdateCaption() {
    ui_->lblProgress->hide();
    lblStatus_->setText(Q(FileStatus(main_)));
    QString caption = ProgramTitle;
    if (!main_.CurrentFileTitle.empty())
        caption = Q(main_.CurrentFileTitle) + " - " + ProgramTitle;
    setWindowTitle(caption);
    UpdateExtras();
}

void frmAlias::UpdateCommandState() {
    lblStatus_->setText(Q(FileStatus(main_)));
    const bool canApply = main_.FileChanged > 0 || !main_.CurrentFile.empty();
    ui_->cmdApply->setEnabled(canApply);
    ui_->mnuFileSave->setEnabled(canApply);
    ui_->cmdCancel->setText(main_.FileChanged != 0 ? "中止" : "关闭(&C)");
    UpdateExtras();
}

bool frmAlias::ConfirmChecked() const {
    return ui_->chkConfirm->isChecked();
}

int frmAlias::ShowModalCentred(QDialog* window) {
    const QRect frame = geometry();
    window->move(static_cast<int>((frame.width() - window->width()) / 2.0 + frame.x()),
                 static_cast<int>((frame.height() - window->height()) / 2.0 + frame.y()));
    return window->exec();
}

void frmAlias::MakeDefault(QPushButton* button) {
    for (QPushButton* b : {cmdAdd[0], cmdAdd[1], ui_->cmdOk, ui_->cmdApply, ui_->cmdCancel})
        b->setDefault(b == button);
}

void frmAlias::MakeAddDefault(int page) {
    MakeDefault(cmdAdd[static_cast<std::size_t>(page)]);
}

void frmAlias::FocusList(int page) {
    lvwAlias[static_cast<std::size_t>(page)]->setFocus();
}

void frmAlias::ShowResult(const std::string& text) {
    statusBar()->showMessage(Q(text), 5000);
}

void frmAlias::DisableApply() {
    ui_->cmdApply->setEnabled(false);
    ui_->mnuFileSave->setEnabled(false);
}

void frmAlias::ShowProgress(bool shown) {
    ui_->lblProgress->setVisible(shown);
    repaint();
}

// ---- document commands ---------------------------------------------------------

void frmAlias::StartBrowse(bool& import) {
    nm::StartBrowse(main_, import);
}

void frmAlias::StartApply(bool& cancel) {
    cancel = nm::StartApply(main_);
}

void frmAlias::StartCancel() {
    nm::StartCancel(main_);
}

void frmAlias::cmdOk_Click() {
    ApplyAndLeave(main_);
}

void frmAlias::cmdApply_Click() {
    bool cancel = false;
    StartApply(cancel);
}

void frmAlias::cmdCancel_Click() {
    StartCancel();
}

void frmAlias::mnuFileExit_Click() {
    cmdCancel_Click();
}

void frmAlias::mnuFileNew_Click() {
    NewDocument(main_);
}

void frmAlias::mnuFileOpen_Click() {
    bool import = false;
    StartBrowse(import);
}

void frmAlias::mnuFileSave_Click() {
    SaveDocument(main_);
}

void frmAlias::mnuFileImport_Click() {
    ImportFile(main_);
}

void frmAlias::mnuFileExport_Click() {
    ExportLists(main_);
}

void frmAlias::mnuFileSetup_Click() {
    try {
        services_.dialogs.ShowPrinterSetup();
    } catch (const RuntimeError&) {
        // A cancel or any error ends the command without a word.
    }
}

void frmAlias::mnuFilePrint_Click() {
    try {
        if (!services_.printer.Prepare())
            return; // no file for the PDF: nothing is printed
    } catch (const RuntimeError&) {
        return;
    }
    if (!printing_)
        printing_ = std::make_unique<frmPrinting>(this);
    services_.prompter.SetBusy(true);
    PrintLists(main_, services_.printer, *printing_);
}

void frmAlias::mnuHelpSearch_Click() {
    services_.help.ShowHelp(HelpRequest{"ALIAS.HLP", "NICKMAKER", 257});
}

void frmAlias::mnuHelpAbout_Click() {
    // Made anew for each showing and unloaded by its OK.
    const auto about = std::make_unique<frmAbout>(this);
    ShowModalCentred(about.get());
}

// ---- the lists -------------------------------------------------------------------

void frmAlias::ChangeRows(int page, const std::function<void()>& change) {
    const auto p = static_cast<std::size_t>(page);
    const int key = SelectedKey(page);
    models[p]->Reset(change);
    if (key == 0)
        return;
    if (const auto position = main_.Lists[p].FindKey(key))
        SelectListItem(static_cast<int>(*position) + 1, page);
}

void frmAlias::InsertRow(int page, std::size_t position, const std::function<void()>& change) {
    models[static_cast<std::size_t>(page)]->InsertRow(position, change);
}

void frmAlias::RemoveRow(int page, std::size_t position, const std::function<void()>& change) {
    models[static_cast<std::size_t>(page)]->RemoveRow(position, change);
}

void frmAlias::UpdateRow(int page, int key, const std::function<void()>& change) {
    models[static_cast<std::size_t>(page)]->UpdateRow(key, change);
}

int frmAlias::SelectedKey(int page) const {
    const auto p = static_cast<std::size_t>(page);
    const QModelIndexList rows = lvwAlias[p]->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return 0;
    const std::size_t row = Position(page, rows.first());
    return row < main_.Lists[p].Count() ? main_.Lists[p].At(row).key : 0;
}

int frmAlias::CurrentTabIndex() const {
    const int index = ui_->tbsMain->currentIndex();
    return index == 1 ? 1 : 0;
}

void frmAlias::SelectListItem(int position, int page) {
    const auto p = static_cast<std::size_t>(page);
    if (position < 1 || position > models[p]->rowCount())
        return;
    const QModelIndex index = ViewIndex(page, static_cast<std::size_t>(position - 1));
    if (!index.isValid())
        return; // the filter hides it
    lvwAlias[p]->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                              QItemSelectionModel::Rows);
    lvwAlias[p]->scrollTo(index);
}

void frmAlias::RowAdded(int page, std::size_t position) {
    // A new row the filter would hide is shown: the filter goes.
    if (!ViewIndex(page, position).isValid())
        txtFilter[static_cast<std::size_t>(page)]->clear();
    SelectListItem(static_cast<int>(position) + 1, page);
    cmdRemove[static_cast<std::size_t>(page)]->setEnabled(true);
}

frmNewAlias& frmAlias::AliasDialog() {
    if (!aliasDialog_)
        aliasDialog_ =
            std::make_unique<frmNewAlias>(this, main_.svc.files, services_.hostContext, catalogue_);
    return *aliasDialog_;
}

frmNewShell& frmAlias::ShellDialog() {
    if (!shellDialog_)
        shellDialog_ = std::make_unique<frmNewShell>(this);
    return *shellDialog_;
}

EntryAnswer frmAlias::ShowEntryDialog(int page, const EntryCheck& check, const EntryFields& shown) {
    if (page == AliasList) {
        frmNewAlias& dialog = AliasDialog();
        dialog.setWindowTitle(check.editing ? "编辑命令热键" : "新建命令热键");
        dialog.Prepare(check, shown);
        ShowModalCentred(&dialog);
        return dialog.Answer();
    }
    frmNewShell& dialog = ShellDialog();
    dialog.setWindowTitle(check.editing ? "编辑外部命令" : "新建外部命令");
    dialog.Prepare(check, shown);
    ShowModalCentred(&dialog);
    return dialog.Answer();
}

EntryDialog frmAlias::Dialog(int page) {
    return [this, page](const EntryCheck& check, const EntryFields& shown) {
        return ShowEntryDialog(page, check, shown);
    };
}

void frmAlias::cmdAdd_Click(int index) {
    AddCommand(main_, index, Dialog(index));
}

void frmAlias::StartEdit(int& index) {
    nm::StartEdit(main_, index, SelectedKey(index), Dialog(index));
}

void frmAlias::StartRemove(int& index) {
    nm::StartRemove(main_, index, SelectedKey(index));
}

void frmAlias::cmdEdit_Click(int index) {
    StartEdit(index);
}
void frmAlias::cmdRemove_Click(int index) {
    StartRemove(index);
}

void frmAlias::mnuEditAdd_Click() {
    cmdAdd_Click(CurrentTabIndex());
}
void frmAlias::mnuEditEdit_Click() {
    cmdEdit_Click(CurrentTabIndex());
}
void frmAlias::mnuEditRemove_Click() {
    cmdRemove_Click(CurrentTabIndex());
}

void frmAlias::lvwAlias_ColumnClick(int index, int column) {
    const auto p = static_cast<std::size_t>(index);
    BusyPointer busy(services_.prompter);
    EntryTable& table = main_.Lists[p];
    bool descending = table.Descending();
    if (column == table.SortColumn())
        descending = !descending;
    models[p]->Reorder([&] { table.SortBy(column, descending); });
    lvwAlias[p]->header()->setSortIndicator(table.SortColumn(),
                                            descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    const QModelIndexList rows = lvwAlias[p]->selectionModel()->selectedRows();
    if (!rows.isEmpty())
        lvwAlias[p]->scrollTo(rows.first());
}

void frmAlias::tbsMain_Click() {
    const int page = CurrentTabIndex();
    const auto p = static_cast<std::size_t>(page);
    const auto other = static_cast<std::size_t>(1 - page);
    cmdAdd[p]->setEnabled(true);
    cmdEdit[p]->setEnabled(false);
    cmdRemove[p]->setEnabled(false);
    lvwAlias[p]->setFocusPolicy(Qt::StrongFocus);
    cmdAdd[other]->setEnabled(false);
    cmdEdit[other]->setEnabled(false);
    cmdRemove[other]->setEnabled(false);
    lvwAlias[other]->setFocusPolicy(Qt::NoFocus);
    cmdAdd[p]->setFocus();
}

bool frmAlias::eventFilter(QObject* watched, QEvent* event) {
    // In a filter field, Esc clears it and Enter goes to the rows it shows.
    for (int page = 0; page < 2; ++page) {
        QLineEdit* field = txtFilter[static_cast<std::size_t>(page)];
        if (watched != field || event->type() != QEvent::KeyPress)
            continue;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape && !field->text().isEmpty()) {
            field->clear();
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            QTreeView* list = lvwAlias[static_cast<std::size_t>(page)];
            if (!list->currentIndex().isValid() && list->model()->rowCount() > 0)
                list->setCurrentIndex(list->model()->index(0, 0));
            list->setFocus();
            return true;
        }
    }
    // Enter on a focused button presses it, as Space does, rather than the
    // window's default button.
    if (auto* button = qobject_cast<QPushButton*>(watched);
        button && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && button->isEnabled()) {
            button->click();
            return true;
        }
    }
    for (int page = 0; page < 2; ++page) {
        const auto p = static_cast<std::size_t>(page);
        if (watched != lvwAlias[p])
            continue;
        if (event->type() == QEvent::FocusIn) {
            cmdEdit[p]->setEnabled(true);
            cmdRemove[p]->setEnabled(true);
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            int index = page;
            if (key == Qt::Key_Delete) {
                StartRemove(index);
                return true;
            }
            if (key == Qt::Key_Space) {
                StartEdit(index);
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace nm

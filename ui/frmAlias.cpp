#include "frmAlias.h"

#include "ui_frmAlias.h"

#include "CommandCatalogue.h"
#include "ErrorHandler.h"
#include "FileIo.h"
#include "Merge.h"
#include "PgpReader.h"
#include "PgpWriter.h"
#include "Printing.h"
#include "Text.h"
#include "frmAbout.h"
#include "frmNewAlias.h"
#include "frmNewShell.h"
#include "frmPrinting.h"

#include <QCloseEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScreen>
#include <QTreeView>

#include <charconv>

namespace nm {

const std::string SettingsApplication = "Tessaron 应用软件" + Blanks(8);
const std::string SettingsSection = "Vectrom 热键编辑器" + Blanks(7);
const std::string SettingsKey = "确认" + Blanks(5);

namespace {

constexpr const char* OpenFilter = "Vectrom Program Parameter Files |*.pgp";
constexpr const char* NewFilter = "Vectrom Program Parameter Files|*.pgp";
constexpr const char* SaveAsFilter = "Vectrom 程序参数文件 |*.pgp|Text Files |*.txt|All Files |*.*";

// Column widths of the lists as designed, in twips (15 to a pixel at 96 dpi).
const std::array<std::vector<int>, 2> DesignWidths = {std::vector<int>{882, 4235},
                                                      std::vector<int>{882, 1499, 617, 2540}};

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

QFont ListFont() {
    QFont font;
    font.setFamilies({"宋体", "SimSun", "AR PL UMing CN", "Noto Serif CJK SC", "Noto Sans CJK SC",
                      "WenQuanYi Micro Hei"});
    font.setPointSize(8);
    return font;
}

frmAlias::frmAlias(EditorServices services, QWidget* parent)
    : QMainWindow(parent), ui_(std::make_unique<Ui::frmAlias>()), services_(std::move(services)),
      main_(
          Services{services_.prompter, services_.dialogs, services_.host, services_.clock, *this}) {
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
        QTreeView* list = lvwAlias[static_cast<std::size_t>(page)];
        list->setModel(models[static_cast<std::size_t>(page)]);
        list->header()->setSectionsClickable(true);
        list->header()->setSortIndicatorShown(true);
        list->header()->setSortIndicator(0, Qt::AscendingOrder);
        list->header()->setStretchLastSection(true);
        const auto& widths = DesignWidths[static_cast<std::size_t>(page)];
        for (std::size_t c = 0; c < widths.size(); ++c)
            list->setColumnWidth(static_cast<int>(c), widths[c] / 15);
        list->installEventFilter(this);
    }
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
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    show();
    ui_->tbsMain->setCurrentIndex(0);
    catalogue_ = LoadCommandCatalogue(services_.hostContext);
    main_.CurrentFile = FindHostPgpFile(services_.hostContext);
    UpdateCaption();
    if (!main_.CurrentFile.empty()) {
        ReadPgpFile(main_, main_.CurrentFile, false);
        MakeDefault(cmdAdd[0]);
        bool importing = false;
        FillInListView(importing);
    } else {
        bool import = false;
        StartBrowse(import);
    }
    main_.FileChanged = 0;
    services_.prompter.SetBusy(false);
}

void frmAlias::Form_Unload() {
    if (unloading_)
        return;
    unloading_ = true;
    try {
        services_.settings.SaveSetting(SettingsApplication, SettingsSection, SettingsKey,
                                       ui_->chkConfirm->isChecked() ? "1" : "0");
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
    QString caption = ProgramTitle;
    if (!main_.CurrentFileTitle.empty())
        caption = Q(main_.CurrentFileTitle) + " - " + ProgramTitle;
    setWindowTitle(caption);
}

void frmAlias::UpdateCommandState() {
    const bool canApply = main_.FileChanged > 0 || !main_.CurrentFile.empty();
    ui_->cmdApply->setEnabled(canApply);
    ui_->mnuFileSave->setEnabled(canApply);
    ui_->cmdCancel->setText(main_.FileChanged != 0 ? "中止" : "关闭(&C)");
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

// ---- document commands ---------------------------------------------------------

bool frmAlias::AskToSaveChanges(const std::string& filter) {
    // Asked whenever there are unsaved changes, also after the start-up load
    // (which leaves the title empty): nothing is replaced without a question.
    if (main_.FileChanged == 0)
        return true;
    const std::string name = main_.CurrentFile.empty() ? "Unnamed" : main_.CurrentFile;
    const Answer answer = services_.prompter.Show(MessageBox{
        "Save changes to " + name + "?", Buttons::YesNoCancel, Icon::Question, "Save changes?", 2});
    if (answer == Answer::No)
        return true;
    if (answer != Answer::Yes)
        return false;
    if (main_.CurrentFile.empty()) {
        const std::string chosen = AskSaveFileName(main_, filter, HostPgpFileName);
        if (chosen.empty())
            return false;
        main_.CurrentFile = chosen;
        main_.CurrentFileTitle = services_.dialogs.FileTitle();
    }
    // A save that did not complete keeps the document and stops the command.
    return SavePgpFile(main_, main_.CurrentFile, main_.CurrentFileTitle, true);
}

void frmAlias::StartBrowse(bool& import) {
    try {
        if (!import && !AskToSaveChanges(OpenFilter))
            return;
        const std::string previous = main_.CurrentFile;
        const std::string path =
            BrowseForFile(services_.prompter, services_.dialogs, OpenFilter, main_.CurrentFile);
        const std::string title = services_.dialogs.FileTitle();
        if (path.empty() || path == previous)
            return;
        main_.CurrentFile = path;
        main_.CurrentFileTitle = title;
        if (import) {
            if (ConfirmChecked()) {
                const Answer answer = services_.prompter.Show(
                    MessageBox{"This will import the settings from " + path +
                                   " into your current settings file. Continue?",
                               Buttons::YesNo, Icon::Information, "Continue import", 1});
                if (answer != Answer::Yes)
                    return;
            }
            ReadPgpFile(main_, main_.CurrentFile, true);
            bool importing = true;
            FillInListView(importing);
            main_.FileChanged = 1;
        } else {
            UpdateCaption();
            main_.FileChanged = 0;
            ReadPgpFile(main_, main_.CurrentFile, false);
            bool importing = false;
            FillInListView(importing);
        }
        MakeDefault(cmdAdd[static_cast<std::size_t>(CurrentTabIndex())]);
        UpdateCommandState();
    } catch (const RuntimeError&) {
        // An error that reaches Open or Import ends the command.
    }
}

void frmAlias::StartApply(bool& cancel) {
    std::string path;
    std::string title;
    bool saveAs = false;
    bool done = false;
    const Step steps[] = {
        [&] {
            if (main_.CurrentFile.empty() && main_.FileChanged == 0) {
                ui_->cmdApply->setEnabled(false);
                ui_->mnuFileSave->setEnabled(false);
                done = true;
                return;
            }
            path = main_.CurrentFile;
            title = main_.CurrentFileTitle;
            saveAs = path.empty();
            if (saveAs || main_.FileChanged <= 0 || !ConfirmChecked() || !FileExists(path))
                return;
            const Answer answer = services_.prompter.Show(MessageBox{
                path + "\r\n\r\n这个配置文件已经存在. 你想覆盖它吗?", Buttons::YesNoCancel,
                Icon::Exclamation, "覆盖" + Blanks(8) + main_.CurrentFileTitle + "?", 2});
            if (answer == Answer::No) {
                saveAs = true;
            } else if (answer != Answer::Yes) {
                cancel = true;
                done = true;
            }
        },
        [&] {
            if (done || !saveAs)
                return;
            path = AskSaveFileName(main_, SaveAsFilter, "");
            if (path.empty()) {
                cancel = true;
                done = true;
                return;
            }
            title = services_.dialogs.FileTitle();
        },
        [&] {
            if (done)
                return;
            // A save that did not complete counts as cancelled: OK must not
            // end the program over unsaved changes.
            if (!SavePgpFile(main_, path, title, false))
                cancel = true;
        },
    };
    ReactionTable table;
    table.settle = EndWhenCancelled;
    table.byCode[Code::Retry] = {Action::RetryOperation, nullptr};
    table.byCode[Code::Ignore] = {Action::RunStepAgain, nullptr};
    table.byCode[Code::GiveUp] = {Action::End, nullptr};
    table.byCode[Code::Unknown] = {Action::NextStep, ShowDetails()};
    RunSteps(services_.prompter, steps, table);
}

void frmAlias::StartCancel() {
    if (main_.FileChanged <= 0) {
        Form_Unload();
        return;
    }
    const Answer answer = services_.prompter.Show(
        MessageBox{"你改变了这个配置文件. 你想保存这些改变吗?", Buttons::YesNoCancel,
                   Icon::Exclamation, "Save changes to " + main_.CurrentFileTitle + "?", 1});
    if (answer == Answer::No)
        Form_Unload();
    else if (answer == Answer::Yes)
        cmdApply_Click();
}

void frmAlias::cmdOk_Click() {
    bool cancel = false;
    StartApply(cancel);
    if (cancel)
        StartCancel();
    else
        Form_Unload(); // the option is stored here too
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
    try {
        if (!AskToSaveChanges(NewFilter))
            return;
        main_.CurrentFile.clear();
        main_.CurrentFileTitle = "Unnamed";
        main_.FileEncoding = LocaleEncoding();
        ChangeRows(AliasList, [this] { main_.Lists[AliasList].Clear(); });
        ChangeRows(ShellList, [this] { main_.Lists[ShellList].Clear(); });
        main_.FileChanged = 0;
        UpdateCaption();
    } catch (const RuntimeError&) {
    }
}

void frmAlias::mnuFileOpen_Click() {
    bool import = false;
    StartBrowse(import);
}

void frmAlias::mnuFileSave_Click() {
    main_.FileChanged = 1;
    bool cancel = false;
    StartApply(cancel);
}

void frmAlias::mnuFileImport_Click() {
    const std::string file = main_.CurrentFile;
    const std::string title = main_.CurrentFileTitle;
    bool import = true;
    StartBrowse(import);
    main_.CurrentFile = file;
    main_.CurrentFileTitle = title;
    UpdateCaption();
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
    const Row* selected = SelectedRow(page);
    const int key = selected ? selected->key : 0;
    models[p]->Change(change);
    const EntryTable& table = main_.Lists[p];
    if (key == 0)
        return;
    if (const auto position = table.FindKey(key))
        SelectListItem(static_cast<int>(*position) + 1, page);
}

const Row* frmAlias::SelectedRow(int page) const {
    const auto p = static_cast<std::size_t>(page);
    const QModelIndexList rows = lvwAlias[p]->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return nullptr;
    const auto row = static_cast<std::size_t>(rows.first().row());
    return row < main_.Lists[p].Count() ? &main_.Lists[p].At(row) : nullptr;
}

void frmAlias::FillInListView(bool& importing) {
    services_.prompter.SetBusy(true);
    ui_->lblProgress->show();
    repaint();
    const bool wasImport = importing;
    models[AliasList]->Change(
        [&] { models[ShellList]->Change([&] { FillListRows(main_, wasImport); }); });
    SelectListItem(1, AliasList);
    ui_->lblProgress->hide();
    repaint();
    services_.prompter.SetBusy(false);
}

int frmAlias::CurrentTabIndex() const {
    const int index = ui_->tbsMain->currentIndex();
    return index == 1 ? 1 : 0;
}

void frmAlias::SelectListItem(int position, int page) {
    const auto p = static_cast<std::size_t>(page);
    if (position < 1 || position > models[p]->rowCount())
        return;
    const QModelIndex index = models[p]->index(position - 1, 0);
    lvwAlias[p]->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                              QItemSelectionModel::Rows);
    lvwAlias[p]->scrollTo(index);
}

void frmAlias::AddEntryFromDialog(const EntryFields& fields) {
    const int page = CurrentTabIndex();
    std::optional<std::size_t> position;
    ChangeRows(page, [&] { position = AddEntryRow(main_, page, fields); });
    if (!position)
        return;
    SelectListItem(static_cast<int>(*position) + 1, page);
    cmdRemove[static_cast<std::size_t>(page)]->setEnabled(true);
    UpdateCommandState();
}

frmNewAlias& frmAlias::AliasDialog() {
    if (!aliasDialog_)
        aliasDialog_ = std::make_unique<frmNewAlias>(*this);
    return *aliasDialog_;
}

frmNewShell& frmAlias::ShellDialog() {
    if (!shellDialog_)
        shellDialog_ = std::make_unique<frmNewShell>(*this);
    return *shellDialog_;
}

void frmAlias::RemoveEntryNamed(int page, const std::string& name) {
    if (const auto found = FindEntry(main_, page, name)) {
        const int key = main_.Lists[static_cast<std::size_t>(page)].At(*found).key;
        ChangeRows(page, [&] { RemoveListItem(main_, page, key); });
    }
}

EntryFields frmAlias::cmdAdd_Click(int index) {
    const auto p = static_cast<std::size_t>(index);
    const bool editing = main_.EditMode != 0;
    EntryFields result;
    if (index == AliasList) {
        frmNewAlias& dialog = AliasDialog();
        if (editing) {
            dialog.setWindowTitle("编辑命令热键");
            dialog.SetFields(main_.EditName, main_.EditCommand);
            dialog.SelectName();
        } else {
            dialog.SetFields({}, {});
            dialog.setWindowTitle("新建命令热键");
        }
        ShowModalCentred(&dialog);
        result = {dialog.Name(), dialog.Command(), {}, {}};
    } else {
        frmNewShell& dialog = ShellDialog();
        if (editing) {
            dialog.setWindowTitle("编辑外部命令");
            dialog.SetFields(
                {main_.EditName, main_.EditCommand, main_.EditFlags, main_.EditPrompt});
            dialog.SelectName();
        } else {
            dialog.setWindowTitle("新建外部命令");
            dialog.ClearTexts();
            dialog.SetFlags("0");
            dialog.SelectName();
        }
        ShowModalCentred(&dialog);
        result = dialog.Fields();
    }
    if (!editing) {
        RemoveEntryNamed(index, result.name);
        AddEntryFromDialog(result);
    }
    MakeDefault(cmdAdd[p]);
    lvwAlias[p]->setFocus();
    return result;
}

void frmAlias::StartEdit(int& index) {
    const auto p = static_cast<std::size_t>(index);
    const Row* row = SelectedRow(index);
    if (!row)
        return;
    editedKey_ = row->key;
    main_.EditName = row->text == MarkedName ? std::string() : row->text;
    main_.EditCommand = row->sub[0];
    if (index == ShellList) {
        main_.EditPrompt = row->sub[2];
        main_.EditFlags = row->sub[1];
    }
    main_.EditMode = 1;
    const EntryFields result = cmdAdd_Click(index);
    const int edited = editedKey_;
    editedKey_ = 0;
    if (!main_.DialogCancelled) {
        if (main_.EditMode == 1) {
            ChangeRows(index, [&] { RemoveListItem(main_, index, edited); });
            RemoveEntryNamed(index, result.name);
            AddEntryFromDialog(result);
            main_.EditMode = 0;
            lvwAlias[p]->setFocus();
        }
    } else {
        main_.DialogCancelled = false;
        main_.EditMode = 0;
        if (index == AliasList) {
            AliasDialog().SetFields({}, {});
        } else {
            ShellDialog().ClearTexts();
            ShellDialog().SetFlags("0");
        }
    }
}

void frmAlias::StartRemove(int& index) {
    const auto p = static_cast<std::size_t>(index);
    const Row* row = SelectedRow(index);
    if (!row)
        return;
    Answer answer = Answer::Yes;
    if (ConfirmChecked() && main_.EditMode == 0 && row->text != MarkedName) {
        std::string text = "真要删除这个热键吗?" + Blanks(32);
        if (!row->sub[0].empty())
            text += " 对" + Blanks(3) + row->sub[0];
        text += "?";
        answer = services_.prompter.Show(MessageBox{text, Buttons::YesNo, Icon::Question,
                                                    "删除热键" + Blanks(9) + row->text + "?", 1});
    }
    if (answer == Answer::Yes && main_.Lists[p].Count() >= 1) {
        const int key = row->key;
        const int position = lvwAlias[p]->selectionModel()->selectedRows().first().row();
        ChangeRows(index, [&] { RemoveListItem(main_, index, key); });
        // The row below takes the removed one's place, ready for the next command.
        SelectListItem(std::min(position + 1, models[p]->rowCount()), index);
    }
    // The commands and the Cancel caption follow every removal, not only the
    // first: the caption must not say Close over unsaved changes.
    UpdateCommandState();
    lvwAlias[p]->setFocus();
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
    ChangeRows(index, [&] { table.SortBy(column, descending); });
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

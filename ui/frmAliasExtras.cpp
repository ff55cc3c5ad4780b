// What the editor adds to the lists' own commands: a filter above each list,
// undo and redo, the problems of the file last read, the document's file
// watched on disk, recent files, files dropped on the window, and the
// window's place kept between runs. A user who never touches them sees the
// window as it always was.
#include "ui/frmAlias.h"

#include "ui_frmAlias.h"

#include "catalog/CommandCatalogue.h"
#include "core/DiskWatch.h"
#include "core/Document.h"
#include "core/History.h"
#include "core/Problems.h"
#include "core/RecentFiles.h"
#include "host/RuntimeError.h"
#include "ui/FileWatcher.h"
#include "ui/ProblemsPanel.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

namespace nm {

namespace {

const std::string PlaceKey = "窗口";
const std::string ProblemsKey = "问题";

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

void frmAlias::SetUpExtras() {
    // A filter field above each list; Ctrl+F goes to the page's, Esc clears it.
    for (int page = 0; page < 2; ++page) {
        const auto p = static_cast<std::size_t>(page);
        auto* field = new QLineEdit(fraMain[p]);
        field->setObjectName(QStringLiteral("txtFilter_%1").arg(page));
        field->setAccessibleName(QStringLiteral("筛选"));
        field->setPlaceholderText(QStringLiteral("筛选热键或命令 (Ctrl+F)"));
        field->setClearButtonEnabled(true);
        auto* layout = static_cast<QBoxLayout*>(fraMain[p]->layout());
        const int at = layout->indexOf(lvwAlias[p]);
        layout->removeWidget(lvwAlias[p]);
        auto* column = new QVBoxLayout;
        column->addWidget(field);
        column->addWidget(lvwAlias[p]);
        layout->insertLayout(at, column, 1);
        setTabOrder(field, lvwAlias[p]);
        field->installEventFilter(this);
        connect(field, &QLineEdit::textChanged, this,
                [this, p](const QString& text) { filters[p]->SetText(text); });
        txtFilter[p] = field;
    }
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this, [this] {
        QLineEdit* field = txtFilter[static_cast<std::size_t>(CurrentTabIndex())];
        field->setFocus();
        field->selectAll();
    });

    // Undo and redo at the head of the Edit menu.
    mnuEditUndo = new QAction(this);
    mnuEditUndo->setObjectName("mnuEditUndo");
    mnuEditUndo->setShortcut(QKeySequence::Undo);
    mnuEditRedo = new QAction(this);
    mnuEditRedo->setObjectName("mnuEditRedo");
    mnuEditRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence::Redo});
    QAction* first = ui_->mnuEdit->actions().value(0);
    ui_->mnuEdit->insertAction(first, mnuEditUndo);
    ui_->mnuEdit->insertAction(first, mnuEditRedo);
    ui_->mnuEdit->insertSeparator(first);
    connect(mnuEditUndo, &QAction::triggered, this, [this] { UndoLastStep(main_); });
    connect(mnuEditRedo, &QAction::triggered, this, [this] { RedoNextStep(main_); });

    // Recent files in the File menu, before Exit.
    mnuFileRecent = new QMenu(QStringLiteral("最近的文件(&J)"), this);
    mnuFileRecent->setObjectName("mnuFileRecent");
    ui_->mnuFile->insertMenu(ui_->mnuFileExit, mnuFileRecent);
    ui_->mnuFile->insertSeparator(ui_->mnuFileExit);
    recent_ =
        std::make_unique<RecentFiles>(services_.settings, SettingsApplication, RecentFilesSection);

    // The problems of the file last read, under the lists; the View menu
    // shows or hides them, and the choice is kept.
    pnlProblems_ = new ProblemsPanel(this);
    pnlProblems_->hide();
    // The lists keep most of the height: the panel takes a quarter, at most
    // some eight lines.
    auto* central = static_cast<QBoxLayout*>(ui_->centralwidget->layout());
    central->insertWidget(1, pnlProblems_, 1);
    central->setStretchFactor(ui_->tbsMain, 3);
    pnlProblems_->setMaximumHeight(pnlProblems_->fontMetrics().height() * 10);
    // The panel makes the window taller rather than the lists shorter.
    ui_->tbsMain->setMinimumHeight(ui_->tbsMain->sizeHint().height());
    auto* view = new QMenu(QStringLiteral("查看(&V)"), this);
    view->setObjectName("mnuView");
    menuBar()->insertMenu(ui_->mnuHelp->menuAction(), view);
    mnuViewProblems = view->addAction(QStringLiteral("问题(&P)"));
    mnuViewProblems->setObjectName("mnuViewProblems");
    mnuViewProblems->setCheckable(true);
    connect(mnuViewProblems, &QAction::toggled, this, [this](bool shown) { ShowProblems(shown); });
    connect(pnlProblems_, &ProblemsPanel::hideRequested, this,
            [this] { mnuViewProblems->setChecked(false); });
    connect(pnlProblems_, &ProblemsPanel::rowRequested, this,
            [this](int page, int key) { ShowRow(page, key); });

    // The document's file watched on disk; a change the user has not made is
    // told at the foot of the window, with a button that reads the file again
    // while there is nothing unsaved to lose.
    watcher_ = new FileWatcher(this);
    connect(watcher_, &FileWatcher::changedOnDisk, this, [this] { CheckDisk(); });
    lblDisk_ = new QLabel(this);
    lblDisk_->setObjectName("lblDisk");
    lblDisk_->setAccessibleName(QStringLiteral("磁盘上的文件"));
    cmdReload_ = new QPushButton(QStringLiteral("重新读入(&L)"), this);
    cmdReload_->setObjectName("cmdReload");
    cmdReload_->setAccessibleName(QStringLiteral("重新读入"));
    statusBar()->addPermanentWidget(lblDisk_);
    statusBar()->addPermanentWidget(cmdReload_);
    lblDisk_->hide();
    cmdReload_->hide();
    connect(cmdReload_, &QPushButton::clicked, this, [this] {
        lblDisk_->hide();
        cmdReload_->hide();
        OpenNamedFile(main_, main_.Disk.path, false);
    });

    setAcceptDrops(true);
    UpdateExtras();
}

QModelIndex frmAlias::ViewIndex(int page, std::size_t position) const {
    const auto p = static_cast<std::size_t>(page);
    return filters[p]->mapFromSource(models[p]->index(static_cast<int>(position), 0));
}

std::size_t frmAlias::Position(int page, const QModelIndex& index) const {
    return static_cast<std::size_t>(
        filters[static_cast<std::size_t>(page)]->mapToSource(index).row());
}

void frmAlias::UpdateExtras() {
    const History& history = main_.history;
    mnuEditUndo->setText(Q(history.UndoCaption()) + "(&U)");
    mnuEditUndo->setEnabled(history.CanUndo());
    mnuEditRedo->setText(Q(history.RedoCaption()) + "(&Y)");
    mnuEditRedo->setEnabled(history.CanRedo());
    const QString file = Q(main_.Disk.path);
    if (watcher_->Path() != file) {
        watcher_->Watch(file);
        lblDisk_->hide();
        cmdReload_->hide();
        if (!file.isEmpty()) {
            try {
                recent_->Add(main_.Disk.path);
            } catch (const RuntimeError&) {
                // The list is a convenience: a settings file that cannot be
                // written must not stop an open or a save.
            }
            UpdateRecentFiles();
        }
    }
    if (main_.FileChanged != 0)
        cmdReload_->hide(); // unsaved changes: the save asks about the file instead
}

void frmAlias::UpdateRecentFiles() {
    mnuFileRecent->clear();
    const std::vector<std::string>& files = recent_->Files();
    for (std::size_t i = 0; i < files.size(); ++i) {
        QAction* item =
            mnuFileRecent->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(Q(files[i])));
        connect(item, &QAction::triggered, this, [this, i] {
            if (const auto path = PickRecent(*recent_, main_.svc.files, main_.svc.prompter, i))
                OpenNamedFile(main_, *path, false);
            UpdateRecentFiles();
        });
    }
    mnuFileRecent->setEnabled(!files.empty());
}

void frmAlias::FileRead(const std::string& path, const std::array<std::uint64_t, 2>& firstAdded) {
    pnlProblems_->Show(
        CheckOpenedFile(main_, path, firstAdded, CatalogueCheck(catalogue_), services_.clock));
    if (!mnuViewProblems->isChecked())
        pnlProblems_->hide();
}

void frmAlias::ShowProblems(bool shown) {
    if (!shown)
        pnlProblems_->hide();
    try {
        services_.settings.SaveSetting(SettingsApplication, SettingsSection, ProblemsKey,
                                       shown ? "1" : "0");
    } catch (const RuntimeError&) {
    }
}

void frmAlias::ShowRow(int page, int key) {
    const auto p = static_cast<std::size_t>(page);
    const auto position = main_.Lists[p].FindKey(key);
    if (!position)
        return; // the row is gone since the check
    ui_->tbsMain->setCurrentIndex(page);
    if (!ViewIndex(page, *position).isValid())
        txtFilter[p]->clear();
    SelectListItem(static_cast<int>(*position) + 1, page);
    FocusList(page);
}

void frmAlias::CheckDisk() {
    const DiskState state = nm::CheckDisk(main_.svc.files, main_.Disk);
    lblDisk_->setVisible(state != DiskState::Same);
    lblDisk_->setText(Q(state == DiskState::Gone ? DiskGoneText(main_.Disk.path)
                                                 : DiskChangedText(main_.Disk.path)));
    cmdReload_->setVisible(state == DiskState::Changed && main_.FileChanged == 0);
}

void frmAlias::RestorePlace() {
    const QByteArray place = QByteArray::fromBase64(
        Q(services_.settings.GetSetting(SettingsApplication, SettingsSection, PlaceKey, ""))
            .toLatin1());
    const bool shown = services_.settings.GetSetting(SettingsApplication, SettingsSection,
                                                     ProblemsKey, "1") != "0";
    mnuViewProblems->setChecked(shown);
    if (place.isEmpty() || !restoreGeometry(place)) {
        // No place kept: the middle of the screen.
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            move(area.x() + (area.width() - width()) / 2,
                 area.y() + (area.height() - height()) / 2);
        }
    }
}

void frmAlias::StorePlace() {
    services_.settings.SaveSetting(SettingsApplication, SettingsSection, PlaceKey,
                                   saveGeometry().toBase64().toStdString());
}

void frmAlias::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.first().isLocalFile())
        event->acceptProposedAction();
}

void frmAlias::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    // A dropped file is imported, with the question File > Import asks.
    OpenNamedFile(main_, QDir::toNativeSeparators(urls.first().toLocalFile()).toStdString(), true);
}

} // namespace nm

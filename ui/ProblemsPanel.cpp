#include "ui/ProblemsPanel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace nm {

namespace {

// Where an item keeps the row its finding is about.
constexpr int PageRole = Qt::UserRole;
constexpr int KeyRole = Qt::UserRole + 1;

enum Column { LevelColumn, LineColumn, MessageColumn };

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QStyle::StandardPixmap LevelIcon(Severity level) {
    switch (level) {
    case Severity::Error:
        return QStyle::SP_MessageBoxCritical;
    case Severity::Warning:
        return QStyle::SP_MessageBoxWarning;
    case Severity::Note:
        break;
    }
    return QStyle::SP_MessageBoxInformation;
}

} // namespace

ProblemsPanel::ProblemsPanel(QWidget* parent) : QWidget(parent) {
    setObjectName("pnlProblems");
    setAccessibleName("问题");

    lblProblemsFile_ = new QLabel(this);
    lblProblemsFile_->setObjectName("lblProblemsFile");
    lblProblemsFile_->setAccessibleName("检查的文件");
    lblProblemsFile_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long path is cut off rather than widening the window; the tool tip has it whole.
    lblProblemsFile_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    cmdHideProblems_ = new QToolButton(this);
    cmdHideProblems_->setObjectName("cmdHideProblems");
    cmdHideProblems_->setAccessibleName("隐藏问题");
    cmdHideProblems_->setToolTip("隐藏问题");
    cmdHideProblems_->setText("×");
    cmdHideProblems_->setAutoRaise(true);
    connect(cmdHideProblems_, &QToolButton::clicked, this, &ProblemsPanel::hideRequested);

    lvwProblems_ = new QTreeWidget(this);
    lvwProblems_->setObjectName("lvwProblems");
    lvwProblems_->setAccessibleName("问题列表");
    lvwProblems_->setHeaderLabels({"级别", "行", "说明"});
    lvwProblems_->setRootIsDecorated(false);
    lvwProblems_->setUniformRowHeights(true);
    lvwProblems_->setAllColumnsShowFocus(true);
    lvwProblems_->header()->setStretchLastSection(true);
    lvwProblems_->setColumnWidth(LevelColumn, 72);
    lvwProblems_->setColumnWidth(LineColumn, 56);
    lvwProblems_->installEventFilter(this);
    connect(lvwProblems_, &QTreeWidget::itemDoubleClicked, this,
            [this](const QTreeWidgetItem* item) { Request(item); });

    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(lblProblemsFile_, 1);
    top->addWidget(cmdHideProblems_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(lvwProblems_);
    hide();
}

void ProblemsPanel::Show(const ProblemReport& report) {
    lvwProblems_->clear();
    if (report.problems.empty()) {
        hide();
        return;
    }
    const QString caption =
        QString("%1 的问题，检查于 %2").arg(Q(report.file), Q(report.checkedAt));
    lblProblemsFile_->setText(caption);
    lblProblemsFile_->setToolTip(caption + "\n读入文件时的检查结果，之后的修改不在其中。");

    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(report.problems.size()));
    for (const Problem& problem : report.problems) {
        auto* item = new QTreeWidgetItem(QStringList{
            Q(LevelText(problem.level)), QString::number(problem.line), Q(problem.message)});
        item->setIcon(LevelColumn, style()->standardIcon(LevelIcon(problem.level)));
        item->setTextAlignment(LineColumn, Qt::AlignRight | Qt::AlignVCenter);
        item->setToolTip(MessageColumn, Q(problem.message));
        item->setData(LevelColumn, PageRole, problem.page);
        item->setData(LevelColumn, KeyRole, problem.key);
        items.append(item);
    }
    lvwProblems_->addTopLevelItems(items);
    lvwProblems_->setCurrentItem(items.front());
    show();
}

bool ProblemsPanel::eventFilter(QObject* watched, QEvent* event) {
    // Enter leads to the row and goes no further: the window would take it
    // for its default button.
    if (watched == lvwProblems_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Request(lvwProblems_->currentItem());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ProblemsPanel::Request(const QTreeWidgetItem* item) {
    if (!item)
        return;
    const int page = item->data(LevelColumn, PageRole).toInt();
    if (page >= 0)
        emit rowRequested(page, item->data(LevelColumn, KeyRole).toInt());
}

} // namespace nm

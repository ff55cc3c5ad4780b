#include "ui/ProblemsPanel.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QStyle>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace nm {

namespace {

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

// The findings as the list shows them, made into text only for the rows in
// sight: a file with tens of thousands of findings costs the report alone.
class ProblemsPanel::Model final : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void Reset(ProblemReport report) {
        beginResetModel();
        report_ = std::move(report);
        endResetModel();
    }
    const Problem& At(const QModelIndex& index) const {
        return report_.problems[static_cast<std::size_t>(index.row())];
    }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(report_.problems.size());
    }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 3; }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        return QStringList{"级别", "行", "说明"}.value(section);
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid())
            return {};
        const Problem& problem = At(index);
        switch (role) {
        case Qt::DisplayRole:
            return index.column() == LevelColumn  ? Q(LevelText(problem.level))
                   : index.column() == LineColumn ? QVariant(problem.line)
                                                  : Q(problem.message);
        case Qt::ToolTipRole:
            return index.column() == MessageColumn ? Q(problem.message) : QVariant();
        case Qt::DecorationRole:
            if (index.column() == LevelColumn)
                return QApplication::style()->standardIcon(LevelIcon(problem.level));
            return {};
        case Qt::TextAlignmentRole:
            if (index.column() == LineColumn)
                return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
            return {};
        default:
            return {};
        }
    }

private:
    ProblemReport report_;
};

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

    model_ = new Model(this);
    lvwProblems_ = new QTreeView(this);
    lvwProblems_->setObjectName("lvwProblems");
    lvwProblems_->setAccessibleName("问题列表");
    lvwProblems_->setModel(model_);
    lvwProblems_->setRootIsDecorated(false);
    lvwProblems_->setUniformRowHeights(true);
    lvwProblems_->setAllColumnsShowFocus(true);
    lvwProblems_->header()->setStretchLastSection(true);
    lvwProblems_->setColumnWidth(LevelColumn, 72);
    lvwProblems_->setColumnWidth(LineColumn, 56);
    lvwProblems_->installEventFilter(this);
    connect(lvwProblems_, &QTreeView::doubleClicked, this, &ProblemsPanel::Request);

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

void ProblemsPanel::Show(ProblemReport report) {
    const bool none = report.problems.empty();
    const QString caption =
        QString("%1 的问题，检查于 %2").arg(Q(report.file), Q(report.checkedAt));
    model_->Reset(std::move(report));
    if (none) {
        hide();
        return;
    }
    lblProblemsFile_->setText(caption);
    lblProblemsFile_->setToolTip(caption + "\n读入文件时的检查结果，之后的修改不在其中。");
    lvwProblems_->setCurrentIndex(model_->index(0, 0));
    show();
}

bool ProblemsPanel::eventFilter(QObject* watched, QEvent* event) {
    // Enter leads to the row and goes no further: the window would take it
    // for its default button.
    if (watched == lvwProblems_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Request(lvwProblems_->currentIndex());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ProblemsPanel::Request(const QModelIndex& index) {
    if (!index.isValid())
        return;
    const Problem& problem = model_->At(index);
    if (problem.page >= 0)
        emit rowRequested(problem.page, problem.key);
}

} // namespace nm

// The problems of the file last opened or imported, under the lists: one
// finding a line (level, line, message), with the file and the time of the
// check above them, since the findings do not follow later edits. A finding
// about a row leads to that row.
#pragma once

#include "core/Problems.h"

#include <QWidget>

class QLabel;
class QModelIndex;
class QToolButton;
class QTreeView;

namespace nm {

class ProblemsPanel final : public QWidget {
    Q_OBJECT
public:
    explicit ProblemsPanel(QWidget* parent = nullptr);

    // Shows the report's findings in place of the ones before; a report
    // without any hides the panel.
    void Show(ProblemReport report);

signals:
    // A finding about a row was double-clicked or chosen with Enter.
    void rowRequested(int page, int key);
    // The close button was pressed: the window hides the panel.
    void hideRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Model;
    void Request(const QModelIndex& index);

    QLabel* lblProblemsFile_ = nullptr;
    QTreeView* lvwProblems_ = nullptr;
    QToolButton* cmdHideProblems_ = nullptr;
    Model* model_ = nullptr;
};

} // namespace nm

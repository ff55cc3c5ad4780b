// The problems panel: a report fills it under its caption, an empty one hides
// it, and a finding about a row asks for that row.
#include "ui/ProblemsPanel.h"

#include <QtTest>
#include <QtWidgets>

#include <gtest/gtest.h>

using namespace nm;

TEST(ProblemsPanel, ShowsFindingsAndLeadsToTheirRows) {
    ProblemsPanel panel;
    QSignalSpy rows(&panel, &ProblemsPanel::rowRequested);
    QSignalSpy hides(&panel, &ProblemsPanel::hideRequested);
    auto* list = panel.findChild<QTreeView*>("lvwProblems");
    ASSERT_NE(list, nullptr);

    panel.Show({"/x/vtrm.pgp",
                "2026-12-07 06:30",
                {{Severity::Warning, 3, "unknown", "unknown-command", ShellList, 7},
                 {Severity::Error, 9, "stops", "shell-commas"}},
                {}});
    ASSERT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.findChild<QLabel*>("lblProblemsFile")->text(),
              "/x/vtrm.pgp 的问题，检查于 2026-12-07 06:30");
    QStringList cells;
    const QAbstractItemModel* findings = list->model();
    for (int i = 0; i < findings->rowCount(); ++i)
        for (int c = 0; c < 3; ++c)
            cells << findings->index(i, c).data().toString();
    EXPECT_EQ(cells, QStringList({"警告", "3", "unknown", "错误", "9", "stops"}));

    // Double-click and Enter on the finding with a row; the other has none.
    for (int i : {0, 1}) {
        const QRect cell = list->visualRect(findings->index(i, 2));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center()); // the first click
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    }
    list->setCurrentIndex(findings->index(0, 0));
    QTest::keyClick(list, Qt::Key_Return);
    ASSERT_EQ(rows.count(), 2);
    EXPECT_EQ(rows.at(0), (QList<QVariant>{ShellList, 7}));
    EXPECT_EQ(rows.at(1), rows.at(0));

    panel.findChild<QToolButton*>("cmdHideProblems")->click();
    EXPECT_EQ(hides.count(), 1);
    panel.Show({"/x/vtrm.pgp", "2026-12-07 06:31", {}, {}});
    EXPECT_FALSE(panel.isVisible());
}

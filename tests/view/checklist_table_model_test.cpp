#include "view/checklist_table_model.h"

#include "model/checklist.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace tavik {
namespace {

// The list reads the checklist only through the model; every change must reach it as a
// signal, or the list would show stale rows.
TEST(ChecklistTableModel, ShowsTheChecklistAndSignalsEveryChange)
{
    Checklist checklist;
    ChecklistTableModel model(checklist);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);

    model.beginReplaceRows();
    checklist.appendRow({u"○", u"牛乳", u"02/12/23"}, u"低脂肪");
    checklist.appendRow({u"", u"パン", u""}, u"");
    model.endReplaceRows();
    EXPECT_EQ(resets.size(), 1);
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.columnCount(), 3);
    EXPECT_EQ(
        model.index(0, 0).data().toString() + model.index(0, 1).data().toString() + model.index(0, 2).data().toString(),
        QStringLiteral("○牛乳02/12/23"));

    model.setMark(1, u"×");
    model.setDate(1, u"03/03/05");
    EXPECT_EQ(changes.size(), 2);
    EXPECT_EQ(checklist.row(1).mark + checklist.row(1).date, u"×03/03/05");
    EXPECT_EQ(model.index(1, 0).data().toString(), QStringLiteral("×"));

    model.clearMarks();
    EXPECT_EQ(changes.size(), 3);
    EXPECT_EQ(changes.last().at(0).value<QModelIndex>(), model.index(0, 0));
    EXPECT_EQ(changes.last().at(1).value<QModelIndex>(), model.index(1, 2));
    EXPECT_TRUE(checklist.row(0).mark.empty() && checklist.row(0).date.empty());
}

}  // namespace
}  // namespace tavik

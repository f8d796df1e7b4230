#include "view/checklist_table_model.h"

#include "model/checklist.h"
#include "model/checklist_file.h"
#include "model/item_operations.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QSortFilterProxyModel>

#include <gtest/gtest.h>

#include <functional>

namespace tavik {
namespace {

constexpr Day kToday{2003, 3, 5};

QString Row(const QAbstractItemModel& model, int row)
{
    QStringList cells;
    for (int column = 0; column < model.columnCount(); ++column)
        cells << model.index(row, column).data().toString();
    return cells.join(QLatin1Char('|'));
}

QStringList Rows(const QAbstractItemModel& model)
{
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row)
        rows << Row(model, row);
    return rows;
}

// "row,column-row,column" for each dataChanged, in order.
QStringList Ranges(const QSignalSpy& spy)
{
    QStringList ranges;
    for (const QList<QVariant>& signal : spy) {
        const auto from = signal.at(0).value<QModelIndex>();
        const auto to = signal.at(1).value<QModelIndex>();
        ranges << QStringLiteral("%1,%2-%3,%4").arg(from.row()).arg(from.column()).arg(to.row()).arg(to.column());
    }
    return ranges;
}

// Every rule of the list reaches the list as exactly the signals that tell what
// changed, checked by Qt's model tester and seen through a sorting, filtering proxy
// as a find or a filter would put on top.
TEST(ChecklistTableModel, EveryChangeReachesTheListAndAProxyOnTop)
{
    Checklist checklist;
    ChecklistTableModel model(checklist);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&model);
    proxy.setFilterKeyColumn(ChecklistTableModel::kMarkColumn);
    proxy.setFilterFixedString(QStringLiteral("○"));
    QAbstractItemModelTester proxyTester(&proxy, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserts(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);

    ReadChecklist("a\r\nb\r\nc\r\n", checklist);
    EXPECT_GE(resets.size(), 1);
    EXPECT_EQ(Rows(model), (QStringList{"|a|", "|b|", "|c|"}));
    EXPECT_EQ(proxy.rowCount(), 0);

    struct Step {
        const char* what;
        std::function<void()> change;
        QStringList ranges;  // dataChanged, in order
        int inserted;
        QStringList shown;  // the list afterwards
        QStringList done;  // what the proxy shows: the rows marked done
    };
    const Step steps[] = {
        {"mark", [&] { MarkRow(checklist, 1, kToday); }, {"1,0-1,0", "1,2-1,2"}, 0, {"|a|", "○|b|03/03/05", "|c|"},
            {"○|b|03/03/05"}},
        {"edit", [&] { EditRow(checklist, 1, u"B", u"note!!", kToday); }, {"1,1-1,2"}, 0,
            {"|a|", "○|B|03/03/05", "|c|"}, {"○|B|03/03/05"}},
        {"move down", [&] { MoveRow(checklist, 1, 1); }, {"1,0-2,2"}, 0, {"|a|", "|c|", "○|B|03/03/05"},
            {"○|B|03/03/05"}},
        {"move up past a row alike but the text", [&] { MoveRow(checklist, 1, -1); }, {"0,1-1,1"}, 0,
            {"|c|", "|a|", "○|B|03/03/05"}, {"○|B|03/03/05"}},
        {"append", [&] { AppendItem(checklist, u"d", u""); }, {}, 1, {"|c|", "|a|", "○|B|03/03/05", "|d|"},
            {"○|B|03/03/05"}},
        {"cut", [&] { CutRow(checklist, 2, kToday); }, {"2,0-2,2"}, 0, {"|c|", "|a|", "削||03/03/05", "|d|"}, {}},
        {"delete through the editor", [&] { EditRow(checklist, 0, u"", u"", kToday); }, {"0,0-0,1"}, 0,
            {"削||", "|a|", "削||03/03/05", "|d|"}, {}},
        {"mark again", [&] { MarkRow(checklist, 3, kToday); }, {"3,0-3,0", "3,2-3,2"}, 0,
            {"削||", "|a|", "削||03/03/05", "○|d|03/03/05"}, {"○|d|03/03/05"}},
        {"clear", [&] { ClearMarks(checklist); }, {"0,0-3,0", "0,2-3,2"}, 0, {"削||", "|a|", "削||03/03/05", "|d|"},
            {}},
    };
    for (const Step& step : steps) {
        changes.clear();
        inserts.clear();
        step.change();
        EXPECT_EQ(Ranges(changes), step.ranges) << step.what;
        EXPECT_EQ(inserts.size(), step.inserted) << step.what;
        EXPECT_EQ(Rows(model), step.shown) << step.what;
        EXPECT_EQ(Rows(proxy), step.done) << step.what;
    }
}

}  // namespace
}  // namespace tavik

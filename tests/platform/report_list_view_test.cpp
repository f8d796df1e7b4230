#include "platform/report_list_view.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <vector>

namespace tavik {
namespace {

// The list with sizeHintForRow() public: the height its item delegate asks for a row.
class ListProbe : public ReportListView {
public:
    using ReportListView::ReportListView;
    using ReportListView::sizeHintForRow;
};

QFont ListFont(double points)
{
    QFont font(QStringLiteral("IPAGothic"));
    font.setPointSizeF(points);
    return font;
}

// A window with the list above a line edit; fill() gives the list `rows` rows of a mark,
// a word with the row number, and a date.
class ReportListViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_list->setSelectionMode(QAbstractItemView::SingleSelection);
        m_list->setGeometry(0, 0, 230, 300);
        m_next->setGeometry(0, 305, 230, 20);
        m_window.resize(240, 330);
    }

    void fill(int rows)
    {
        const QStringList words{"apple", "banana", "aa", "cherry", "avocado"};
        for (int row = 0; row < rows; ++row)
            m_model.appendRow({new QStandardItem(QStringLiteral("○")),
                new QStandardItem(words[row % words.size()] + QString::number(row)),
                new QStandardItem(QStringLiteral("26/05/01"))});
        m_list->setModel(&m_model);
    }

    void showFocused()
    {
        m_window.show();
        QApplication::setActiveWindow(&m_window);
        m_list->setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
    }

    int currentRow() const { return m_list->currentIndex().row(); }
    // The row whose top is at the top of the viewport.
    int topRow() const { return m_list->rowAt(0); }

    QWidget m_window;
    ListProbe* m_list = new ListProbe(&m_window);
    QLineEdit* m_next = new QLineEdit(&m_window);
    QStandardItemModel m_model{0, 3};
};

// Every row is as tall as the item delegate asks for its text, at every size of the
// program's list font, and follows a change of the font, as do the column titles.
TEST_F(ReportListViewTest, Rows_AreAsTallAsTheirTextInEveryListFontSize)
{
    fill(3);
    m_model.setItem(1, 1, new QStandardItem());
    m_model.setItem(2, 1, new QStandardItem(QStringLiteral("項目ｶﾀｶﾅ① jy")));
    // As in the program, the first font comes before the list is shown.
    m_list->setFont(ListFont(7.0));
    showFocused();
    for (int tenths = 70; tenths <= 150; tenths += 5) {
        m_list->setFont(ListFont(tenths / 10.0));
        for (int row = 0; row < 3; ++row)
            EXPECT_EQ(m_list->rowHeight(row), m_list->sizeHintForRow(row)) << tenths << " row " << row;
        EXPECT_EQ(m_list->horizontalHeader()->font().toString(), m_list->font().toString()) << tenths;
    }
    // The end-to-end runs click rows 13 pixels apart in the standard 9-point font.
    m_list->setFont(ListFont(9.0));
    EXPECT_EQ(m_list->rowViewportPosition(1) - m_list->rowViewportPosition(0), 13);
}

// Keys move between rows and keep the column, sideways they select nothing anew, and Tab
// goes on to the next control. Typing goes to the next row starting with what was typed;
// one letter typed again and again steps through the rows starting with it.
TEST_F(ReportListViewTest, Keys_MoveBetweenRowsAndTabLeaves)
{
    fill(100);
    showFocused();
    m_list->setCurrentIndex(m_model.index(10, 1));
    const int rowHeight = m_list->rowHeight(0);
    const int height = m_list->viewport()->height();

    QTest::keyClick(m_list, Qt::Key_End);
    EXPECT_EQ(m_list->currentIndex(), m_model.index(99, 1));
    // At the end of the list the rows still start whole at the top.
    EXPECT_EQ(m_list->rowViewportPosition(topRow()), 0);
    QTest::keyClick(m_list, Qt::Key_Home);
    EXPECT_EQ(m_list->currentIndex(), m_model.index(0, 1));
    // A page down goes to the row a viewport's height below the current row's top, a
    // page up to the one a viewport's height above it.
    QTest::keyClick(m_list, Qt::Key_PageDown);
    QTest::keyClick(m_list, Qt::Key_PageDown);
    EXPECT_EQ(currentRow(), 2 * (height / rowHeight));
    QTest::keyClick(m_list, Qt::Key_PageUp);
    EXPECT_EQ(currentRow(), 2 * (height / rowHeight) - (height + rowHeight - 1) / rowHeight);

    m_list->setCurrentIndex(m_model.index(1, 1));
    QSignalSpy currentChanges(m_list->selectionModel(), &QItemSelectionModel::currentChanged);
    QTest::keyClick(m_list, Qt::Key_Right);
    QTest::keyClick(m_list, Qt::Key_Left);
    EXPECT_EQ(currentChanges.count(), 0);
    std::vector<int> found;
    for (int press = 0; press < 3; ++press) {
        QTest::keyClick(m_list, Qt::Key_A);
        found.push_back(currentRow());
    }
    EXPECT_EQ(found, (std::vector<int>{2, 4, 5}));
    QTest::qWait(QApplication::keyboardInputInterval() + 100);
    QTest::keyClicks(m_list, QStringLiteral("ch"));
    EXPECT_EQ(m_list->currentIndex(), m_model.index(8, 1));

    QTest::keyClick(m_list, Qt::Key_Tab);
    EXPECT_TRUE(m_next->hasFocus());
}

// The focus frame goes around the current row as a whole: along the row's top edge it
// runs unbroken over the borders of the cells.
TEST_F(ReportListViewTest, FocusFrame_SurroundsTheWholeRow)
{
    fill(3);
    for (int column = 0; column < 3; ++column)
        m_model.setItem(1, column, new QStandardItem());
    showFocused();
    m_list->setColumnWidth(0, 40);
    m_list->setColumnWidth(1, 100);
    m_list->setColumnWidth(2, 60);
    m_list->setCurrentIndex(m_model.index(1, 1));
    const QRect row = m_list->visualRect(m_model.index(1, 0)).united(m_list->visualRect(m_model.index(1, 2)));
    const QImage shown = m_list->viewport()->grab().toImage();

    const QColor edge = shown.pixelColor(row.left() + 3, row.top());
    EXPECT_NE(edge, shown.pixelColor(row.left() + 3, row.center().y())) << "no frame";
    for (int x = row.left() + 3; x < row.right() - 2; ++x)
        ASSERT_EQ(shown.pixelColor(x, row.top()), edge) << "x " << x;
}

// A double click below the rows does nothing; beside the columns of a row it is a
// double click on the row, on no cell.
TEST_F(ReportListViewTest, DoubleClick_CountsOnlyOnRows)
{
    fill(3);
    showFocused();
    for (int column = 0; column < 3; ++column)
        m_list->setColumnWidth(column, 50);
    m_list->setCurrentIndex(m_model.index(1, 1));
    QSignalSpy doubleClicks(m_list, &QAbstractItemView::doubleClicked);
    // As a mouse makes it: a press and a release, then the second press.
    const auto doubleClick = [this](QPoint point) {
        QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, point);
        QTest::mouseDClick(m_list->viewport(), Qt::LeftButton, {}, point);
    };
    const int rowY = m_list->visualRect(m_model.index(2, 0)).center().y();

    doubleClick(QPoint(60, m_list->viewport()->height() - 5));
    EXPECT_EQ(doubleClicks.count(), 0);
    EXPECT_EQ(currentRow(), 1);
    doubleClick(QPoint(60, rowY));
    doubleClick(QPoint(180, rowY));
    ASSERT_EQ(doubleClicks.count(), 2);
    EXPECT_EQ(doubleClicks.at(0).at(0).value<QModelIndex>(), m_model.index(2, 1));
    EXPECT_FALSE(doubleClicks.at(1).at(0).value<QModelIndex>().isValid());
}

// A row added at the end and brought into sight at once shows whole, at the bottom.
TEST_F(ReportListViewTest, ScrollTo_ReachesARowJustAdded)
{
    fill(100);
    showFocused();
    m_model.appendRow({new QStandardItem(), new QStandardItem(QStringLiteral("new")), new QStandardItem()});
    m_list->scrollTo(m_model.index(100, 0));
    EXPECT_GE(m_list->rowViewportPosition(100), 0);
    EXPECT_LE(m_list->rowViewportPosition(100) + m_list->rowHeight(100), m_list->viewport()->height());
    EXPECT_EQ(m_list->rowViewportPosition(topRow()), 0);
}

}  // namespace
}  // namespace tavik

#include "platform/report_list_view.h"

#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStringListModel>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>

namespace tavik {

namespace {

// The line whose height every row takes: Latin letters reaching above and below, kana
// and kanji.
const QString kSampleText = QStringLiteral("Ag あ漢");

// Draws a cell as one part of its row: without a focus frame of its own (the view frames
// the whole current row) and placed at the row's beginning, middle or end for styles that
// draw a row as one piece.
class RowCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem cell = option;
        cell.state &= ~QStyle::State_HasFocus;
        const int last = index.model()->columnCount(index.parent()) - 1;
        if (last == 0)
            cell.viewItemPosition = QStyleOptionViewItem::OnlyOne;
        else if (index.column() == 0)
            cell.viewItemPosition = QStyleOptionViewItem::Beginning;
        else if (index.column() == last)
            cell.viewItemPosition = QStyleOptionViewItem::End;
        else
            cell.viewItemPosition = QStyleOptionViewItem::Middle;
        QStyledItemDelegate::paint(painter, cell, index);
    }
};

}  // namespace

ReportListView::ReportListView(QWidget* parent)
    : QTableView(parent)
{
    setItemDelegate(new RowCellDelegate(this));
    setSelectionBehavior(SelectRows);
    setEditTriggers(NoEditTriggers);
    setSortingEnabled(false);
    setShowGrid(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);
    setHorizontalScrollMode(ScrollPerPixel);

    QHeaderView* titles = horizontalHeader();
    titles->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    titles->setSectionsClickable(false);
    titles->setHighlightSections(false);
    titles->setSectionsMovable(false);
    titles->setStretchLastSection(false);

    // Rows keep one height each and are never measured one by one.
    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(1);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(textRowHeight());
}

int ReportListView::textRowHeight() const
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QStringListModel sample(QStringList{kSampleText});
    return itemDelegate()->sizeHint(option, sample.index(0)).height();
}

void ReportListView::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    // Rows just added are laid out first, so that the scroll bar reaches them.
    executeDelayedItemsLayout();
    QTableView::scrollTo(index, hint);
}

void ReportListView::keyboardSearch(const QString& search)
{
    const QAbstractItemModel* items = model();
    const int rows = items ? items->rowCount(rootIndex()) : 0;
    if (rows == 0 || items->columnCount(rootIndex()) == 0)
        return;
    // Keys typed within the keyboard input interval of each other make one text; a new
    // text is looked for from the row below the current one.
    const bool continued
        = !search.isEmpty() && m_typedTime.isValid() && m_typedTime.elapsed() <= QApplication::keyboardInputInterval();
    m_typedTime.start();
    bool below = false;
    if (continued) {
        m_typed += search;
    } else {
        m_typed = search;
        below = currentIndex().isValid();
    }
    // One letter typed again and again is looked for alone, each time from the next row.
    const bool sameKey = m_typed.size() > 1 && m_typed.count(m_typed.back()) == m_typed.size();
    QModelIndex start = currentIndex().isValid() ? currentIndex() : items->index(0, 0, rootIndex());
    if (below || sameKey)
        start = items->index(start.row() + 1 < rows ? start.row() + 1 : 0, start.column(), rootIndex());
    const QModelIndexList found = items->match(
        start, Qt::DisplayRole, sameKey ? QString(m_typed.front()) : m_typed, 1, Qt::MatchStartsWith | Qt::MatchWrap);
    if (!found.isEmpty())
        setCurrentIndex(found.first());
}

void ReportListView::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        // The column titles are in the list's font; a table's header does not always
        // take a new font from the view by itself.
        if (event->type() == QEvent::FontChange)
            horizontalHeader()->setFont(font());
        const int height = textRowHeight();
        if (height != verticalHeader()->defaultSectionSize())
            verticalHeader()->setDefaultSectionSize(height);
    }
}

QModelIndex ReportListView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex current = currentIndex();
    if (!current.isValid())  // the first row
        return QTableView::moveCursor(cursorAction, modifiers);
    const int rows = model()->rowCount(rootIndex());
    int row = current.row();
    switch (cursorAction) {
    case MoveUp:
    case MovePrevious:
        row = std::max(row - 1, 0);
        break;
    case MoveDown:
    case MoveNext:
        row = std::min(row + 1, rows - 1);
        break;
    case MovePageUp: {
        // The row a viewport's height above the current row's top, or the first one.
        const int y = rowViewportPosition(row) - viewport()->height();
        row = y + verticalOffset() < 0 ? 0 : std::max(rowAt(y), 0);
        break;
    }
    case MovePageDown:
        // The row a viewport's height below the current row's top, or the last one.
        row = rowAt(rowViewportPosition(row) + viewport()->height());
        if (row < 0)
            row = rows - 1;
        break;
    case MoveHome:
        row = 0;
        break;
    case MoveEnd:
        row = rows - 1;
        break;
    case MoveLeft:
    case MoveRight: {
        // Whole rows are selected: sideways the list only scrolls.
        QScrollBar* bar = horizontalScrollBar();
        const bool back = (cursorAction == MoveLeft) != isRightToLeft();
        bar->setValue(bar->value() + (back ? -bar->singleStep() : bar->singleStep()));
        return current;
    }
    }
    return model()->index(row, current.column(), rootIndex());
}

void ReportListView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    // The focus frame goes around whole rows.
    for (const QModelIndex& index : {previous, current}) {
        if (index.isValid())
            viewport()->update(rowRect(index.row()));
    }
}

void ReportListView::paintEvent(QPaintEvent* event)
{
    QTableView::paintEvent(event);
    const QModelIndex current = currentIndex();
    if (!hasFocus() || !current.isValid())
        return;
    // One focus frame around the whole current row, over its cells.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    QStyleOptionFocusRect focus;
    focus.QStyleOption::operator=(option);
    focus.state |= QStyle::State_KeyboardFocusChange;
    const QPalette::ColorGroup group = (option.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
    focus.backgroundColor
        = option.palette.color(group, selectionModel()->isSelected(current) ? QPalette::Highlight : QPalette::Window);
    const QRect frame(-horizontalOffset(), rowViewportPosition(current.row()), horizontalHeader()->length(),
        rowHeight(current.row()));
    focus.rect = style()->visualRect(layoutDirection(), viewport()->rect(), frame);
    QPainter painter(viewport());
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter);
}

void ReportListView::mousePressEvent(QMouseEvent* event)
{
    m_pressedIndex = indexAt(event->position().toPoint());
    QTableView::mousePressEvent(event);
}

void ReportListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (state() != NoState || !viewport()->rect().contains(point) || rowAt(point.y()) < 0)
        return;
    // Beside the columns of a row, pressed there too: a double click on the row, on no cell.
    if (!indexAt(point).isValid() && !m_pressedIndex.isValid()) {
        emit doubleClicked(QModelIndex());
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
}

void ReportListView::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    alignFirstRowToTop();
}

void ReportListView::updateGeometries()
{
    QTableView::updateGeometries();
    alignFirstRowToTop();
}

void ReportListView::alignFirstRowToTop()
{
    if (verticalScrollMode() != ScrollPerItem)
        return;
    QHeaderView* rows = verticalHeader();
    const int offset = rows->offset();
    rows->setOffsetToSectionPosition(verticalScrollBar()->value());
    if (rows->offset() != offset)
        viewport()->update();
}

QRect ReportListView::rowRect(int row) const
{
    return QRect(0, rowViewportPosition(row), viewport()->width(), rowHeight(row));
}

}  // namespace tavik

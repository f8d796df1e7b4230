#pragma once

#include <QElapsedTimer>
#include <QPersistentModelIndex>
#include <QTableView>

namespace tavik {

// The list view control in report style: a table that keeps no record per row, shown
// and driven as a one-level list of whole rows. Column titles above, no row header, no
// grid; the whole row is selected, and the focus is drawn around the whole current row.
// Every row is as tall as the item delegate makes one line of text in the list's font,
// and follows font and style changes. Up, Down, PageUp, PageDown, Home and End move to
// another row in the same column, Left and Right only scroll, and Tab leaves the list.
// Typing goes to the next row whose text in the current column starts with what was
// typed; the same letter typed again and again steps through the rows starting with it.
// A double click outside the rows does nothing.
class ReportListView : public QTableView {
    Q_OBJECT
public:
    explicit ReportListView(QWidget* parent = nullptr);

    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void keyboardSearch(const QString& search) override;

protected:
    void changeEvent(QEvent* event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void updateGeometries() override;

private:
    // The height every row gets in the current font and style.
    int textRowHeight() const;
    // Scrolled row by row, the row the scroll bar names is the top one, at the end of the
    // list too: the rows never move up by part of a row to close a gap below the last one.
    void alignFirstRowToTop();

    // The whole width of the viewport at `row`, in viewport coordinates.
    QRect rowRect(int row) const;

    // Where the last press fell, to tell a double click on the pressed cell.
    QPersistentModelIndex m_pressedIndex;
    // What was typed for the search, and since when.
    QString m_typed;
    QElapsedTimer m_typedTime;
};

}  // namespace tavik

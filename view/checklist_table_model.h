#pragma once

#include "model/item_row.h"

#include <QAbstractTableModel>

#include <string>

namespace tavik {

class Checklist;

// Shows the rows of the open checklist as the list's three columns: mark, item
// text and date. Row k of the list is row k of the checklist; every change to
// rows goes through this model so the list never shows a stale row.
class ChecklistTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kMarkColumn, kTextColumn, kDateColumn, kColumnCount };

    explicit ChecklistTableModel(Checklist& checklist, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Bracket a change that replaces every row, such as loading a file: one reset.
    void beginReplaceRows();
    void endReplaceRows();

    // Adds a row after the last one, with its comment.
    void appendRow(ItemRow row, std::u16string comment);
    // Exchanges two rows with their comments, as a move up or down does.
    void swapRows(int a, int b);

    void setMark(int row, std::u16string mark);
    void setText(int row, std::u16string text);
    void setDate(int row, std::u16string date);
    // Every row loses its mark and its date.
    void clearMarks();

private:
    Checklist& m_checklist;
};

}  // namespace tavik

#include "view/checklist_table_model.h"

#include "model/checklist.h"
#include "platform/qt_text.h"

namespace tavik {

ChecklistTableModel::ChecklistTableModel(Checklist& checklist, QObject* parent)
    : QAbstractTableModel(parent)
    , m_checklist(checklist)
{
}

int ChecklistTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_checklist.rowCount());
}

int ChecklistTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant ChecklistTableModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const ItemRow& row = m_checklist.row(static_cast<std::size_t>(index.row()));
    switch (index.column()) {
    case kMarkColumn:
        return ToQString(row.mark);
    case kTextColumn:
        return ToQString(row.text);
    default:
        return ToQString(row.date);
    }
}

QVariant ChecklistTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case kMarkColumn:
        return QStringLiteral("検");
    case kTextColumn:
        return QStringLiteral("項目");
    case kDateColumn:
        return QStringLiteral("日付");
    default:
        return {};
    }
}

void ChecklistTableModel::beginReplaceRows()
{
    beginResetModel();
}

void ChecklistTableModel::endReplaceRows()
{
    endResetModel();
}

void ChecklistTableModel::appendRow(ItemRow row, std::u16string comment)
{
    const int last = rowCount();
    beginInsertRows(QModelIndex(), last, last);
    m_checklist.appendRow(std::move(row), std::move(comment));
    endInsertRows();
}

void ChecklistTableModel::swapRows(int a, int b)
{
    m_checklist.swapRows(static_cast<std::size_t>(a), static_cast<std::size_t>(b));
    // Two rows change their contents; the rows themselves stay, which keeps this cheap
    // on a long list.
    emit dataChanged(index(a, kMarkColumn), index(a, kDateColumn), {Qt::DisplayRole});
    emit dataChanged(index(b, kMarkColumn), index(b, kDateColumn), {Qt::DisplayRole});
}

void ChecklistTableModel::setText(int row, std::u16string text)
{
    m_checklist.setText(static_cast<std::size_t>(row), std::move(text));
    emit dataChanged(index(row, kTextColumn), index(row, kTextColumn), {Qt::DisplayRole});
}

void ChecklistTableModel::setMark(int row, std::u16string mark)
{
    m_checklist.setMark(static_cast<std::size_t>(row), std::move(mark));
    emit dataChanged(index(row, kMarkColumn), index(row, kMarkColumn), {Qt::DisplayRole});
}

void ChecklistTableModel::setDate(int row, std::u16string date)
{
    m_checklist.setDate(static_cast<std::size_t>(row), std::move(date));
    emit dataChanged(index(row, kDateColumn), index(row, kDateColumn), {Qt::DisplayRole});
}

void ChecklistTableModel::clearMarks()
{
    const int rows = rowCount();
    for (int row = 0; row < rows; ++row) {
        m_checklist.setMark(static_cast<std::size_t>(row), {});
        m_checklist.setDate(static_cast<std::size_t>(row), {});
    }
    if (rows > 0)
        emit dataChanged(index(0, kMarkColumn), index(rows - 1, kDateColumn), {Qt::DisplayRole});
}

}  // namespace tavik

#include "view/checklist_table_model.h"

#include "model/checklist.h"
#include "platform/qt_text.h"

namespace tavik {

namespace {

// The list's columns, each with the cell of a row it shows.
constexpr std::uint8_t kColumnCells[] = {kMarkCell, kTextCell, kDateCell};

}  // namespace

ChecklistTableModel::ChecklistTableModel(Checklist& checklist, QObject* parent)
    : QAbstractTableModel(parent)
    , m_checklist(checklist)
{
    m_checklist.setObserver(this);
}

ChecklistTableModel::~ChecklistTableModel()
{
    m_checklist.setObserver(nullptr);
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
    const ItemRow row = m_checklist.row(static_cast<std::size_t>(index.row()));
    switch (index.column()) {
    case kMarkColumn:
        return ToQString(MarkText(row.mark));
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

void ChecklistTableModel::checklistChanging(const ChecklistChange& change)
{
    switch (change.kind) {
    case ChecklistChange::Kind::Reset:
        beginResetModel();
        break;
    case ChecklistChange::Kind::RowsInserted:
        beginInsertRows(QModelIndex(), static_cast<int>(change.first), static_cast<int>(change.last));
        break;
    case ChecklistChange::Kind::RowsRemoved:
        beginRemoveRows(QModelIndex(), static_cast<int>(change.first), static_cast<int>(change.last));
        break;
    case ChecklistChange::Kind::CellsChanged:
    case ChecklistChange::Kind::HeaderChanged:
        break;
    }
}

void ChecklistTableModel::checklistChanged(const ChecklistChange& change)
{
    switch (change.kind) {
    case ChecklistChange::Kind::Reset:
        endResetModel();
        break;
    case ChecklistChange::Kind::RowsInserted:
        endInsertRows();
        break;
    case ChecklistChange::Kind::RowsRemoved:
        endRemoveRows();
        break;
    case ChecklistChange::Kind::CellsChanged:
        // One signal for each run of neighbouring changed columns; a comment is no column.
        for (int column = 0; column < kColumnCount;) {
            if (!(change.cells & kColumnCells[column])) {
                ++column;
                continue;
            }
            int last = column;
            while (last + 1 < kColumnCount && change.cells & kColumnCells[last + 1])
                ++last;
            emit dataChanged(index(static_cast<int>(change.first), column), index(static_cast<int>(change.last), last),
                {Qt::DisplayRole});
            column = last + 1;
        }
        break;
    case ChecklistChange::Kind::HeaderChanged:
        break;
    }
}

}  // namespace tavik

#pragma once

#include "model/checklist_change.h"

#include <QAbstractTableModel>

namespace tavik {

class Checklist;

// Shows the rows of the open checklist as the list's three columns: mark, item
// text and date. Row k of the list is row k of the checklist. The checklist tells
// the model of every change, and this one path turns each into the signals a view
// or a proxy on top needs: a reset, inserted rows, or the changed cells only.
class ChecklistTableModel : public QAbstractTableModel, private ChecklistObserver {
    Q_OBJECT
public:
    enum Column { kMarkColumn, kTextColumn, kDateColumn, kColumnCount };

    explicit ChecklistTableModel(Checklist& checklist, QObject* parent = nullptr);
    ~ChecklistTableModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void checklistChanging(const ChecklistChange& change) override;
    void checklistChanged(const ChecklistChange& change) override;

    Checklist& m_checklist;
};

}  // namespace tavik

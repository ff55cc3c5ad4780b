// The list views' view of one EntryTable: the rows are the core's, never
// copied; every change of the table goes through Change() so that the views
// follow it.
#pragma once

#include "core/EntryTable.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <functional>

namespace nm {

class EntryTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    EntryTableModel(EntryTable& table, QStringList headers, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    EntryTable& Table() { return table_; }
    // Runs a change of the table and tells the views about it.
    void Change(const std::function<void()>& change);

private:
    EntryTable& table_;
    QStringList headers_;
};

} // namespace nm

// The list views' view of one EntryTable: the rows are the core's, never
// copied; every change of the table goes through the model so that the views
// follow it, row by row for a single edit and whole for a reload.
#pragma once

#include "core/EntryTable.h"

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <QStringList>
#include <QStyledItemDelegate>

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
    // The table is filled anew or cleared inside `change`.
    void Reset(const std::function<void()>& change);
    // `change` adds the row that takes the 0-based `position`.
    void InsertRow(std::size_t position, const std::function<void()>& change);
    // `change` removes the row at `position`.
    void RemoveRow(std::size_t position, const std::function<void()>& change);
    // `change` puts the rows in another order (a sort); the views keep their
    // selected and current rows, followed by key.
    void Reorder(const std::function<void()>& change);
    // `change` alters the row holding `key`, which may move to another place.
    void UpdateRow(int key, const std::function<void()>& change);

private:
    EntryTable& table_;
    QStringList headers_;
};

// The rows of a list that match the filter typed above it, in the table's
// order: a view of the model, not a copy of the rows.
class RowFilter final : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit RowFilter(EntryTableModel& model, QObject* parent = nullptr);
    void SetText(const QString& text);
    bool Matches(std::size_t position) const;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override;

private:
    EntryTableModel& model_;
    std::string lowered_;
};

// The lists' cells: a tool tip with the whole text where the column cuts it
// off, and the row's own tool tip (a replaced row says why) wherever it has one.
class CutTextToolTips final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};

} // namespace nm

#include "ui/EntryTableModel.h"

namespace nm {

EntryTableModel::EntryTableModel(EntryTable& table, QStringList headers, QObject* parent)
    : QAbstractTableModel(parent), table_(table), headers_(std::move(headers)) {}

int EntryTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.Count());
}

int EntryTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant EntryTableModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount() ||
        index.column() >= columnCount())
        return {};
    return QString::fromStdString(
        table_.At(static_cast<std::size_t>(index.row())).Column(index.column()));
}

QVariant EntryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= headers_.size())
        return {};
    if (role == Qt::DisplayRole)
        return headers_[section];
    return {};
}

void EntryTableModel::Change(const std::function<void()>& change) {
    beginResetModel();
    try {
        change();
    } catch (...) {
        endResetModel();
        throw;
    }
    endResetModel();
}

} // namespace nm

#include "ui/EntryTableModel.h"

#include "host/Utf8.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPalette>
#include <QStyle>
#include <QToolTip>

#include <vector>

namespace nm {

namespace {

// Runs `change` between the two signals that announce it; a change that
// fails half way still ends its announcement, so that the views read again.
void Announced(const std::function<void()>& begin, const std::function<void()>& change,
               const std::function<void()>& end) {
    begin();
    try {
        change();
    } catch (...) {
        end();
        throw;
    }
    end();
}

} // namespace

EntryTableModel::EntryTableModel(EntryTable& table, QStringList headers, QObject* parent)
    : QAbstractTableModel(parent), table_(table), headers_(std::move(headers)) {}

int EntryTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.Count());
}

int EntryTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant EntryTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const Row& row = table_.At(static_cast<std::size_t>(index.row()));
    const auto qtext = [](std::string_view text) {
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    };
    const bool marked = row.text == MarkedName;
    switch (role) {
    case Qt::DisplayRole:
        return qtext(row.Column(index.column()));
    case Qt::ForegroundRole: // a row a later definition replaced is greyed
        return marked ? QVariant(QPalette().brush(QPalette::Disabled, QPalette::Text)) : QVariant();
    case Qt::ToolTipRole: // a replaced row says which definition replaced it
        return marked ? QStringLiteral("后面的同名定义替换了这个热键 (") + qtext(row.sub[0]) +
                            QStringLiteral("); 保存时不写入")
                      : QVariant();
    default:
        return {};
    }
}

QVariant EntryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= headers_.size())
        return {};
    if (role == Qt::DisplayRole)
        return headers_[section];
    return {};
}

void EntryTableModel::Reset(const std::function<void()>& change) {
    Announced([this] { beginResetModel(); }, change, [this] { endResetModel(); });
}

void EntryTableModel::InsertRow(std::size_t position, const std::function<void()>& change) {
    const int row = static_cast<int>(position);
    Announced([this, row] { beginInsertRows({}, row, row); }, change, [this] { endInsertRows(); });
}

void EntryTableModel::RemoveRow(std::size_t position, const std::function<void()>& change) {
    const int row = static_cast<int>(position);
    Announced([this, row] { beginRemoveRows({}, row, row); }, change, [this] { endRemoveRows(); });
}

void EntryTableModel::Reorder(const std::function<void()>& change) {
    QModelIndexList before;
    std::vector<int> keys;
    Announced(
        [&] {
            emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
            before = persistentIndexList();
            for (const QModelIndex& index : before)
                keys.push_back(table_.At(static_cast<std::size_t>(index.row())).key);
        },
        change,
        [&] {
            QModelIndexList after;
            for (qsizetype i = 0; i < before.size(); ++i) {
                const auto position = table_.FindKey(keys[static_cast<std::size_t>(i)]);
                after.push_back(position ? index(static_cast<int>(*position), before[i].column())
                                         : QModelIndex());
            }
            changePersistentIndexList(before, after);
            emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
        });
}

void EntryTableModel::UpdateRow(int key, const std::function<void()>& change) {
    Reorder(change);
    if (const auto position = table_.FindKey(key)) {
        const int row = static_cast<int>(*position);
        emit dataChanged(index(row, 0), index(row, columnCount() - 1), {Qt::DisplayRole});
    }
}

bool CutTextToolTips::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event->type() != QEvent::ToolTip || !index.isValid() ||
        index.data(Qt::ToolTipRole).isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const QStyle* style = view->style();
    const int room = style->subElementRect(QStyle::SE_ItemViewItemText, &cell, view).width() -
                     2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, &cell, view) + 1);
    if (cell.fontMetrics.horizontalAdvance(cell.text) > room)
        QToolTip::showText(event->globalPos(), cell.text, view->viewport(), option.rect);
    else
        QToolTip::hideText();
    return true;
}

RowFilter::RowFilter(EntryTableModel& model, QObject* parent)
    : QSortFilterProxyModel(parent), model_(model) {
    setSourceModel(&model);
}

void RowFilter::SetText(const QString& text) {
    lowered_ = LowerCase(text.toStdString());
    invalidateFilter();
}

bool RowFilter::Matches(std::size_t position) const {
    return position < model_.Table().Count() && RowMatches(model_.Table().At(position), lowered_);
}

Qt::ItemFlags RowFilter::flags(const QModelIndex& index) const {
    // A list's layout asks for the flags of every row it shows, and the
    // model's are the same for all its rows: asked of its first row, without
    // mapping each row back to the model.
    if (!index.isValid() || index.model() != this)
        return QSortFilterProxyModel::flags(index);
    return model_.flags(model_.index(0, index.column()));
}

bool RowFilter::filterAcceptsRow(int row, const QModelIndex&) const {
    return Matches(static_cast<std::size_t>(row));
}

} // namespace nm

#include "EntryTable.h"

#include "Text.h"

#include <algorithm>
#include <charconv>
#include <numeric>

namespace nm {

const std::string& Row::Column(int column) const {
    if (column <= 0)
        return text;
    return sub[static_cast<std::size_t>(std::min(column, 3) - 1)];
}

std::string KeyText(int number) {
    return "key" + std::to_string(number);
}

int KeyNumber(const std::string& key) {
    if (key.size() <= 3)
        return 0;
    int value = 0;
    const char* first = key.data() + 3;
    std::from_chars(first, key.data() + key.size(), value);
    return value;
}

bool EntryTable::Before(const Row& a, const Row& b, int column) const {
    int c = CompareNoCase(a.Column(column), b.Column(column));
    if (descending_)
        c = -c;
    if (c != 0)
        return c < 0;
    return a.added < b.added;
}

std::size_t EntryTable::Add(std::string text, std::array<std::string, 3> sub) {
    Row row{static_cast<int>(rows_.size()) + 1, std::move(text), std::move(sub), nextAdded_++};
    auto where = rows_.end();
    if (sorting_)
        where =
            std::upper_bound(rows_.begin(), rows_.end(), row, [this](const Row& a, const Row& b) {
                return Before(a, b, sortColumn_);
            });
    const auto position = static_cast<std::size_t>(where - rows_.begin());
    rows_.insert(where, std::move(row));
    return position;
}

void EntryTable::Append(std::string text, std::array<std::string, 3> sub) {
    rows_.push_back(
        Row{static_cast<int>(rows_.size()) + 1, std::move(text), std::move(sub), nextAdded_++});
}

void EntryTable::Clear() {
    rows_.clear();
}

std::optional<std::size_t> EntryTable::FindKey(int key) const {
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].key == key)
            return i;
    return std::nullopt;
}

void EntryTable::RemoveAt(std::size_t position) {
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(position));
}

void EntryTable::SetText(std::size_t position, std::string text) {
    rows_.at(position).text = std::move(text);
}

void EntryTable::SetSub(std::size_t position, int subItem, std::string value) {
    rows_.at(position).sub.at(static_cast<std::size_t>(subItem - 1)) = std::move(value);
}

void EntryTable::SortBy(int column, bool descending) {
    sortColumn_ = std::clamp(column, 0, columns_ - 1);
    descending_ = descending;
    sorting_ = true;
    Resort();
}

void EntryTable::Resort() {
    if (!sorting_)
        return;
    std::sort(rows_.begin(), rows_.end(),
              [this](const Row& a, const Row& b) { return Before(a, b, sortColumn_); });
}

std::vector<std::size_t> EntryTable::NameOrder() const {
    std::vector<std::size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    if (sorting_ && sortColumn_ == 0)
        return order;
    std::sort(order.begin(), order.end(),
              [this](std::size_t a, std::size_t b) { return Before(rows_[a], rows_[b], 0); });
    return order;
}

void EntryTable::RemoveInOrder(const std::vector<std::size_t>& positions) {
    if (positions.empty())
        return;
    // Which position holds each key, so that each renumbering is one look-up.
    std::vector<std::size_t> holder(rows_.size() + 1, rows_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].key >= 1 && static_cast<std::size_t>(rows_[i].key) <= rows_.size())
            holder[static_cast<std::size_t>(rows_[i].key)] = i;
    std::vector<bool> gone(rows_.size(), false);
    std::size_t count = rows_.size();
    for (const std::size_t position : positions) {
        if (position >= rows_.size() || gone[position])
            continue;
        const int freed = rows_[position].key;
        gone[position] = true;
        --count;
        // The row that held the highest key takes the freed key.
        const std::size_t highest = holder[count + 1];
        if (highest < rows_.size() && !gone[highest] && freed >= 1 &&
            static_cast<std::size_t>(freed) < holder.size()) {
            rows_[highest].key = freed;
            holder[static_cast<std::size_t>(freed)] = highest;
        }
    }
    std::size_t out = 0;
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (!gone[i]) {
            if (out != i)
                rows_[out] = std::move(rows_[i]);
            ++out;
        }
    rows_.resize(out);
}

} // namespace nm

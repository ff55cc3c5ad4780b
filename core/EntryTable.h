// The rows of one editable list (command aliases or shell commands): each row
// has a key, a name and sub-items; the table keeps a sort column, direction
// and sorting switch. The list views of the window show these rows directly.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace nm {

// The name that marks a row which lost to a duplicate of the same name.
inline constexpr const char* MarkedName = "---";

struct Row {
    int key = 0;                    // the number of the row key "key<n>"
    std::string text;               // the name
    std::array<std::string, 3> sub; // sub-items 1 to 3: command, flags, prompt
    std::uint64_t added = 0;        // when the row was added: equal texts keep this order

    // Column 0 is the name, column k the sub-item k.
    const std::string& Column(int column) const;
};

std::string KeyText(int number);
// The number part of a key text ("key12" gives 12); 0 when there is none.
int KeyNumber(const std::string& key);

class EntryTable {
public:
    explicit EntryTable(int columns) : columns_(columns) {}

    int ColumnCount() const { return columns_; }
    std::size_t Count() const { return rows_.size(); }
    bool Empty() const { return rows_.empty(); }
    // The row at a 0-based position in the table's order.
    const Row& At(std::size_t position) const { return rows_.at(position); }

    // Adds a row with the next key ("key" and Count() + 1). While sorting is on
    // the row takes its place in the order; returns that position.
    std::size_t Add(std::string text, std::array<std::string, 3> sub = {});
    // Adds a row at the end, for filling many rows at once; Resort() after.
    void Append(std::string text, std::array<std::string, 3> sub = {});
    void Clear();

    std::optional<std::size_t> FindKey(int key) const;
    void RemoveAt(std::size_t position);
    void SetKey(std::size_t position, int key) { rows_.at(position).key = key; }
    void SetText(std::size_t position, std::string text);
    void SetSub(std::size_t position, int subItem, std::string value);

    int SortColumn() const { return sortColumn_; }
    bool Descending() const { return descending_; }
    bool Sorting() const { return sorting_; }
    // Sets the sort column and direction and switches sorting on.
    void SortBy(int column, bool descending);
    // Puts the rows back into the order of the sort state, when sorting is on.
    void Resort();

    // Positions of all rows in name order, in the table's current direction.
    std::vector<std::size_t> NameOrder() const;

    // Removes the rows at the given positions, one after another in the given
    // order, each as RemoveListItem does: the row holding the highest key
    // takes over the key of the removed row.
    void RemoveInOrder(const std::vector<std::size_t>& positions);

private:
    bool Before(const Row& a, const Row& b, int column) const;

    int columns_;
    std::vector<Row> rows_;
    int sortColumn_ = 0;
    bool descending_ = false;
    bool sorting_ = true;
    std::uint64_t nextAdded_ = 0;
};

} // namespace nm

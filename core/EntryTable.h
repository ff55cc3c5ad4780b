// The rows of one editable list (command aliases or shell commands): each row
// has a key, a name and sub-items; the table keeps a sort column, direction
// and sorting switch. The list views of the window show these rows directly.
#pragma once

#include "core/CompactText.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nm {

// The name that marks a row which lost to a duplicate of the same name.
inline constexpr const char* MarkedName = "---";

struct Row {
    int key = 0;                    // the number of the row key "key<n>"
    int line = 0;                   // its line in the file it was read from; 0 when entered
    std::uint64_t added = 0;        // when the row was added: equal texts keep this order
    CompactText text;               // the name
    std::array<CompactText, 3> sub; // sub-items 1 to 3: command, flags, prompt

    // Column 0 is the name, column k the sub-item k.
    std::string_view Column(int column) const;
    bool operator==(const Row&) const = default;
};

// What one change did to a table's rows, for undo and redo: each row it
// touched, by its `added` stamp, as it was before (none for a row the change
// added) and after (none for a row it removed). Rows it did not touch are
// not held.
struct RowChange {
    std::optional<Row> before;
    std::optional<Row> after;
};
using RowChanges = std::map<std::uint64_t, RowChange>;

// The lists' filter: whether the row's name or command holds `lowered` (the
// text typed, lower-cased), letter case aside.
bool RowMatches(const Row& row, std::string_view lowered);

// The number part of a key text ("key12" gives 12); 0 when there is none.
int KeyNumber(const std::string& key);

class EntryTable {
public:
    explicit EntryTable(int columns) : columns_(columns) {}

    int ColumnCount() const { return columns_; }
    std::size_t Count() const { return order_.size(); }
    bool Empty() const { return order_.empty(); }
    // The row at a 0-based position in the table's order.
    const Row& At(std::size_t position) const { return pool_[order_.at(position)]; }

    // Adds a row with the next key ("key" and Count() + 1). While sorting is on
    // the row takes its place in the order; returns that position.
    std::size_t Add(std::string text, std::array<std::string, 3> sub = {});
    // The position Add would give a row of these texts, so that a list view
    // can be told where the row goes before it is there.
    std::size_t AddPosition(const std::string& text, const std::array<std::string, 3>& sub) const;
    // Adds a row read from line `line` of a file at the end, for filling many
    // rows at once; Resort() after.
    void Append(CompactText text, std::array<CompactText, 3> sub = {}, int line = 0);
    void Append(const std::string& text, const std::array<std::string, 3>& sub = {}, int line = 0);
    // Room for `rows` more rows.
    void Reserve(std::size_t rows);
    void Clear();

    std::optional<std::size_t> FindKey(int key) const;
    void SetText(std::size_t position, std::string text);
    void SetSub(std::size_t position, int subItem, std::string value);

    int SortColumn() const { return sortColumn_; }
    bool Descending() const { return descending_; }
    bool Sorting() const { return sorting_; }
    // From here on every row a change touches goes into `changes`, as it was
    // before the first change to it, until FinishRecording, which adds the
    // rows as they are then and leaves out those that came back the same.
    void Record(RowChanges* changes) { recording_ = changes; }
    bool Recording() const { return recording_ != nullptr; }
    void FinishRecording();
    // Puts the rows `changes` holds back as they were before it (undo) or
    // after it (redo), keys included, in the order of the sort state.
    void Restore(const RowChanges& changes, bool before);
    // The `added` stamp the next row will get: the rows a read adds are those
    // stamped at or above the value before it.
    std::uint64_t NextAdded() const { return nextAdded_; }
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

    // The outcome of a duplicate pass: the rows at `marked` are renamed "---",
    // then the rows at `removed` go as RemoveInOrder takes them. The order is
    // restored by merging the renamed rows back in, not by a new sort.
    void SettleDuplicates(const std::vector<std::size_t>& marked,
                          const std::vector<std::size_t>& removed);

private:
    // Rows stay where they were put in the pool; the table's order is a list
    // of pool slots, so that sorting and removing move small numbers only.
    using SlotIndex = std::uint32_t;
    Row& Slot(std::size_t position) { return Touch(order_.at(position)); }
    // The row in `slot`, recorded before it changes.
    Row& Touch(SlotIndex slot);
    SlotIndex NewSlot(Row row);
    void FreeSlot(SlotIndex slot);
    bool Before(const Row& a, const Row& b, int column) const;
    // Where a row that is not in the order yet takes its place in it.
    std::size_t Place(const Row& row) const;
    bool SlotBefore(SlotIndex a, SlotIndex b, int column) const {
        return Before(pool_[a], pool_[b], column);
    }
    // The slots in the order of `column`, in the table's direction.
    std::vector<SlotIndex> SortedSlots(int column) const;

    int columns_;
    std::vector<Row> pool_;
    std::vector<SlotIndex> free_;
    std::vector<SlotIndex> order_;
    int sortColumn_ = 0;
    bool descending_ = false;
    bool sorting_ = true;
    std::uint64_t nextAdded_ = 0;
    RowChanges* recording_ = nullptr;
};

} // namespace nm

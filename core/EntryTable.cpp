#include "core/EntryTable.h"

#include "host/Utf8.h"

#include <algorithm>
#include <charconv>
#include <numeric>
#include <unordered_set>
#include <utility>

namespace nm {

std::string_view Row::Column(int column) const {
    if (column <= 0)
        return text;
    return sub[static_cast<std::size_t>(std::min(column, 3) - 1)];
}

bool RowMatches(const Row& row, std::string_view lowered) {
    return lowered.empty() || LowerCase(row.text).find(lowered) != std::string::npos ||
           LowerCase(row.sub[0]).find(lowered) != std::string::npos;
}

int KeyNumber(const std::string& key) {
    if (key.size() <= 3)
        return 0;
    int value = 0;
    const char* first = key.data() + 3;
    std::from_chars(first, key.data() + key.size(), value);
    return value;
}

namespace {

std::array<CompactText, 3> Compact(const std::array<std::string, 3>& sub) {
    return {CompactText(sub[0]), CompactText(sub[1]), CompactText(sub[2])};
}

} // namespace

bool EntryTable::Before(const Row& a, const Row& b, int column) const {
    int c = CompareNoCase(a.Column(column), b.Column(column));
    if (descending_)
        c = -c;
    if (c != 0)
        return c < 0;
    return a.added < b.added;
}

EntryTable::SlotIndex EntryTable::NewSlot(Row row) {
    if (recording_)
        recording_->try_emplace(row.added); // a new row: none before it
    if (!free_.empty()) {
        const SlotIndex slot = free_.back();
        free_.pop_back();
        pool_[slot] = std::move(row);
        return slot;
    }
    pool_.push_back(std::move(row));
    return static_cast<SlotIndex>(pool_.size() - 1);
}

void EntryTable::FreeSlot(SlotIndex slot) {
    Touch(slot) = Row{};
    free_.push_back(slot);
}

Row& EntryTable::Touch(SlotIndex slot) {
    if (recording_)
        recording_->try_emplace(pool_[slot].added, RowChange{pool_[slot], std::nullopt});
    return pool_[slot];
}

void EntryTable::FinishRecording() {
    if (!recording_)
        return;
    for (const SlotIndex slot : order_)
        if (const auto change = recording_->find(pool_[slot].added); change != recording_->end())
            change->second.after = pool_[slot];
    std::erase_if(*recording_,
                  [](const auto& change) { return change.second.before == change.second.after; });
    recording_ = nullptr;
}

void EntryTable::Restore(const RowChanges& changes, bool before) {
    std::vector<bool> gone(pool_.size(), false);
    std::unordered_set<std::uint64_t> present;
    for (const SlotIndex slot : order_) {
        const auto change = changes.find(pool_[slot].added);
        if (change == changes.end())
            continue;
        present.insert(change->first);
        const std::optional<Row>& wanted = before ? change->second.before : change->second.after;
        if (wanted)
            pool_[slot] = *wanted;
        else
            gone[slot] = true;
    }
    std::erase_if(order_, [&](SlotIndex slot) {
        if (gone[slot])
            FreeSlot(slot);
        return gone[slot];
    });
    for (const auto& [added, change] : changes) {
        const std::optional<Row>& wanted = before ? change.before : change.after;
        if (wanted && !present.contains(added))
            order_.push_back(NewSlot(*wanted));
    }
    Resort();
}

std::size_t EntryTable::Add(std::string text, std::array<std::string, 3> sub) {
    const SlotIndex slot = NewSlot(
        Row{static_cast<int>(order_.size()) + 1, 0, nextAdded_++, CompactText(text), Compact(sub)});
    const std::size_t position = Place(pool_[slot]);
    order_.insert(order_.begin() + static_cast<std::ptrdiff_t>(position), slot);
    return position;
}

std::size_t EntryTable::Place(const Row& row) const {
    if (!sorting_)
        return order_.size();
    const auto where =
        std::upper_bound(order_.begin(), order_.end(), row, [this](const Row& a, SlotIndex b) {
            return Before(a, pool_[b], sortColumn_);
        });
    return static_cast<std::size_t>(where - order_.begin());
}

std::size_t EntryTable::AddPosition(const std::string& text,
                                    const std::array<std::string, 3>& sub) const {
    return Place(Row{0, 0, nextAdded_, CompactText(text), Compact(sub)});
}

void EntryTable::Append(CompactText text, std::array<CompactText, 3> sub, int line) {
    order_.push_back(NewSlot(Row{static_cast<int>(order_.size()) + 1, line, nextAdded_++,
                                 std::move(text), std::move(sub)}));
}

void EntryTable::Append(const std::string& text, const std::array<std::string, 3>& sub, int line) {
    Append(CompactText(text), Compact(sub), line);
}

void EntryTable::Reserve(std::size_t rows) {
    pool_.reserve(pool_.size() + rows);
    order_.reserve(order_.size() + rows);
}

void EntryTable::Clear() {
    for (const SlotIndex slot : order_)
        Touch(slot);
    pool_.clear();
    free_.clear();
    order_.clear();
}

std::optional<std::size_t> EntryTable::FindKey(int key) const {
    for (std::size_t i = 0; i < order_.size(); ++i)
        if (pool_[order_[i]].key == key)
            return i;
    return std::nullopt;
}

void EntryTable::SetText(std::size_t position, std::string text) {
    Slot(position).text = CompactText(text);
}

void EntryTable::SetSub(std::size_t position, int subItem, std::string value) {
    Slot(position).sub.at(static_cast<std::size_t>(subItem - 1)) = CompactText(value);
}

void EntryTable::SortBy(int column, bool descending) {
    sortColumn_ = std::clamp(column, 0, columns_ - 1);
    descending_ = descending;
    sorting_ = true;
    Resort();
}

std::vector<EntryTable::SlotIndex> EntryTable::SortedSlots(int column) const {
    // The sort moves small keys: the first eight bytes of each text
    // lower-cased, read as one big-endian number, settle most comparisons
    // (UTF-8 keeps the order of the code points, and lower-casing the first
    // eight characters gives the start of the whole text lower-cased). The
    // texts and stamps are looked at only on a tie.
    struct Key {
        std::uint64_t prefix;
        std::size_t at; // in `order_`
    };
    std::vector<Key> keys;
    keys.reserve(order_.size());
    for (const SlotIndex slot : order_) {
        const std::string_view text = pool_[slot].Column(column);
        std::uint64_t prefix = 0;
        std::size_t i = 0;
        // Plain ASCII lower-cased here; from the first other byte on, the
        // text routines lower-case the rest of the first eight characters.
        for (; i < 8 && i < text.size() && static_cast<unsigned char>(text[i]) < 0x80; ++i) {
            const char c = text[i];
            prefix = (prefix << 8) | static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        }
        if (i < 8 && i < text.size()) {
            const std::string rest = LowerCase(CharLeft(text.substr(i), 8 - i));
            for (std::size_t k = 0; i < 8 && k < rest.size(); ++i, ++k)
                prefix = (prefix << 8) | static_cast<unsigned char>(rest[k]);
        }
        if (i > 0 && i < 8)
            prefix <<= 8 * (8 - i);
        keys.push_back({prefix, keys.size()});
    }
    const bool descending = descending_;
    // The prefixes put the keys in order a byte at a time (a stable
    // radix sort, descending by sorting the complement); keys of the same
    // prefix are then put in order among themselves by the whole texts.
    if (descending)
        for (Key& key : keys)
            key.prefix = ~key.prefix;
    std::vector<Key> spare(keys.size());
    std::array<std::uint32_t, 256> counts;
    for (int shift = 0; shift < 64; shift += 8) {
        std::fill(counts.begin(), counts.end(), 0u);
        for (const Key& key : keys)
            ++counts[(key.prefix >> shift) & 0xFF];
        if (counts[(keys.empty() ? 0 : keys.front().prefix >> shift) & 0xFF] == keys.size())
            continue; // every key has the same byte here
        std::uint32_t start = 0;
        for (std::uint32_t& count : counts)
            start += std::exchange(count, start);
        for (const Key& key : keys)
            spare[counts[(key.prefix >> shift) & 0xFF]++] = key;
        keys.swap(spare);
    }
    const auto before = [&](const Key& a, const Key& b) {
        int c =
            CompareNoCase(pool_[order_[a.at]].Column(column), pool_[order_[b.at]].Column(column));
        if (descending)
            c = -c;
        if (c != 0)
            return c < 0;
        return pool_[order_[a.at]].added < pool_[order_[b.at]].added;
    };
    for (auto run = keys.begin(); run != keys.end();) {
        auto end = run + 1;
        while (end != keys.end() && end->prefix == run->prefix)
            ++end;
        if (end - run > 1)
            std::sort(run, end, before);
        run = end;
    }
    std::vector<SlotIndex> slots;
    slots.reserve(keys.size());
    for (const Key& key : keys)
        slots.push_back(order_[key.at]);
    return slots;
}

void EntryTable::Resort() {
    if (!sorting_)
        return;
    const auto before = [this](SlotIndex a, SlotIndex b) { return SlotBefore(a, b, sortColumn_); };
    if (std::is_sorted(order_.begin(), order_.end(), before))
        return;
    order_ = SortedSlots(sortColumn_);
}

std::vector<std::size_t> EntryTable::NameOrder() const {
    std::vector<std::size_t> positions(order_.size());
    std::iota(positions.begin(), positions.end(), std::size_t{0});
    if (sorting_ && sortColumn_ == 0)
        return positions;
    // Positions of the slots in name order.
    std::vector<std::size_t> positionOf(pool_.size());
    for (std::size_t i = 0; i < order_.size(); ++i)
        positionOf[order_[i]] = i;
    const std::vector<SlotIndex> slots = SortedSlots(0);
    for (std::size_t i = 0; i < slots.size(); ++i)
        positions[i] = positionOf[slots[i]];
    return positions;
}

void EntryTable::RemoveInOrder(const std::vector<std::size_t>& positions) {
    if (positions.empty())
        return;
    const std::size_t n = order_.size();
    // Which position holds each key, so that each renumbering is one look-up.
    std::vector<std::size_t> holder(n + 1, n);
    for (std::size_t i = 0; i < n; ++i) {
        const int key = pool_[order_[i]].key;
        if (key >= 1 && static_cast<std::size_t>(key) <= n)
            holder[static_cast<std::size_t>(key)] = i;
    }
    std::vector<bool> gone(n, false);
    std::size_t count = n;
    for (const std::size_t position : positions) {
        if (position >= n || gone[position])
            continue;
        const int freed = pool_[order_[position]].key;
        gone[position] = true;
        --count;
        // The row that held the highest key takes the freed key.
        const std::size_t highest = holder[count + 1];
        if (highest < n && !gone[highest] && freed >= 1 &&
            static_cast<std::size_t>(freed) < holder.size()) {
            Touch(order_[highest]).key = freed;
            holder[static_cast<std::size_t>(freed)] = highest;
        }
    }
    std::size_t out = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (gone[i])
            FreeSlot(order_[i]);
        else
            order_[out++] = order_[i];
    }
    order_.resize(out);
}

void EntryTable::SettleDuplicates(const std::vector<std::size_t>& marked,
                                  const std::vector<std::size_t>& removed) {
    std::vector<bool> renamed(pool_.size(), false);
    for (const std::size_t position : marked) {
        Slot(position).text = CompactText(MarkedName);
        renamed[order_[position]] = true;
    }
    RemoveInOrder(removed);
    if (!sorting_ || marked.empty())
        return;
    if (sortColumn_ != 0) {
        Resort();
        return;
    }
    // The rows not renamed are still in order; the renamed ones all read "---"
    // and so go by when they were added; the two merge.
    std::vector<SlotIndex> rest;
    std::vector<SlotIndex> moved;
    rest.reserve(order_.size());
    for (const SlotIndex slot : order_)
        (renamed[slot] ? moved : rest).push_back(slot);
    std::sort(moved.begin(), moved.end(),
              [this](SlotIndex a, SlotIndex b) { return pool_[a].added < pool_[b].added; });
    order_.clear();
    std::merge(rest.begin(), rest.end(), moved.begin(), moved.end(), std::back_inserter(order_),
               [this](SlotIndex a, SlotIndex b) { return SlotBefore(a, b, 0); });
}

} // namespace nm

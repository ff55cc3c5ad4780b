// The duplicate pass: which rows of one name it removes or marks, the keys it
// leaves, the import's message, checked against a plain pass over random lists.
#include "tests/core/Boxes.h"

#include "core/Duplicates.h"
#include "host/Utf8.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace nm;
using namespace nm::test;

namespace {

const std::string DuplicatesFound = Box({"这个导入文件包含相同的热键." + std::string(33, ' ') +
                                             "\r\n\r\n副本被替换用" + std::string(29, ' ') + "---.",
                                         Buttons::OK, Icon::Information, "发现副本", 1});

// The duplicate pass done the plain way, one pair at a time: each removal
// takes the row out of the list and renumbers keys by scanning for the highest.
struct PlainRow {
    std::string name, command;
    int key;
    std::uint64_t added;
};

// Returns the number of rows renamed.
std::size_t PlainPass(std::vector<PlainRow>& rows, bool importing, bool descending) {
    const auto byName = [descending](const PlainRow& a, const PlainRow& b) {
        const int c = descending ? -CompareNoCase(a.name, b.name) : CompareNoCase(a.name, b.name);
        return c != 0 ? c < 0 : a.added < b.added;
    };
    std::stable_sort(rows.begin(), rows.end(), byName);
    std::size_t marked = 0;
    for (std::size_t i = 1; rows.size() > 1 && i <= rows.size() - 1; ++i) {
        PlainRow& a = rows[i - 1];
        const PlainRow& b = rows[i];
        if (a.name != b.name || (!importing && a.name == "---"))
            continue;
        if (a.command == b.command) {
            const int freed = a.key;
            rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(i - 1));
            for (PlainRow& row : rows)
                if (row.key == static_cast<int>(rows.size()) + 1)
                    row.key = freed;
            --i;
        } else {
            a.name = "---";
            ++marked;
        }
    }
    std::stable_sort(rows.begin(), rows.end(), byName);
    return marked;
}

TEST(Duplicates, FastPassMatchesThePlainOne) {
    std::uint32_t seed = 12345;
    const auto next = [&seed](std::uint32_t range) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % range;
    };
    for (int round = 0; round < 40; ++round) {
        const bool importing = round % 2 == 1;
        const std::size_t count = 1 + next(400);
        Harness h;
        EntryTable& table = h.main.Lists[AliasList];
        std::vector<PlainRow> plain;
        for (std::size_t i = 0; i < count; ++i) {
            // Few names and commands, so that many rows meet; some already marked,
            // some alike in their first eight bytes or but for letter case.
            static const char* const stems[] = {"", "b", "LONG NAME ", "long name ", "É"};
            std::string name =
                next(10) == 0 ? "---"
                              : stems[next(5)] + std::string(1, static_cast<char>('A' + next(12)));
            if (next(3) == 0)
                name += static_cast<char>('A' + next(3));
            const std::string command = "C" + std::to_string(next(4));
            table.Append(name, {command, {}, {}});
            plain.push_back({name, command, static_cast<int>(i) + 1, i});
        }
        table.Resort();
        if (round % 4 == 3)
            table.SortBy(1, true); // shown by command, descending
        ResolveDuplicates(h.main, AliasList, importing);
        const std::size_t marked = PlainPass(plain, importing, table.Descending());
        // A removal changes the document; an import tells of the renamed rows.
        EXPECT_EQ(h.main.FileChanged, plain.size() < count ? 1 : 0);
        EXPECT_EQ(Boxes(h.prompter), importing && marked > 0 ? Rows{DuplicatesFound} : Rows{});
        Rows fast, expected;
        for (const std::size_t position : table.NameOrder())
            fast.push_back(table.At(position).text + "|" + table.At(position).sub[0] + "|" +
                           std::to_string(table.At(position).key));
        for (const PlainRow& row : plain)
            expected.push_back(row.name + "|" + row.command + "|" + std::to_string(row.key));
        ASSERT_EQ(fast, expected) << "round " << round;
    }
}

} // namespace

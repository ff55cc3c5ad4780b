// The round trip as a property: rows entered as the dialogs enter them are
// saved, read again and come back the same, for every row the program
// accepts. (Files read whole are the reader's fuzz target's.)
#include "tests/support/Doubles.h"

#include "core/Document.h"
#include "core/Entries.h"
#include "core/PgpWriter.h"

#include <gtest/gtest.h>

#include <random>

using namespace nm;
using namespace nm::test;

namespace {

// Characters that the reader, the writer or the host treat specially.
const std::vector<std::string> Alphabet = {" ", ";", "\t", "*",  "A", "z", "中", "文", ",", "-",
                                           "$", "?", "'",  "\"", "!", "{", "~",  "1",  "é", "_"};

struct Generator {
    std::mt19937 random;
    std::size_t Below(std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    }
    // Up to `length` characters of the alphabet, sometimes padded with blanks.
    std::string Text(std::size_t length) {
        std::string text = Below(4) == 0 ? "  " : "";
        for (std::size_t n = Below(length + 1); n > 0; --n)
            text += Alphabet[Below(Alphabet.size())];
        return Below(4) == 0 ? text + " " : text;
    }
};

// The rows a save writes, in name order: not the ones marked "---".
std::vector<std::string> Written(const Main& main) {
    std::vector<std::string> rows;
    for (const int list : {AliasList, ShellList})
        for (const std::string& row : RowTexts(main, list))
            if (!row.starts_with(std::string(MarkedName) + "|"))
                rows.push_back(std::to_string(list) + ":" + row);
    return rows;
}

TEST(RoundTrip, EveryEntryTheDialogsAcceptReadsBackTheSame) {
    for (unsigned seed = 1; seed <= 150; ++seed) {
        SCOPED_TRACE(seed);
        Generator g{std::mt19937(seed)};
        Harness h;
        h.main.FileEncoding = TextEncoding{seed % 3 == 0 ? "GB18030" : "UTF-8", seed % 5 == 0};
        EntryScript script;
        for (int entry = 0; entry < 20; ++entry) {
            const int page = static_cast<int>(g.Below(2));
            EntryFields typed{g.Text(5), g.Text(6), {}, {}};
            if (page == ShellList) {
                typed.flags = std::to_string(g.Below(16));
                typed.prompt = g.Text(6);
            }
            // OK, then Cancel should the dialog stay open; any question is
            // answered Yes.
            script.steps = {typed, std::nullopt};
            AddCommand(h.main, page, script.Dialog());
        }
        // Saved, read into a fresh document: the same rows.
        const TempDir dir;
        ASSERT_TRUE(SavePgpFile(h.main, dir.Path("saved.pgp"), "saved.pgp", true, false));
        Harness again;
        ASSERT_EQ(OpenPgpFile(again.main, dir.Path("saved.pgp"), false), ReadResult::Completed)
            << again.prompter.Texts().front();
        EXPECT_EQ(Written(again.main), Written(h.main));
    }
}

} // namespace

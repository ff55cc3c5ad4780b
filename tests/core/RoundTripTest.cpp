// The round trip as a property: rows entered as the dialogs enter them, or
// read from generated files as the reader reads them, are saved, read again
// and come back the same, for every row the program accepts.
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
    std::string Text(std::size_t length, bool commas = true) {
        std::string text = Below(4) == 0 ? "  " : "";
        for (std::size_t n = Below(length + 1); n > 0; --n) {
            const std::string& c = Alphabet[Below(Alphabet.size())];
            text += c == "," && !commas ? "." : c;
        }
        return Below(4) == 0 ? text + " " : text;
    }
};

// The rows a save writes, in name order: not the ones marked "---". An alias
// whose name ends with its only comma has the reader's placeholder command,
// whose length depends on the run: its name alone must come back.
std::vector<std::string> Written(const Main& main) {
    std::vector<std::string> rows;
    for (const int list : {AliasList, ShellList})
        for (const std::string& row : RowTexts(main, list)) {
            const std::string name = row.substr(0, row.find('|'));
            if (name != MarkedName)
                rows.push_back(std::to_string(list) + ":" + (name.ends_with(',') ? name : row));
        }
    return rows;
}

// Saves the document, reads the file into a fresh one and compares the rows.
void ExpectRoundTrip(Main& main, const TempDir& dir) {
    ASSERT_TRUE(SavePgpFile(main, dir.Path("saved.pgp"), "saved.pgp", true, false));
    Harness again;
    ASSERT_EQ(OpenPgpFile(again.main, dir.Path("saved.pgp"), false), ReadResult::Completed)
        << again.prompter.Texts().front();
    EXPECT_EQ(Written(again.main), Written(main));
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
        ExpectRoundTrip(h.main, TempDir());
    }
}

TEST(RoundTrip, EveryFileReadWholeReadsBackTheSameAfterASave) {
    int whole = 0;
    for (unsigned seed = 1; seed <= 150; ++seed) {
        SCOPED_TRACE(seed);
        Generator g{std::mt19937(seed)};
        std::string text;
        for (int line = 0; line < 25; ++line) {
            switch (g.Below(5)) {
            case 0: // an alias, with or without the comma and the star
                text += g.Text(5, false) + (g.Below(3) ? "," + std::string(g.Below(4), ' ') : "") +
                        (g.Below(2) ? "*" : "") + g.Text(6, false);
                break;
            case 1:
                text += g.Text(5, false) + "," + g.Text(6, false) + "," + g.Text(2, false) + "," +
                        g.Text(6, false) + "," + (g.Below(3) ? "" : g.Text(3));
                break;
            default:
                text += g.Text(8);
            }
            text += g.Below(5) ? "\r\n" : "\n";
        }
        TempDir dir;
        Harness h;
        const ReadResult read = OpenPgpFile(h.main, dir.Write("f.pgp", text), false);
        if (read == ReadResult::Completed) {
            ++whole;
            ExpectRoundTrip(h.main, dir);
        }
    }
    EXPECT_GT(whole, 50); // the generated files are mostly readable
}

} // namespace

// Undo and redo over random runs of the user's commands: every step undone
// gives back the rows and keys before it, every step redone the rows after
// it, and the document is unchanged exactly where it was opened or saved.
#include "core/History.h"
#include "core/Document.h"
#include "core/Entries.h"
#include "tests/support/Doubles.h"

#include <gtest/gtest.h>

#include <random>

using namespace nm;
using namespace nm::test;

namespace {

// Both tables in their order, keys included.
std::string Snapshot(const Main& main) {
    std::string out;
    for (const EntryTable& table : main.Lists) {
        for (std::size_t i = 0; i < table.Count(); ++i) {
            const Row& row = table.At(i);
            out += std::to_string(row.key) + ":" + row.text + "|" + row.sub[0] + "|" + row.sub[1] +
                   "|" + row.sub[2] + " ";
        }
        out += "/ ";
    }
    return out;
}

TEST(History, UndoAndRedoWalkBackAndForthThroughRandomRunsOfCommands) {
    for (unsigned seed = 1; seed <= 25; ++seed) {
        SCOPED_TRACE(seed);
        LoadedDocument doc("A,*LINE\r\nB,*ARC\r\nS,DIR,8,*Files:,\r\nB,*COPY\r\n");
        Main& main = doc.h.main;
        const std::string imported =
            doc.dir.Write("office.pgp", "C,*ARC\r\nA,*MOVE\r\nT,X,1,,\r\n");
        EntryScript script;
        std::mt19937 random(seed);
        const auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
        const char* names[] = {"A", "B", "C", "S", "T"};
        std::vector<std::string> states{Snapshot(main)};
        std::optional<std::size_t> saved = 0;
        for (int command = 0; command < 14; ++command) {
            const int page = static_cast<int>(pick(2));
            EntryTable& table = main.Lists[static_cast<std::size_t>(page)];
            const EntryFields typed{names[pick(5)], page ? "DIR" : "LINE", page ? "1" : "", ""};
            script.steps = {typed, std::nullopt}; // OK, then Cancel if it is refused
            switch (pick(5)) {
            case 0:
                AddCommand(main, page, script.Dialog());
                break;
            case 1:
                if (!table.Empty())
                    StartEdit(main, page, table.At(pick(table.Count())).key, script.Dialog());
                break;
            case 2:
                if (!table.Empty())
                    StartRemove(main, page, table.At(pick(table.Count())).key);
                break;
            case 3:
                doc.h.dialogs.picks.push_back(imported);
                ImportFile(main);
                break;
            case 4:
                SaveDocument(main);
                saved = states.size() - 1;
                break;
            }
            // A command that changed rows is one step; one that did not, none.
            if (main.history.Count() == states.size())
                states.push_back(Snapshot(main));
            ASSERT_EQ(std::pair(main.history.Count() + 1, Snapshot(main)),
                      std::pair(states.size(), states.back()));
        }
        for (std::size_t step = states.size() - 1; step > 0; --step) {
            UndoLastStep(main);
            EXPECT_EQ(std::pair(Snapshot(main), main.FileChanged == 0),
                      std::pair(states[step - 1], saved == step - 1));
        }
        EXPECT_FALSE(main.history.CanUndo());
        while (main.history.CanRedo())
            RedoNextStep(main);
        EXPECT_EQ(std::pair(Snapshot(main), main.FileChanged == 0),
                  std::pair(states.back(), saved == states.size() - 1));
    }
}

} // namespace

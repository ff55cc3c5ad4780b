// The problems of a file just read: the check's findings, each tied to the row
// of this read that it is about, whatever rows the document held before.
#include "tests/support/Doubles.h"

#include "core/Document.h"
#include "core/Problems.h"

#include <gtest/gtest.h>

using namespace nm;
using namespace nm::test;

namespace {

// "LINE level code page:NAME|COMMAND" for each problem; "-" for no row.
std::vector<std::string> Brief(const Main& main, const ProblemReport& report) {
    std::vector<std::string> out;
    for (const Problem& p : report.problems) {
        std::string row = "-";
        if (p.page >= 0) {
            const EntryTable& table = main.Lists[static_cast<std::size_t>(p.page)];
            const Row& r = table.At(table.FindKey(p.key).value());
            row = std::to_string(p.page) + ":" + r.text + "|" + r.sub[0];
        }
        out.push_back(std::to_string(p.line) + " " + LevelText(p.level) + " " + p.code + " " + row);
    }
    return out;
}

TEST(Problems, FindingsOfTheFileLeadToTheRowsItsReadAdded) {
    TempDir dir;
    // A duplicate, a dropped line, an unknown command, bad flags, a read that stops.
    const std::string file = dir.Write("office.pgp", "CP,*COPY\r\n\tTB,*TITLEBLOCK\r\nX,*FOO\r\n"
                                                     "CP,*COPYCLIP\r\nS,DIR,1,,\r\nS2,DIR,16,,\r\n"
                                                     "DIR,DIR,8,*Files\r\n");
    // Rows of another file on the same lines, of both pages, more aliases than shells.
    const std::string other = dir.Write(
        "other.pgp", "Z1,A,0,,\r\nZ2,A,0,,\r\nZ3,*ZOOM\r\nZ4,*ZOOM\r\nZ5,*ZOOM\r\nZ6,*ZOOM\r\n");
    const std::vector<std::string> expected = {
        "1 警告 duplicate-marked 0:---|COPY", "2 警告 control-first -",
        "3 警告 unknown-command 0:X|FOO", "6 警告 shell-flags 1:S2|DIR", "7 错误 shell-commas -"};
    for (const bool import : {false, true}) {
        SCOPED_TRACE(import ? "imported over another file" : "opened");
        Harness h;
        if (import)
            OpenPgpFile(h.main, other, false);
        const AddedMark before = import ? NextAdded(h.main) : AddedMark{};
        OpenPgpFile(h.main, file, import);
        const ProblemReport report =
            CheckOpenedFile(h.main, file, before, CatalogueCheck({"copy", "COPYCLIP"}), h.clock);
        EXPECT_EQ(Brief(h.main, report), expected);
        EXPECT_EQ(std::tuple(report.file, report.checkedAt, report.unreadable),
                  std::tuple(file, std::string("2026-11-28 09:14"), std::string()));
    }
    Harness h;
    const ProblemReport missing = CheckOpenedFile(h.main, dir.Path("gone.pgp"), {}, {}, h.clock);
    EXPECT_TRUE(missing.problems.empty());
    EXPECT_FALSE(missing.unreadable.empty());
}

} // namespace

// Checking a file: which finding each special line gives, on which line, and
// the notes on its encoding and line ends.
#include "tests/support/Doubles.h"

#include "core/PgpCheck.h"
#include "host/Utf8.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

using namespace nm;
using namespace nm::test;

namespace {

// "LINE level code" for each finding but the encoding note, in order.
std::vector<std::string> Brief(const CheckReport& report) {
    std::vector<std::string> out;
    for (const Finding& f : report.findings)
        if (f.code != "encoding")
            out.push_back(std::to_string(f.line) + " " +
                          std::array{"error", "warning", "note"}[static_cast<int>(f.level)] + " " +
                          f.code);
    return out;
}

// The finding of a code on a line; a failure, and an empty finding, without one.
Finding Find(const CheckReport& report, int line, const std::string& code) {
    for (const Finding& f : report.findings)
        if (f.line == line && f.code == code)
            return f;
    ADD_FAILURE() << "no " << code << " on line " << line;
    return {};
}

CheckReport CheckText(const std::string& text, const CheckOptions& options = {}) {
    Harness h;
    TempDir dir;
    return CheckPgpFile(h.main, dir.Write("f.pgp", text), options);
}

TEST(PgpCheck, ReportsEachSpecialLine) {
    struct Case {
        std::string name;
        std::string text;
        std::vector<std::string> findings;
        bool catalogue = false;
    };
    const std::vector<Case> cases = {
        {"nothing special",
         "; comment\r\n\r\n   \r\nCP,     *COPY\r\nCO,COPY\r\nS, DIR , 8 ,*Files: ,\r\n",
         {}},
        {"dropped lines",
         "; c\r\n\tTAB,*X\r\n中文,*LINE\r\n  ;A,B\r\n\t \r\n\t; note\r\n\x01Q,*R\r\n",
         {"2 warning control-first", "3 warning non-ascii-first", "4 warning indented-semicolon",
          "7 warning control-first"}},
        {"placeholders",
         "REDRAW\r\nWEIRD,\r\n",
         {"1 warning placeholder-name", "2 warning placeholder-command"}},
        {"cleaned commands",
         "C1,*COPY\r\nC2,   *COPY   \r\nC3,**COPY\r\nC4,'LINE\r\nC5,*\r\nC6,-LAYER\r\nC7,* X\r\n",
         {"3 warning command-cleaned", "4 warning command-cleaned", "7 warning command-cleaned"}},
        {"no name or the marking name",
         ",NONAME\r\n---,X\r\n ---,Y\r\nS,C,1,,\r\n---,C,1,,\r\n",
         {"1 warning unnamed-alias", "2 warning unnamed-alias", "3 warning dashes-name",
          "5 warning dashes-name"}},
        {"shell flags and rest",
         "A,B,1,,\r\nC,D,16,,\r\nE,F, 15 ,,\r\nG,H,x,,\r\nI,J,,,\r\nK,L,0,*P, \r\nM,N,0,*P,0,1\r\n",
         {"2 warning shell-flags", "4 warning shell-flags", "5 warning shell-flags",
          "7 warning shell-rest"}},
        {"catalogue",
         "CP,*COPY\r\nLINE,*ZOOM\r\nX,*FOO\r\nZOOM,zoom\r\nW,\r\n",
         {"2 warning name-hides-command", "3 warning unknown-command",
          "5 warning placeholder-command"},
         true},
        {"two commas: dropped lines after it are moot",
         "CP,*COPY\r\nX,C,0\r\n\tT,*X\r\nL,*LINE\r\n",
         {"2 error shell-commas"}},
        {"empty command, after a duplicate",
         "A,*ARC\r\na,*ARC\r\nCP,   \r\nL,*LINE\r\n",
         {"1 warning duplicate-removed", "3 error empty-command"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CheckOptions options;
        if (c.catalogue)
            options.isKnownCommand = [](std::string_view command) {
                return CompareNoCase(command, "COPY") == 0 || CompareNoCase(command, "LINE") == 0 ||
                       CompareNoCase(command, "ZOOM") == 0;
            };
        const CheckReport report = CheckText(c.text, options);
        ASSERT_TRUE(report.readable);
        EXPECT_EQ(Brief(report), c.findings);
    }
}

TEST(PgpCheck, MessagesSayWhatTheEditorDoes) {
    const CheckReport dup =
        CheckText("E,*ERASE\r\ne,*EXPLODE\r\nE,*EXPLODE\r\nS,C,1,,\r\nREDRAW\r\nX,C,0\r\n");
    const Finding marked = Find(dup, 1, "duplicate-marked");
    EXPECT_EQ(marked.message,
              "alias \"E\" is defined again on line 2 with another command (\"EXPLODE\" there, "
              "\"ERASE\" here): the duplicate pass renames this row \"---\", so it is not "
              "written; the definition on line 3 is kept");
    EXPECT_EQ(marked.fields.back(), (FindingField{"keptLine", 3})); // for scripts
    EXPECT_NE(Find(dup, 2, "duplicate-removed")
                  .message.find("line 3 with the same command \"EXPLODE\": the duplicate "
                                "pass removes this row; the definition on line 3 is kept"),
              std::string::npos);
    EXPECT_EQ(Find(dup, 6, "shell-commas").message,
              "the line has 2 commas, but a shell command needs 4: the editor "
              "stops reading here and shows \"不可识别的错误在 PGP 文件.\"; the "
              "entries from this line on will be missing: \"X,C,0\"");
    // The placeholder counts from the first of this run.
    EXPECT_NE(Find(dup, 5, "placeholder-name").message.find("name \"$\" and"), std::string::npos);

    const CheckReport cleaned = CheckText("CN,\" *中LINE\r\n");
    EXPECT_EQ(Find(cleaned, 1, "command-cleaned").message,
              "the alias command \"\\\" *中LINE\" is read as \"LINE\": the editor removes leading "
              "characters that cannot begin a command");
}

// The editor ends a line at CR LF, CR and LF alike (CR LF, LF then CR is an
// empty line 3); a file that mixes them gets one note, at the first line
// whose end differs from the first line's.
TEST(PgpCheck, MixedLineEnds) {
    const CheckReport report =
        CheckText("; c\r\n\tTAB,*X\n\rREDRAW\r\nA,*ARC\r\na,*ARC\rX,C,0\r\n");
    EXPECT_NE(Find(report, 2, "mixed-line-ends").message.find("(4 CR LF, 2 CR, 1 LF)"),
              std::string::npos);
    EXPECT_EQ(Brief(report).back(), "7 error shell-commas");
}

TEST(PgpCheck, NamesTheEncoding) {
    // A file's bytes, and part of the note on line 1.
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"\xEF\xBB\xBF"
         "CP,*COPY\r\n",
         "read as UTF-8 with a byte-order mark"},
        {ReadData("gb18030.pgp"),
         "not valid UTF-8; read in the legacy code page " + LegacyCharset()},
        {"CP,*COPY\xFF\r\n", "neither valid UTF-8 nor valid " + LegacyCharset() +
                                 "; read byte for byte as ISO-8859-1"}};
    for (const auto& [bytes, message] : cases) {
        const CheckReport report = CheckText(bytes);
        ASSERT_FALSE(report.findings.empty());
        const Finding& note = report.findings[0];
        EXPECT_EQ(std::to_string(note.line) + " " + note.code, "1 encoding");
        EXPECT_NE(note.message.find(message), std::string::npos) << note.message;
    }
}

} // namespace

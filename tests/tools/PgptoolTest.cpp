// pgptool end to end, for its own contract: its arguments and exit codes, the
// forms of its output and the files it writes.
#include "host/StrOps.h"
#include "tests/support/Doubles.h"
#include "tests/support/Program.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <tuple>

using namespace nm;
using namespace nm::test;

namespace {

// pgptool, run as a script would run it: the "C" locale, plus `env`. Its
// standard error is text, with CR LF line ends on Windows.
ProgramRun Pgptool(const std::vector<std::string>& args, Environment env = {}) {
    env.insert(env.begin(), {"LC_ALL", "C"});
    ProgramRun run = RunProgram(PGPTOOL, args, env);
    run.err = StrReplace("\r\n", "\n", run.err);
    return run;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string Json(const std::string& path) {
    return StrReplace("\\", "\\\\", path);
}

TEST(Pgptool, ArgumentsAndExitCodes) {
    TempDir dir;
    const std::string good = dir.Write("good.pgp", "CP,*COPY\r\n");
    const std::string warned = dir.Write("warned.pgp", "CP,*COPY\r\ncp,*COPY\r\n");
    const std::string broken = DataPath("broken-two-commas.pgp");
    const std::string missing = dir.Path("gone.pgp");
    const std::string unreadable = "不可识别的错误在 PGP 文件.";
    const std::string checkUsage =
        "usage: pgptool check [--catalogue FILE] [--json] [--strict] FILE...\n";
    const struct {
        std::vector<std::string> args;
        int status;
        std::string err; // part of standard error
    } cases[] = {
        // clang-format off
        {{"normalize", broken}, 1, unreadable},
        {{"normalize", "--import", broken, good}, 1, unreadable},
        {{}, 2, "pgptool: no command given\nusage: pgptool normalize [--export] [--import FILE]... "
                "[-o OUT [--backup]] FILE\n       pgptool list [--import FILE]... FILE\n"
                "       pgptool locate [-v] [--all] [--json]\n       pgptool catalogue [FILE]\n       " +
                checkUsage.substr(7)},
        {{"frobnicate", good}, 2, "unknown command 'frobnicate'\nusage:"},
        {{"normalize"}, 2, "no FILE given\nusage:"},
        {{"normalize", good, good}, 2, "more than one FILE given\nusage:"},
        {{"list", "--export", good}, 2, "unknown option '--export'\nusage:"},
        {{"normalize", "--import=" + good, good}, 2, "unknown option '--import="},
        {{"normalize", "-o"}, 2, "-o needs a file\nusage:"},
        {{"normalize", "--backup", good}, 2, "--backup needs -o OUT\nusage:"},
        {{"normalize", "--export", "--backup", "-o", good, good}, 2, "an export keeps no backup"},
        {{"locate", "-vv"}, 2, "unknown argument '-vv'\nusage:"},
        {{"catalogue", dir.Path("none.pgc")}, 1, "none.pgc: no such catalogue file\n"},
        {{"normalize", "-o", dir.Path("none/x.pgp"), good}, 1, ""},
        {{"check", warned}, 0, ""},
        {{"check", "--strict", warned}, 1, ""},
        {{"check", good, broken}, 1, ""},
        {{"check", missing, good}, 2, "gone.pgp: cannot read the file: File not found (error 53)"},
        {{"check", "--catalogue", dir.Path("none.pgc"), good}, 2, "no such catalogue file"},
        {{"check"}, 2, "pgptool: no FILE given\n" + checkUsage},
        {{"check", good, "--catalog"}, 2, "pgptool: --catalogue needs a file\n" + checkUsage},
        {{"list", good, "--help"}, 0, ""},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const ProgramRun run = Pgptool(c.args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty() || c.err.find("usage:") == std::string::npos) << run.out;
    }
    // A good file is still reported beside a missing one.
    EXPECT_NE(Pgptool({"check", missing, good}).out.find(good + ": 1 alias and"),
              std::string::npos);
}

TEST(Pgptool, CheckPrintsFindingsLikeACompilerOrAsJson) {
    TempDir dir;
    const std::string catalogue = dir.Write("my.pgc", "COPY\r\n");
    const std::string file = dir.Write("t.pgp", "CP,*COPY\r\nX,*FOO\r\n");
    const ProgramRun run = Pgptool({"check", "--catalogue", catalogue, file});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(Lines(run.out),
              (std::vector<std::string>{
                  file + ":1: note: read as UTF-8; a save writes it back the same way [encoding]",
                  file + ":2: warning: the alias \"X\" runs \"FOO\", which is not in the command "
                         "catalogue [unknown-command]",
                  file + ": 2 aliases and 0 shell commands read; 0 errors, 1 warning, 1 note",
              }));

    // Every text escaped as JSON wants it; an unreadable file says why.
    const std::string odd = dir.Write("e.pgp", "\tA\"B\\C\x01,*X\r\n");
    const ProgramRun json =
        Pgptool({"check", "--json", "--catalogue", dir.Write("x.pgc", "X"), odd, dir.Path("no")});
    EXPECT_EQ(json.status, 2) << json.err;
    EXPECT_EQ(json.out,
              "{\"files\": [\n  {\"file\": \"" + Json(odd) +
                  "\", \"readable\": true, \"aliases\": 0, \"shells\": 0, \"errors\": 0, "
                  "\"warnings\": 1, \"notes\": 1, \"findings\": [\n    {\"file\": \"" +
                  Json(odd) +
                  "\", \"line\": 1, \"level\": \"note\", \"code\": \"encoding\", \"message\": "
                  "\"read as UTF-8; a save writes it back the same way\", \"fields\": "
                  "{\"charset\": \"UTF-8\", \"byteOrderMark\": false}},\n    {\"file\": \"" +
                  Json(odd) +
                  "\", \"line\": 1, \"level\": \"warning\", \"code\": \"control-first\", "
                  "\"message\": \"the line begins with a tab, so the editor drops it without a "
                  "word: \\\"\\\\tA\\\\\\\"B\\\\\\\\C\\\\x01,*X\\\"\", \"fields\": {\"text\": "
                  "\"\\tA\\\"B\\\\C\\u0001,*X\"}}\n  ]},\n  {\"file\": \"" +
                  Json(dir.Path("no")) +
                  "\", \"readable\": false, \"reason\": \"File not found (error 53)\", "
                  "\"findings\": []}\n]}\n");
}

TEST(Pgptool, ListsTheRowsAfterImportAndDuplicatePass) {
    TempDir dir;
    const std::string doc = dir.Write("doc.pgp", "CP,*COPY\r\nS,  DIR , 8 ,*Files: ,\r\n");
    const std::string more = dir.Write("more.pgp", "cp,*CHKDSK\r\nL,*LINE\r\n");
    const ProgramRun run = Pgptool({"list", "--import", more, doc});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "alias\t---\tCOPY\nalias\tCP\tCHKDSK\nalias\tL\tLINE\n"
                       "shell\tS\tDIR\t8\tFiles:\n");
    // The duplicates message of the import reaches standard error, as one line.
    EXPECT_NE(run.err.find("pgptool: 发现副本: 这个导入文件包含相同的热键."), std::string::npos);
}

TEST(Pgptool, PrintsWhatItWritesSafelyWithItsBackup) {
    TempDir dir;
    const Environment epoch = {{"SOURCE_DATE_EPOCH", "1795857245"}};
    const std::string doc = dir.Write("vtrm.pgp", "; mine\r\nCP,*COPY\r\n");
    const ProgramRun printed = Pgptool({"normalize", doc}, epoch);
    ASSERT_EQ(Pgptool({"normalize", "-o", doc, "--backup", doc}, epoch).status, 0);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"vtrm.pgp", "备份        vtrm.pgp"}));
    EXPECT_EQ(dir.Read("vtrm.pgp"), printed.out);
    EXPECT_TRUE(printed.err.empty()) << printed.err; // no host was asked

    ASSERT_EQ(Pgptool({"normalize", "--export", "-o", dir.Path("out.pgp"), doc}, epoch).status, 0);
    EXPECT_EQ(dir.Read("out.pgp"), Pgptool({"normalize", "--export", doc}, epoch).out);

    // File names outside ASCII and outside the system code page arrive whole.
    const std::string office = dir.Write("办公室 한 aliases.pgp", "L,*LINE\r\n");
    ASSERT_EQ(Pgptool({"normalize", "-o", dir.Path("输出.pgp"), office}).status, 0);
    EXPECT_NE(dir.Read("输出.pgp").find("L,         *LINE\r\n"), std::string::npos);
}

TEST(Pgptool, ListsACatalogue) {
    TempDir dir;
    const ProgramRun names = Pgptool({"catalog", dir.Write("my.pgc", "LINE\r\nARC\r\n")});
    EXPECT_EQ(std::tuple(names.status, names.out), std::tuple(0, "LINE\nARC\n")) << names.err;
    // The program's own catalogue, found from an install, is scripts/package's to check.
}

} // namespace

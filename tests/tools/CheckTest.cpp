// pgptool check end to end: its output forms, its exit codes, and that what it
// reports agrees with what list and normalize do with the same files.
#include "host/Strings.h"
#include "tests/support/Doubles.h"
#include "tests/tools/Pgptool.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <sstream>

using namespace nm;
using namespace nm::test;

namespace {

// A path as a JSON string holds it.
std::string Json(const std::string& path) {
    return StrReplace("\\", "\\\\", path);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(PgptoolCheck, PrintsFindingsLikeACompiler) {
    TempDir dir;
    const std::string catalogue = dir.Write("my.pgc", "COPY\r\nLINE\r\nZOOM\r\n");
    const std::string file = dir.Write("t.pgp", "CP,*COPY\r\n\tT,*X\r\nLINE,*ZOOM\r\nX,*FOO\r\n");
    const ProgramRun run = Pgptool({"check", "--catalogue", catalogue, file});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(Lines(run.out),
              (std::vector<std::string>{
                  file + ":1: note: read as UTF-8; a save writes it back the same way [encoding]",
                  file + ":2: warning: the line begins with a tab, so the editor drops it without "
                         "a word: \"\\tT,*X\" [control-first]",
                  file + ":3: warning: the alias name \"LINE\" is itself a catalogue command: "
                         "typing it runs \"ZOOM\" instead of that command [name-hides-command]",
                  file + ":4: warning: the alias \"X\" runs \"FOO\", which is not in the command "
                         "catalogue [unknown-command]",
                  file + ": 3 aliases and 0 shell commands read; 0 errors, 3 warnings, 1 note",
              }));
}

TEST(PgptoolCheck, JsonEscapesTheFilesText) {
    TempDir dir;
    const std::string file = dir.Write("e.pgp", "\tA\"B\\C\x01,*X\r\n");
    const ProgramRun run =
        Pgptool({"check", "--json", "--catalogue", dir.Write("my.pgc", "X"), file});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "{\"files\": [\n  {\"file\": \"" + Json(file) +
                  "\", \"readable\": true, \"aliases\": 0, \"shells\": 0, \"errors\": 0, "
                  "\"warnings\": 1, \"notes\": 1, \"findings\": [\n    {\"file\": \"" +
                  Json(file) +
                  "\", \"line\": 1, \"level\": \"note\", \"code\": \"encoding\", \"message\": "
                  "\"read as UTF-8; a save writes it back the same way\", \"fields\": "
                  "{\"charset\": \"UTF-8\", \"byteOrderMark\": false}},\n    {\"file\": \"" +
                  Json(file) +
                  "\", \"line\": 1, \"level\": \"warning\", \"code\": \"control-first\", "
                  "\"message\": \"the line begins with a tab, so the editor drops it without a "
                  "word: \\\"\\\\tA\\\\\\\"B\\\\\\\\C\\\\x01,*X\\\"\", \"fields\": {\"text\": "
                  "\"\\tA\\\"B\\\\C\\u0001,*X\"}}\n  ]}\n]}\n");

    const ProgramRun missing = Pgptool({"check", "--json", dir.Path("none.pgp")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, "{\"files\": [\n  {\"file\": \"" + Json(dir.Path("none.pgp")) +
                               "\", \"readable\": false, \"reason\": \"File not found (error "
                               "53)\", \"findings\": []}\n]}\n");
}

TEST(PgptoolCheck, ExitCodes) {
    TempDir dir;
    const std::string catalogue = dir.Write("my.pgc", "COPY\r\n");
    const std::string good = dir.Write("good.pgp", "CP,*COPY\r\n");
    const std::string warned = dir.Write("warned.pgp", "CP,*COPY\r\ncp,*COPY\r\n");
    const std::string broken = DataPath("broken-two-commas.pgp");
    const std::string missing = dir.Path("missing.pgp");
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err; // part of standard error
    };
    const std::vector<Case> cases = {
        {{good}, 0, ""},
        {{warned}, 0, ""},
        {{"--strict", warned}, 1, ""},
        {{good, broken}, 1, ""},
        {{missing, good}, 2, "missing.pgp: cannot read the file: File not found (error 53)"},
        {{"--strict", broken, missing}, 2, "cannot read the file"},
        {{}, 2, "no FILE given"},
        {{"--frobnicate", good}, 2, "unknown option"},
        {{"--catalogue"}, 2, "--catalogue needs a file"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"check", "--catalogue", catalogue};
        args.insert(args.end(), c.args.begin(), c.args.end());
        SCOPED_TRACE(testing::PrintToString(c.args));
        const ProgramRun run = Pgptool(args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    }
    // A good file is still reported beside a missing one.
    EXPECT_NE(Pgptool({"check", missing, good}).out.find(good + ": 1 alias and"),
              std::string::npos);
    EXPECT_EQ(Pgptool({"check", "--catalogue", dir.Path("none.pgc"), good}).status, 2);
}

// What check says about a file, by finding code, with the summary's counts.
struct Checked {
    int status = -1;
    int entries = 0;
    int errors = 0;
    std::map<std::string, int> codes;
};

Checked CheckFile(const std::string& file) {
    const ProgramRun run = Pgptool({"check", file});
    Checked checked;
    checked.status = run.status;
    const std::regex finding("^.*:[0-9]+: (error|warning|note): .* \\[([a-z-]+)\\]$");
    const std::regex summary("^.*: ([0-9]+) alias(es)? and ([0-9]+) shell commands? read; "
                             "([0-9]+) errors?, [0-9]+ warnings?, [0-9]+ notes?$");
    bool summarised = false;
    for (const std::string& line : Lines(run.out)) {
        std::smatch m;
        if (std::regex_match(line, m, finding)) {
            ++checked.codes[m[2]];
        } else if (std::regex_match(line, m, summary)) {
            checked.entries = std::stoi(m[1]) + std::stoi(m[3]);
            checked.errors = std::stoi(m[4]);
            summarised = true;
        } else {
            ADD_FAILURE() << "not a finding: " << line;
        }
    }
    EXPECT_TRUE(summarised) << run.out << run.err;
    return checked;
}

TEST(PgptoolCheck, AgreesWithListAndNormalize) {
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(DataPath(""))) {
        if (!entry.is_regular_file())
            continue;
        const std::string file = entry.path().string();
        SCOPED_TRACE(file);
        ++files;
        const Checked checked = CheckFile(file);
        EXPECT_EQ(checked.status, checked.errors > 0 ? 1 : 0);
        const ProgramRun list = Pgptool({"list", file});
        const ProgramRun normalize = Pgptool({"normalize", file});
        if (checked.errors > 0) {
            // The error ends the read, and so list and normalize.
            EXPECT_EQ(list.status, 1);
            EXPECT_EQ(normalize.status, 1);
            EXPECT_NE(list.err.find("不可识别的错误在 PGP 文件."), std::string::npos);
            continue;
        }
        ASSERT_EQ(list.status, 0) << list.err;
        ASSERT_EQ(normalize.status, 0) << normalize.err;
        const auto code = [&](const std::string& name) {
            const auto found = checked.codes.find(name);
            return found == checked.codes.end() ? 0 : found->second;
        };
        // Every entry read is a row, but those removed and those without a name.
        const std::vector<std::string> rows = Lines(list.out);
        EXPECT_EQ(static_cast<int>(rows.size()),
                  checked.entries - code("duplicate-removed") - code("unnamed-alias"));
        // The rows named "---" are those the pass marked and those so named in
        // the file; a save writes all the others, one line each.
        const auto dashes = std::count_if(rows.begin(), rows.end(), [](const std::string& row) {
            return row.find("\t---\t") != std::string::npos;
        });
        EXPECT_EQ(dashes, code("duplicate-marked") + code("dashes-name"));
        const std::vector<std::string> saved = Lines(normalize.out);
        const auto written = std::count_if(saved.begin(), saved.end(), [](const std::string& line) {
            return line.find(',') != std::string::npos;
        });
        EXPECT_EQ(written, static_cast<long>(rows.size()) - dashes);
    }
    EXPECT_GE(files, 6);
}

} // namespace

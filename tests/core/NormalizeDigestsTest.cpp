// The bytes a save writes, pinned: every file of tests/data and a few hundred
// generated ones (all the kinds of line the reader tells apart, both
// encodings, every line end, imports, reads that stop) are opened, imported
// and written as `pgptool normalize` does, and each result's digest is
// compared with the one stored in tests/data/normalize.digests. A change to
// how the file is read or written that alters one byte of any of them fails
// here. Bytes changed on purpose are pinned by writing `now` to that file.
#include "tests/support/Doubles.h"

#include "core/Document.h"
#include "core/PgpWriter.h"
#include "host/TextCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <numeric>
#include <random>
#include <sstream>

using namespace nm;
using namespace nm::test;

namespace {

const char* const Names[] = {"A", "cp", "ZoomW", "  L ", "mi\xE7\xA7\xBB", "$", "?", "---", "X1"};
const char* const Commands[] = {"*LINE",  "  *ARC ", "COPY",          "'_MOVE", "*\xE5\x9C\x86",
                                "*(x) y", "",        "**ZOOM WINDOW", "--W"};
const char* const Ends[] = {"\r\n", "\n", "\r"};

// A file of `lines` lines, of every kind the reader tells apart, from `seed`.
std::string Generated(unsigned seed, int lines, bool mayFail) {
    std::mt19937 random(seed);
    const auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    const auto name = [&] { return std::string(Names[pick(std::size(Names))]); };
    const auto command = [&] { return std::string(Commands[pick(std::size(Commands) - 1)]); };
    std::string text = pick(4) == 0 ? "\xEF\xBB\xBF" : "";
    const std::string fixedEnd = Ends[pick(3)];
    using Kind = std::function<std::string()>;
    const Kind alias = [&] { return name() + std::to_string(pick(40)) + ", " + command(); };
    const Kind shell = [&] {
        return "S" + name() + std::to_string(pick(20)) + "," + command() + "," +
               std::to_string(pick(9)) + "," + (pick(2) ? "*" : "") + "Prompt " + name() + "," +
               (pick(3) ? "" : " rest");
    };
    const Kind kinds[] = {
        [] { return std::string("; a note, with commas"); },
        [&] { return std::string(pick(2) ? "" : "   "); },
        [&] { return (pick(2) ? "\t" : "\xE4\xB8\xAD") + name() + "," + command(); },
        [&] { return "NOCOMMA" + std::to_string(pick(50)); },
        [&] { return name() + std::to_string(pick(9)) + ","; },
        [&] { return "," + command(); },
        alias,
        alias,
        [&] { return name() + "," + Commands[pick(std::size(Commands))] + (pick(2) ? "" : "  "); },
        shell,
        shell,
        [&] { return name() + ", " + name() + "," + command() + "," + command() + ","; },
        [] { return std::string("BAD,two,commas"); }, // the read stops there
    };
    for (int i = 0; i < lines; ++i) {
        const std::string line = kinds[pick(mayFail ? 13 : 12)]();
        text += line + (pick(8) == 0 ? Ends[pick(3)] : fixedEnd.c_str());
    }
    return text;
}

struct Case {
    std::string label, main, imported; // imported: "" for none
};

std::vector<Case> Cases() {
    std::vector<Case> cases;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(DataPath(""))) {
        if (entry.path().extension() != ".pgp")
            continue;
        const std::string name =
            std::filesystem::relative(entry.path(), DataPath("")).generic_string();
        cases.push_back({name, ReadData(name), ""});
    }
    std::sort(cases.begin(), cases.end(),
              [](const Case& a, const Case& b) { return a.label < b.label; });
    for (unsigned seed = 1; seed <= 300; ++seed) {
        Case c{"generated " + std::to_string(seed), Generated(seed, 1 + seed % 60, seed % 10 == 0),
               seed % 3 ? "" : Generated(seed + 1000, 1 + seed % 25, seed % 30 == 0)};
        if (seed % 7 == 0 && c.main.rfind("\xEF\xBB\xBF", 0) != 0) // in the host's code page
            c.main = EncodeFileText(c.main, TextEncoding{LegacyCharset(), false});
        cases.push_back(std::move(c));
    }
    cases.push_back({"placeholders", Generated(0, 0, false), ""});
    for (int i = 0; i < 1500; ++i)
        cases.back().main += i % 2 ? "NOCOMMA\r\n" : "TRAILING,\r\n";
    return cases;
}

// What `pgptool normalize` writes for the case, as a digest. The second line,
// the date and time of the save in the system's own format, is left out.
std::string Digest(const Case& c) {
    LoadedDocument doc(c.main);
    Main& main = doc.h.main;
    doc.h.view.confirm = false;
    if (!c.imported.empty())
        OpenPgpFile(main, doc.dir.Write("import.pgp", c.imported), true);
    std::string text = PgpFileText(main, false);
    const std::size_t dated = text.find("\r\n") + 2;
    text.erase(dated, text.find("\r\n", dated) + 2 - dated);
    const std::string bytes = FileBytes(text, main.FileEncoding);
    const std::uint64_t fnv1a = std::accumulate(
        bytes.begin(), bytes.end(), 14695981039346656037ull, [](std::uint64_t hash, char c) {
            return (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        });
    return std::to_string(fnv1a) + " " + std::to_string(bytes.size());
}

TEST(NormalizeDigests, EveryFileGivesTheBytesItGaveBefore) {
    std::ostringstream now;
    for (const Case& c : Cases())
        now << c.label << "\t" << Digest(c) << "\n";
    EXPECT_EQ(now.str(), ReadData("normalize.digests"));
}

} // namespace

// The bytes a save writes, pinned: every file of tests/data and a few hundred
// generated ones (all the kinds of line the reader tells apart, both
// encodings, every line end, imports, reads that stop) are opened, imported
// and written as `pgptool normalize` does, and each result's digest is
// compared with the one stored in tests/data/normalize.digests. A change to
// how the file is read or written that alters one byte of any of them fails
// here. NM_RECORD_DIGESTS=FILE writes the digests of this build to FILE.
#include "tests/support/Doubles.h"

#include "core/Document.h"
#include "core/PgpWriter.h"
#include "host/TextCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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
    for (int i = 0; i < lines; ++i) {
        std::string line;
        switch (pick(mayFail ? 13 : 12)) {
        case 0:
            line = "; a note, with commas";
            break;
        case 1:
            line = pick(2) ? "" : "   ";
            break;
        case 2:
            line = (pick(2) ? "\t" : "\xE4\xB8\xAD") + name() + "," + command();
            break;
        case 3:
            line = "NOCOMMA" + std::to_string(pick(50));
            break;
        case 4:
            line = name() + std::to_string(pick(9)) + ",";
            break;
        case 5:
            line = "," + command();
            break;
        case 6:
        case 7:
            line = name() + std::to_string(pick(40)) + ", " + command();
            break;
        case 8:
            line = name() + "," + Commands[pick(std::size(Commands))] + (pick(2) ? "" : "  ");
            break;
        case 9:
        case 10:
            line = "S" + name() + std::to_string(pick(20)) + "," + command() + "," +
                   std::to_string(pick(9)) + "," + (pick(2) ? "*" : "") + "Prompt " + name() + "," +
                   (pick(3) ? "" : " rest");
            break;
        case 11:
            line = name() + ", " + name() + "," + command() + "," + command() + ",";
            break;
        default: // a line the reader cannot take: the read stops there
            line = "BAD,two,commas";
        }
        text += line + (pick(8) == 0 ? Ends[pick(3)] : fixedEnd.c_str());
    }
    return text;
}

// The same bytes in the host's double-byte code page.
std::string InCodePage(const std::string& utf8) {
    return EncodeFileText(utf8, TextEncoding{LegacyCharset(), false});
}

struct Case {
    std::string label;
    std::string main;
    std::vector<std::string> imports;
};

std::vector<Case> Cases() {
    std::vector<Case> cases;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(DataPath(""))) {
        if (entry.path().extension() != ".pgp")
            continue;
        const std::string name =
            std::filesystem::relative(entry.path(), DataPath("")).generic_string();
        cases.push_back({name, ReadData(name), {}});
    }
    std::sort(cases.begin(), cases.end(),
              [](const Case& a, const Case& b) { return a.label < b.label; });
    for (unsigned seed = 1; seed <= 300; ++seed) {
        Case c{"generated " + std::to_string(seed),
               Generated(seed, 1 + seed % 60, seed % 10 == 0),
               {}};
        if (seed % 3 == 0)
            c.imports.push_back(Generated(seed + 1000, 1 + seed % 25, seed % 30 == 0));
        if (seed % 7 == 0 && c.main.rfind("\xEF\xBB\xBF", 0) != 0)
            c.main = InCodePage(c.main);
        cases.push_back(std::move(c));
    }
    cases.push_back({"placeholders", Generated(0, 0, false), {}});
    for (int i = 0; i < 1500; ++i)
        cases.back().main += i % 2 ? "NOCOMMA\r\n" : "TRAILING,\r\n";
    return cases;
}

// FNV-1a, 64 bits.
std::uint64_t Fnv(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes)
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return hash;
}

// What `pgptool normalize` writes for the case, as a digest. The second line,
// the date and time of the save in the system's own format, is left out.
std::string Digest(const Case& c) {
    LoadedDocument doc(c.main);
    Main& main = doc.h.main;
    doc.h.view.confirm = false;
    for (std::size_t i = 0; i < c.imports.size(); ++i)
        OpenPgpFile(main, doc.dir.Write("import" + std::to_string(i) + ".pgp", c.imports[i]), true);
    std::string text = PgpFileText(main, false);
    const std::size_t dated = text.find("\r\n") + 2;
    text.erase(dated, text.find("\r\n", dated) + 2 - dated);
    const std::string bytes = FileBytes(text, main.FileEncoding);
    std::ostringstream out;
    out << std::hex << Fnv(bytes) << " " << std::dec << bytes.size();
    return out.str();
}

TEST(NormalizeDigests, EveryFileGivesTheBytesItGaveBefore) {
    std::ostringstream now;
    for (const Case& c : Cases())
        now << c.label << "\t" << Digest(c) << "\n";
    if (const char* record = std::getenv("NM_RECORD_DIGESTS")) {
        std::ofstream(record, std::ios::binary) << now.str();
        return;
    }
    std::istringstream stored(ReadData("normalize.digests")), fresh(now.str());
    int compared = 0;
    for (std::string was, is; std::getline(stored, was) && std::getline(fresh, is); ++compared)
        EXPECT_EQ(is, was);
    EXPECT_EQ(now.str().size(), ReadData("normalize.digests").size());
    EXPECT_GT(compared, 300);
}

} // namespace

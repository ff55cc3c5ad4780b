// pgptool end to end: the bytes it prints and writes and its exit codes.
#include "tests/tools/Pgptool.h"
#include "tests/support/Doubles.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace nm;
using namespace nm::test;

namespace {

#ifdef _WIN32
// A saved file without its line 2, the date and time of the save, which is
// written in the system's own formats.
std::string WithoutDateLine(const std::string& text) {
    const std::size_t a = text.find("\r\n");
    const std::size_t b = a == std::string::npos ? a : text.find("\r\n", a + 2);
    return b == std::string::npos ? text : text.substr(0, a) + text.substr(b);
}
#endif

TEST(Pgptool, NormalizePrintsWhatASaveWrites) {
    const ProgramRun run = Pgptool({"normalize", DataPath("handmade.pgp")},
                                   {{"TZ", "UTC"}, {"SOURCE_DATE_EPOCH", "1795857245"}});
    EXPECT_EQ(run.status, 0) << run.err;
#ifdef _WIN32
    EXPECT_EQ(WithoutDateLine(run.out), WithoutDateLine(ReadData("handmade.saved.pgp")));
#else
    EXPECT_EQ(run.out, ReadData("handmade.saved.pgp"));
#endif
}

TEST(Pgptool, ListShowsTheRowsAfterImportAndDuplicatePass) {
    TempDir dir;
    const std::string doc = dir.Write("doc.pgp", "CP,*COPY\r\nS,  DIR , 8 ,*Files: ,\r\n");
    const std::string more = dir.Write("more.pgp", "cp,*CHKDSK\r\nL,*LINE\r\n");
    const ProgramRun run = Pgptool({"list", "--import", more, doc});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "alias\t---\tCOPY\nalias\tCP\tCHKDSK\nalias\tL\tLINE\n"
                       "shell\tS\tDIR\t8\tFiles:\n");
    // The duplicates message of the import reaches standard error.
    EXPECT_NE(run.err.find("发现副本"), std::string::npos);
}

TEST(Pgptool, ExitCodes) {
    TempDir dir;
    const std::string good = dir.Write("good.pgp", "CP,*COPY\r\n");
    struct Case {
        std::string name;
        std::vector<std::string> args;
        int status;
        std::string err; // part of standard error
    };
    const std::vector<Case> cases = {
        {"unreadable file",
         {"normalize", DataPath("broken-two-commas.pgp")},
         1,
         "不可识别的错误在 PGP 文件."},
        {"missing file", {"list", dir.Path("missing.pgp")}, 1, "不可识别的错误在 PGP 文件."},
        {"broken import",
         {"normalize", "--import", DataPath("broken-two-commas.pgp"), good},
         1,
         "不可识别的错误在 PGP 文件."},
        {"no command", {}, 2, "usage:"},
        {"unknown command", {"frobnicate", good}, 2, "usage:"},
        {"no file", {"normalize"}, 2, "usage:"},
        {"unknown option", {"list", "--export", good}, 2, "usage:"},
        {"backup without -o", {"normalize", "--backup", good}, 2, "usage:"},
        {"help", {"--help"}, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ProgramRun run = Pgptool(c.args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
        if (c.status != 0) {
            EXPECT_TRUE(run.out.empty());
        }
    }
}

TEST(Pgptool, WritesTheOutputFileSafelyWithItsBackup) {
    TempDir dir;
    const std::string doc = dir.Write("vtrm.pgp", "; mine\r\nCP,*COPY\r\n");
    const ProgramRun run = Pgptool({"normalize", "-o", doc, "--backup", doc});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"vtrm.pgp", "备份        vtrm.pgp"}));
    EXPECT_EQ(dir.Read("备份        vtrm.pgp"), "; mine\r\nCP,*COPY\r\n\r\n");
    EXPECT_NE(dir.Read("vtrm.pgp").find("CP,        *COPY\r\n"), std::string::npos);
    EXPECT_TRUE(run.err.empty()) << run.err; // no host was asked

    const ProgramRun exported = Pgptool({"normalize", "--export", "-o", dir.Path("out.pgp"), doc});
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_NE(dir.Read("out.pgp").find("NICKMAKER"), std::string::npos);

    // File names outside ASCII and outside the system code page arrive whole.
    const std::string office = dir.Write("办公室 한 aliases.pgp", "L,*LINE\r\n");
    const ProgramRun named = Pgptool({"normalize", "-o", dir.Path("输出.pgp"), office});
    ASSERT_EQ(named.status, 0) << named.err;
    EXPECT_NE(dir.Read("输出.pgp").find("L,         *LINE\r\n"), std::string::npos);

    const ProgramRun failed = Pgptool({"normalize", "-o", dir.Path("none/x.pgp"), doc});
    EXPECT_EQ(failed.status, 1) << failed.err;
    EXPECT_NE(failed.err.find("这个路径不存在."), std::string::npos) << failed.err;
}

} // namespace

namespace {

TEST(Pgptool, LocatesTheSampleHostsFileAndListsACatalogue) {
    TempDir empty;
#ifndef _WIN32 // a Wine prefix is where a Linux machine keeps the host
    const std::string sample = std::filesystem::canonical(DataPath("../../examples/sample-host"));
    const ProgramRun found = Pgptool({"locate", "-v"}, {{"WINEPREFIX", sample}});
    EXPECT_EQ(found.status, 0) << found.err;
    EXPECT_EQ(found.out, sample + "/drive_c/Vectrom/Support/vtrm.pgp\n");
    EXPECT_NE(found.err.find("searched: " + sample + "/drive_c/Vectrom/Support/"),
              std::string::npos);

    const ProgramRun none = Pgptool({"locate"}, {{"WINEPREFIX", empty.Path("")}});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.out, "");
#endif

    const ProgramRun names =
        Pgptool({"catalogue", empty.Write("my.pgc", "// mine\r\nLINE,line\r\nARC\r\n\"A,B\"\r\n")});
    EXPECT_EQ(names.status, 0) << names.err;
    EXPECT_EQ(names.out, "LINE\nARC\nA,B\n");
    // The catalogue beside the program, with its office list.
    const ProgramRun shipped = Pgptool({"catalogue"});
    EXPECT_EQ(shipped.status, 0) << shipped.err;
    EXPECT_NE(shipped.out.find("\nLINE\n"), std::string::npos);
    EXPECT_EQ(shipped.err, "");
}

} // namespace

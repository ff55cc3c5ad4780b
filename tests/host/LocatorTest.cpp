// Finding the host's program-parameters file along the profile's search list,
// through the drives of a Wine prefix, and the editor's support files.
#include "tests/support/Doubles.h"

#include "host/Locator.h"
#include "host/Strings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace nm;
using namespace nm::test;
namespace fs = std::filesystem;

namespace {

// A Wine prefix with drive C: and a program folder, in a folder of its own.
struct Prefix {
    TempDir dir;
    StoredRegistry registry;
    ScriptedPrompter prompter;
    HostContext host{prompter, registry, dir.Path("prog"), dir.Path("dosdevices")};

    Prefix() {
        fs::create_directories(dir.Path("dosdevices"));
        fs::create_directories(dir.Path("drive_c"));
        fs::create_directories(dir.Path("prog"));
        fs::create_symlink("../drive_c", dir.Path("dosdevices/c:"));
    }
    std::string Drive(const std::string& path) const {
        return fs::canonical(dir.Path("drive_c")).string() + path;
    }
    std::string File(const std::string& path, const std::string& bytes = "x") {
        fs::create_directories(fs::path(dir.Path("drive_c" + path)).parent_path());
        dir.Write("drive_c" + path, bytes);
        return Drive(path);
    }
};

// Runs with the current folder set to `folder`.
struct InFolder {
    explicit InFolder(const std::string& folder) : saved(fs::current_path()) {
        fs::current_path(folder);
    }
    ~InFolder() { fs::current_path(saved); }
    fs::path saved;
};

TEST(FindFileOnPath, SearchesTheListInOrderThroughTheDrives) {
    Prefix p;
    SetEnv("NM_TEST_HOME", "C:\\Users\\drafter");
    fs::create_directories(p.dir.Path("drive_c/A"));
    fs::create_directories(p.dir.Path("drive_c/Users/Drafter/x/vtrm.pgp")); // a folder: no match
    const std::string found = p.File("/B C/VTRM.PGP");
    std::vector<std::string> searched;
    EXPECT_EQ(FindFileOnPath(p.host, "vtrm.pgp", "C:\\a;%NM_TEST_HOME%\\x;\"c:\\b c\"", &searched),
              found);
    EXPECT_EQ(searched, (std::vector<std::string>{p.Drive("/A/"), p.Drive("/Users/Drafter/x/"),
                                                  p.Drive("/B C/")}));
}

TEST(FindFileOnPath, EntryForms) {
    Prefix p;
    p.File("/D/vtrm.pgp");
    p.File("/D/.hidden.pgp");
    struct Case {
        std::string name, list;
        std::vector<std::string> searched;
        bool found;
    };
    const std::vector<Case> cases = {
        {"vtrm.pgp", "C:/D/", {p.Drive("/D/")}, true},
        {" \t\"vtrm.pgp\"\" ", "C:\\D", {p.Drive("/D/")}, true},
        {"vtrm.pgp", ";C:\\D;", {"/", p.Drive("/D/")}, true},
        {".hidden.pgp", "C:\\D", {p.Drive("/D/")}, false},
        {"C:\\Other\\vtrm.pgp", "C:\\D", {}, false},
        {"\"\"", "C:\\D", {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name + " in " + c.list);
        std::vector<std::string> searched;
        const std::string result = FindFileOnPath(p.host, c.name, c.list, &searched);
        EXPECT_EQ(result.empty(), !c.found);
        EXPECT_EQ(searched, c.searched);
    }
}

TEST(FindFileOnPath, CurrentFolderFirstThenPath) {
    Prefix p;
    fs::create_directories(p.dir.Path("here"));
    p.dir.Write("here/.hidden.pgp", "x");
    const std::string onPath = p.File("/bin2/vtrm.pgp");
    const char* oldPath = std::getenv("PATH");
    const std::string saved = oldPath ? oldPath : "";
    SetEnv("PATH", (p.Drive("/bin1") + ":" + p.Drive("/bin2")));
    {
        InFolder here(p.dir.Path("here"));
        std::vector<std::string> searched;
        EXPECT_EQ(FindFileOnPath(p.host, "vtrm.pgp", "", &searched), onPath);
        EXPECT_EQ(searched, (std::vector<std::string>{fs::current_path().string() + "/",
                                                      p.Drive("/bin1/"), p.Drive("/bin2/")}));
        // In the current folder any entry counts, a hidden one too.
        EXPECT_EQ(FindFileOnPath(p.host, ".hidden.pgp", "C:\\", nullptr),
                  fs::current_path().string() + "/.hidden.pgp");
    }
    SetEnv("PATH", saved);
}

TEST(SupportFilePath, FindsTheFileBesideTheProgramOrSaysItIsMissing) {
    const std::string missing =
        "未找到. 请移动到与 ALIAS.EXE 相同的文件夹或者重新安装 Zentro Tools.";
    for (const std::string content : {"", "\"LINE\"\r\n"}) {
        SCOPED_TRACE(content.size());
        Prefix p;
        const std::string catalogue = p.dir.Write("prog/alias.pgc", content);
        const std::string result = SupportFilePath(p.host, "");
        if (content.empty()) {
            EXPECT_EQ(result, "");
            ASSERT_EQ(p.prompter.shown.size(), 1u);
            EXPECT_EQ(p.prompter.shown[0].text,
                      "支持文件" + std::string(12, ' ') + catalogue + missing);
            EXPECT_EQ(p.prompter.shown[0].title, "文件未找到");
            EXPECT_EQ(p.prompter.shown[0].icon, Icon::None);
        } else {
            EXPECT_EQ(result, catalogue);
            EXPECT_TRUE(p.prompter.shown.empty());
        }
    }
    Prefix p;
    const std::string office = p.dir.Write("prog/office.pgc", "X");
    EXPECT_EQ(SupportFilePath(p.host, "office.pgc"), office);
    EXPECT_EQ(SupportFilePath(p.host, office), office);
}

TEST(FindHostPgpFile, FindsTheSampleProfilesFile) {
    const std::string sample = fs::canonical(DataPath("../../examples/sample-host")).string();
    WineRegistry registry(sample);
    ScriptedPrompter prompter;
    HostContext host{prompter, registry, "", sample + "/dosdevices"};
    LocateTrace trace;
    EXPECT_EQ(FindHostPgpFile(host, &trace), sample + "/drive_c/Vectrom/Support/vtrm.pgp");
    EXPECT_EQ(trace.release, "R15.0");
    EXPECT_EQ(trace.profile, "<<Unnamed Profile>>");
    ASSERT_EQ(trace.searched.size(), 2u);
    EXPECT_TRUE(prompter.shown.empty());
}

} // namespace

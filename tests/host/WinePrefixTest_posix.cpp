// The host's file found in a prefix made by Wine itself, its keys written
// by Wine's own registry tool as a 32-bit installer writes them, and the
// search list's variables expanded as Wine's command interpreter expands
// them. Skipped where Wine is not installed.
#include "tests/support/Doubles.h"
#include "tests/support/Program.h"

#include "host/HostKeys.h"
#include "host/Locator.h"
#include "host/WineEnvironment.h"
#include "host/WineRegistry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace nm;
using namespace nm::test;
namespace fs = std::filesystem;

namespace {

// The full path of a program on PATH, "" when there is none.
std::string OnPath(const std::string& program) {
    const std::string out = RunProgram("/bin/sh", {"-c", "command -v " + program}).out;
    return out.substr(0, out.find('\n'));
}

// Output lines without Wine's line ends and trailing blanks.
std::vector<std::string> Lines(const std::string& out) {
    std::vector<std::string> lines;
    std::stringstream in(out);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.substr(0, line.find_last_not_of(" \r") + 1));
    return lines;
}

TEST(WinePrefix, FindsTheFileOfA32BitHost) {
    const std::string wine = OnPath("wine"), wineserver = OnPath("wineserver");
    if (wine.empty() || wineserver.empty() || OnPath("winepath").empty())
        GTEST_SKIP() << "Wine is not installed: no prefix to test against";
    TempDir dir;
    const std::string prefix = dir.Path("prefix");
    // A Chinese desktop (code page 936), and a Linux TEMP Wine must not use.
    const Environment env = {{"WINEPREFIX", prefix},    {"WINEDEBUG", "-all"},
                             {"DISPLAY", ""},           {"LANG", "zh_CN.UTF-8"},
                             {"LC_ALL", "zh_CN.UTF-8"}, {"TEMP", dir.Path("linux-temp")},
                             {"WINEPATH", "C:\\tools"}};
    const auto run = [&](const std::vector<std::string>& args) {
        const ProgramRun r = RunProgram(wine, args, env);
        EXPECT_EQ(r.status, 0) << args[0] << ": " << r.err;
        return r.out;
    };
    ASSERT_EQ(RunProgram(wine, {"wineboot", "-i"}, env).status, 0);
    StartProgram(wineserver, {"-p"}, env, dir.Path("ws.out"), dir.Path("ws.err"));

    // A search list near the host's 255 bytes: over them in UTF-8, under in 936.
    const std::string han = "\xE5\x9B\xBE"; // a character of 3 bytes in UTF-8 and 2 in 936
    std::string chinese = "C:\\";
    for (int i = 0; i < 70; ++i)
        chinese += han;
    const std::string list = "%USERPROFILE%\\Hidden;\"%APPDATA%\\Vectrom Support\";%NM_NONE%;" +
                             chinese + ";\\Vectrom\\Support";
    const std::string machine = "HKLM\\SOFTWARE\\Tessaron\\Vectrom";
    const std::string user = "HKCU\\SOFTWARE\\Tessaron\\Vectrom\\R15.0\\VTRM-4001:804\\Profiles";
    run({"reg", "add", machine, "/v", "CurVer", "/d", "R15.0", "/reg:32", "/f"});
    run({"reg", "add", machine + "\\R15.0", "/v", "CurVer", "/d", "VTRM-4001:804", "/reg:32",
         "/f"});
    run({"reg", "add", "HKCU\\Environment", "/v", "PATH", "/d", "C:\\mine", "/f"});
    run({"reg", "add", user, "/ve", "/d", "<<未命名配置>>", "/f"});
    run({"reg", "add", user + "\\<<未命名配置>>\\General", "/v", "VTRM", "/d", list, "/f"});

    // The names a search list may use, as Wine's interpreter expands them.
    // (ProgramFiles is left out: the interpreter is a 64-bit program, the
    // host a 32-bit one.)
    const std::vector<std::string> names = {"APPDATA",      "LOCALAPPDATA", "USERPROFILE",
                                            "USERNAME",     "HOMEDRIVE",    "HOMEPATH",
                                            "PUBLIC",       "ProgramData",  "ALLUSERSPROFILE",
                                            "SystemRoot",   "windir",       "SystemDrive",
                                            "TEMP",         "TMP",          "PATH",
                                            "COMPUTERNAME", "ComSpec",      "ProgramFiles(x86)",
                                            "ProgramW6432", "NM_NONE"};
    std::string echo;
    for (const std::string& name : names)
        echo += (echo.empty() ? "echo %" : " & echo %") + name + "%";
    const std::vector<std::string> seen = Lines(run({"cmd", "/c", echo}));
    ASSERT_EQ(seen.size(), names.size());
    const std::string profile = seen[2], support = seen[0] + "\\Vectrom Support";
    const std::string linuxSupport = Lines(run({"winepath", "-u", support})).at(0);
    fs::create_directories(linuxSupport);
    const std::string file = linuxSupport + "/vtrm.pgp";
    std::ofstream(file) << "CP,*COPY\r\n";
    // A file Wine marks hidden does not count, as for the host.
    const std::string hidden = Lines(run({"winepath", "-u", profile + "\\Hidden"})).at(0);
    fs::create_directories(hidden);
    std::ofstream(hidden + "/vtrm.pgp") << "L,*LINE\r\n";
    run({"cmd", "/c",
         "attrib +h " + profile + "\\Hidden\\vtrm.pgp"});     // no quotes: Wine's attrib takes none
    ASSERT_EQ(RunProgram(wineserver, {"-k"}, env).status, 0); // the registry is saved
    RunProgram(wineserver, {"-w"}, env);

    Variables linuxEnvironment = ProcessVariables();
    for (const auto& [name, value] : env)
        linuxEnvironment.Set(name, value);
    SystemFileSystem files;
    WineRegistry registry(files, prefix);
    ScriptedPrompter prompter;
    HostContext host{prompter, registry, "", prefix + "/dosdevices",
                     WineVariables(registry, linuxEnvironment)};
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(ExpandEnvVars("%" + names[i] + "%", host.variables), seen[i]) << names[i];
    EXPECT_TRUE(fs::equivalent(MapDosPath(host.dosDevices, support), linuxSupport));

    LocateTrace trace;
    const std::string found = FindHostPgpFile(host, &trace);
    EXPECT_EQ(trace.view, RegistryView::Bits32);
    EXPECT_EQ(trace.searchList, list);
    ASSERT_FALSE(found.empty()) << trace.searched.size() << " folders searched";
    EXPECT_TRUE(fs::equivalent(found, file)) << found;
    EXPECT_TRUE(prompter.shown.empty());
}

} // namespace

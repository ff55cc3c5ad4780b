// The recent-files list (its order, its length, what the settings keep, the
// file gone since) and the check of the document's file on disk.
#include "tests/core/Boxes.h"

#include "core/DiskWatch.h"
#include "core/RecentFiles.h"
#include "host/FileIo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using namespace nm;
using namespace nm::test;

namespace {

const std::string App = "应用";

TEST(RecentFiles, KeepsTheNewestEightInTheSettings) {
    const struct {
        const char* name;
        Rows stored;       // File1, File2, ... before the list is read
        std::string steps; // "+path" adds, "-path" removes
        Rows files;
    } cases[] = {
        {"newest first", {}, "+a +b +c", {"c", "b", "a"}},
        {"a listed file moves up", {}, "+a +b +c +a", {"a", "c", "b"}},
        {"eight at most",
         {},
         "+1 +2 +3 +4 +5 +6 +7 +8 +9",
         {"9", "8", "7", "6", "5", "4", "3", "2"}},
        {"removed", {"a", "b", "c"}, "-b -x", {"a", "c"}},
        {"gaps and repeats in the settings", {"a", "", "b", "a"}, "+c", {"c", "a", "b"}},
    };
    for (const auto& c : cases) {
        MemorySettingsStore settings;
        for (std::size_t i = 0; i < c.stored.size(); ++i)
            settings.values[{App, RecentFilesSection, "File" + std::to_string(i + 1)}] =
                c.stored[i];
        RecentFiles recent(settings, App, RecentFilesSection);
        std::istringstream steps(c.steps);
        for (std::string step; steps >> step;)
            step[0] == '+' ? recent.Add(step.substr(1)) : recent.Remove(step.substr(1));
        EXPECT_EQ(recent.Files(), c.files) << c.name;
        EXPECT_EQ(RecentFiles(settings, App, RecentFilesSection).Files(), c.files)
            << c.name << ", read again";
    }
}

TEST(RecentFiles, PickingAFileGoneTakesItOffTheList) {
    TempDir dir;
    const std::string here = dir.Write("here.pgp", ""), gone = dir.Path("gone.pgp");
    MemorySettingsStore settings;
    RecentFiles recent(settings, App, RecentFilesSection);
    recent.Add(gone), recent.Add(here);
    SystemFileSystem files;
    ScriptedPrompter prompter;
    EXPECT_EQ(PickRecent(recent, files, prompter, 0), here);
    EXPECT_EQ(PickRecent(recent, files, prompter, 1), std::nullopt);
    EXPECT_EQ(recent.Files(), Rows{here});
    EXPECT_EQ(Boxes(prompter),
              Rows{Box({gone + "\r\n\r\n这个文件已不存在, 已从最近的文件列表中删除.", Buttons::OK,
                        Icon::Information, "最近的文件", 1})});
}

TEST(DiskWatch, TellsTheFileFromTheBytesLastSeen) {
    const struct {
        std::optional<std::string> now; // the file's bytes after "abc" was seen; none: removed
        DiskState state;
    } cases[] = {{"abc", DiskState::Same},
                 {"abd", DiskState::Changed},
                 {"", DiskState::Changed},
                 {std::nullopt, DiskState::Gone}};
    SystemFileSystem files;
    for (const auto& c : cases) {
        TempDir dir;
        const std::string path = dir.Write("f", "abc");
        const FileStamp seen = StampOf(path, ReadFileBytes(files, path));
        c.now ? (void)dir.Write("f", *c.now) : (void)std::filesystem::remove(path);
        EXPECT_EQ(CheckDisk(files, seen), c.state) << c.now.value_or("removed");
    }
    EXPECT_EQ(CheckDisk(files, FileStamp{}), DiskState::Same) << "no file tracked";
}

} // namespace

// The watch on the document's file: one signal per change, through a save by
// rename and a file that goes and comes back.
#include "tests/support/Doubles.h"

#include "ui/FileWatcher.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

TEST(FileWatcher, SignalsEachChangeOnceThroughReplacements) {
    namespace fs = std::filesystem;
    nm::test::TempDir dir;
    const std::string path = dir.Write("vtrm.pgp", "one");
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"replaced by a rename", [&] { fs::rename(dir.Write("vtrm.tmp", "three"), path); }},
        {"written after the rename", [&] { dir.Write("vtrm.pgp", "four"); }},
        {"removed", [&] { fs::remove(path); }},
        {"back again", [&] { dir.Write("vtrm.pgp", "five"); }},
        {"written after coming back", [&] { dir.Write("vtrm.pgp", "six"); }},
    };
    nm::FileWatcher watcher;
    watcher.Watch(QString::fromStdString(path));
    QSignalSpy spy(&watcher, &nm::FileWatcher::changedOnDisk);
    for (const auto& [name, act] : steps) {
        spy.clear();
        act();
        EXPECT_TRUE(spy.wait(5000)) << name;
        EXPECT_FALSE(spy.wait(3 * nm::FileWatcher::QuietMilliseconds)) << name << ": twice";
    }
}

} // namespace

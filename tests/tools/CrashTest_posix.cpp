// Saves that die or fail for real: a save killed at random moments leaves the
// whole old file or the whole new one; a full disk and a name too long leave
// the old file as it was.
#include "tests/support/Doubles.h"
#include "tests/support/Program.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <random>
#include <sys/mount.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace nm::test;

namespace {

std::string LargeDocument() {
    std::string text = "; a large office file\r\n";
    for (int i = 0; i < 30000; ++i)
        text += "ALIAS" + std::to_string(i) + ",*COMMAND" + std::to_string(i % 977) + "\r\n";
    return text;
}

// Starts `pgptool normalize -o target source`; returns the child's pid.
pid_t StartSave(const std::string& source, const std::string& target) {
    return StartProgram(PGPTOOL, {"normalize", "-o", target, source},
                        {{"SOURCE_DATE_EPOCH", "1795857245"}, {"LC_ALL", "C"}}, "/dev/null",
                        "/dev/null");
}

int ExitCode(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WEXITSTATUS(status);
}

TEST(SaveCrash, KilledSaveLeavesTheOldOrTheNewFileWhole) {
    TempDir dir;
    const std::string old = LargeDocument();
    const std::string source = dir.Write("source.pgp", old);
    const std::string target = dir.Write("vtrm.pgp", old);
    // The new file, and how long a save takes.
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(ExitCode(StartSave(source, target)), 0);
    const auto took = std::chrono::steady_clock::now() - start;
    const std::string fresh = dir.Read("vtrm.pgp");
    ASSERT_NE(fresh, old);
    const auto span = std::chrono::duration_cast<std::chrono::microseconds>(took).count() * 3 / 2;

    std::mt19937 random(20261206);
    int oldSeen = 0;
    const int runs = 200;
    for (int run = 0; run < runs; ++run) {
        dir.Write("vtrm.pgp", old);
        const pid_t pid = StartSave(source, target);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % (span + 1)));
        ::kill(pid, SIGKILL);
        ExitCode(pid);
        const std::string now = dir.Read("vtrm.pgp");
        ASSERT_TRUE(now == old || now == fresh) << "run " << run << ": " << now.size() << " bytes";
        oldSeen += now == old;
        // A killed save may leave its temporary file; it is never the target.
        for (const std::string& name : dir.Names())
            if (name.front() == '.')
                std::filesystem::remove(dir.Path(name));
    }
    std::printf("killed saves: %d left the old file, %d the new one\n", oldSeen, runs - oldSeen);
}

TEST(SaveCrash, RealFailuresLeaveTheOldFile) {
    TempDir dir;
    const std::string source = dir.Write("source.pgp", LargeDocument());
    // A name longer than the system allows.
    const std::string tooLong = dir.Path(std::string(300, 'n') + ".pgp");
    EXPECT_EQ(ExitCode(StartSave(source, tooLong)), 1);
    EXPECT_NE(::access(tooLong.c_str(), F_OK), 0);

    // A full file system: a small tmpfs, where this test may mount one.
    std::filesystem::create_directory(dir.Path("small"));
    if (::mount("tmpfs", dir.Path("small").c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here: the full-disk save is not tried";
    const std::string target = dir.Write("small/vtrm.pgp", "CP,*COPY\r\n");
    const int status = ExitCode(StartSave(source, target));
    const std::string now = dir.Read("small/vtrm.pgp");
    const auto left = std::distance(std::filesystem::directory_iterator(dir.Path("small")), {});
    ::umount(dir.Path("small").c_str());
    // The old file stays, and no temporary file beside it.
    EXPECT_EQ(std::tuple(status, now, left), std::tuple(1, "CP,*COPY\r\n", 1));
}

} // namespace

// Every write path against a file system that fails one call with one error:
// the right message and reaction, the target byte for byte as it was, no
// temporary file left, and the document still changed when its save failed.
#include "tests/support/Doubles.h"

#include "catalog/CommandCatalogue.h"
#include "core/Export.h"
#include "core/ListRows.h"
#include "core/PgpReader.h"
#include "core/PgpWriter.h"
#include "host/MemoryRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace nm;
using namespace nm::test;

namespace {

enum class WritePath { Save, Backup, Export, Catalogue };

std::string Trace(WritePath path, FsCall call, std::errc error) {
    const char* const names[] = {"save", "backup", "export", "catalogue"};
    return std::string(names[static_cast<int>(path)]) + " call " +
           std::to_string(static_cast<int>(call)) + ": " + std::make_error_code(error).message();
}

const std::string Old = "; kept\r\nCP,*COPY\r\n";
const std::string OldCatalogue = "\"LINE\"\r\n";
const std::string BackupName = "备份        vtrm.pgp";

// One run of a write path with one failing call; `answers` answer the boxes.
struct FaultRun {
    TempDir dir;
    Harness h;
    MemoryRegistry registry;
    std::vector<std::string> catalogue{"LINE"};
    bool targetWritten = false; // the new content arrived
    bool extraWritten = false;  // the backup, the export or the catalogue line arrived

    FaultRun(WritePath path, FsCall call, std::errc error, std::vector<Answer> answers) {
        const std::string target = dir.Write("vtrm.pgp", Old);
        dir.Write("alias.pgc", OldCatalogue);
        EXPECT_EQ(ReadPgpFile(h.main, target, false), ReadResult::Completed);
        FillListRows(h.main, false);
        h.main.Lists[AliasList].Add("L", {"LINE", {}, {}});
        h.main.FileChanged = 1;
        h.main.CurrentFile = target;
        h.view.confirm = path == WritePath::Backup;
        h.host.failWith = 0;
        h.prompter.answers.assign(answers.begin(), answers.end());
        // The catalogue is read before it is appended to; its reading open is not the one.
        h.files.FailNext(call, error, 1, path == WritePath::Catalogue && call == FsCall::Open);
        switch (path) {
        case WritePath::Save:
        case WritePath::Backup:
            SavePgpFile(h.main, target, "vtrm.pgp", true);
            break;
        case WritePath::Export:
            h.dialogs.picks.push_back(dir.Path("out.pgp"));
            ExportLists(h.main);
            break;
        case WritePath::Catalogue:
            h.prompter.answers.push_front(Answer::Yes); // the offer
            OfferNewCommand(h.files, HostContext{h.prompter, registry, dir.Path(""), ""}, "zoom",
                            catalogue);
            break;
        }
        targetWritten = dir.Read("vtrm.pgp") != Old;
        extraWritten = path == WritePath::Backup   ? dir.Exists(BackupName)
                       : path == WritePath::Export ? dir.Exists("out.pgp")
                                                   : dir.Read("alias.pgc") != OldCatalogue;
        const std::vector<std::string> known = {"alias.pgc", "out.pgp", "vtrm.pgp", BackupName};
        for (const std::string& name : dir.Names())
            EXPECT_NE(std::find(known.begin(), known.end(), name), known.end())
                << "temporary file left: " << name;
        // A save that did not write its file leaves the document changed.
        if (path <= WritePath::Backup && !targetWritten) {
            EXPECT_EQ(std::tuple(h.main.FileChanged, h.host.requests), std::tuple(1, 0));
        }
    }
};

// The calls whose failure stops a write path: a new file and the replaced
// one (which the user must be allowed to write) go through a temporary file,
// the catalogue is appended to in place.
std::vector<FsCall> WriteCalls(WritePath path) {
    if (path == WritePath::Catalogue)
        return {FsCall::CheckWrite, FsCall::Open, FsCall::Write, FsCall::Flush, FsCall::Close};
    std::vector<FsCall> calls = {FsCall::CreateTemp, FsCall::Write, FsCall::SetAccess,
                                 FsCall::Flush,      FsCall::Close, FsCall::Replace};
    if (path == WritePath::Save)
        calls.push_back(FsCall::CheckWrite);
    return calls;
}

const WritePath AllPaths[] = {WritePath::Save, WritePath::Backup, WritePath::Export,
                              WritePath::Catalogue};

TEST(FaultInjection, GivingUpLeavesEveryFileAsItWas) {
    // The error, the run-time number it becomes, the disk-error box it brings
    // ("" when FileErrorPrompt shows none: code 3) and the answer that gives up.
    const struct {
        std::errc error;
        int number;
        std::string box;
        Answer giveUp;
    } errors[] = {
        {std::errc::no_space_on_device, 61, "磁盘满. 继续?", Answer::Abort},
        {std::errc::io_error, 57, "一个内部磁盘错误发生.", Answer::Cancel},
        {std::errc::permission_denied, 75, "", Answer::OK},
        {std::errc::no_such_file_or_directory, 53, "", Answer::OK},
        {std::errc::filename_too_long, 64, "这个文件名非法.", Answer::OK},
        {std::errc::too_many_files_open, 67, "", Answer::OK},
    };
    for (const WritePath path : AllPaths)
        for (const FsCall call : WriteCalls(path))
            for (const auto& e : errors) {
                SCOPED_TRACE(Trace(path, call, e.error));
                FaultRun run(path, call, e.error, {e.giveUp});
                ASSERT_EQ(run.h.files.failed, 1);
                const std::vector<std::string> texts = run.h.prompter.Texts();
                const bool details = std::any_of(texts.begin(), texts.end(), [&](const auto& t) {
                    return t.find("数值:      " + std::to_string(e.number)) != std::string::npos;
                });
                // The disk-error box of the error's number; with none, the
                // details (code 3). Only a backup goes on without itself.
                EXPECT_EQ(std::count(texts.begin(), texts.end(), e.box), e.box.empty() ? 0 : 1);
                EXPECT_EQ(details, e.box.empty());
                EXPECT_FALSE(run.extraWritten);
                EXPECT_EQ(run.targetWritten, path == WritePath::Backup && e.box.empty());
            }
}

TEST(FaultInjection, RetryAndIgnoreWriteOnceTheDiskRecovers) {
    for (const WritePath path : AllPaths)
        for (const FsCall call : WriteCalls(path))
            for (const Answer answer : {Answer::Retry, Answer::Ignore}) {
                SCOPED_TRACE(Trace(path, call, std::errc::no_space_on_device) + " answer " +
                             std::to_string(static_cast<int>(answer)));
                FaultRun run(path, call, std::errc::no_space_on_device, {answer});
                // An export's Retry ends it; Ignore runs the write again.
                EXPECT_EQ(run.targetWritten, path <= WritePath::Backup);
                EXPECT_EQ(run.extraWritten, path != WritePath::Save && (path != WritePath::Export ||
                                                                        answer == Answer::Ignore));
                // A save leaves the document unchanged; the backup and the
                // catalogue's new line are written whole, by their own paths.
                EXPECT_EQ(run.h.main.FileChanged, path <= WritePath::Backup ? 0 : 1);
                EXPECT_EQ(run.dir.Exists(BackupName) ? run.dir.Read(BackupName) : "-",
                          path == WritePath::Backup ? Old + "\r\n" : "-");
                EXPECT_EQ(run.dir.Read("alias.pgc"),
                          OldCatalogue + (path == WritePath::Catalogue ? "\"ZOOM\"\r\n" : ""));
            }
}

TEST(FaultInjection, AnOwnerThatCannotBeKeptStopsNoWrite) {
    // An ordinary user cannot give the new file to the old one's owner.
    FaultRun owner(WritePath::Save, FsCall::SetOwner, std::errc::operation_not_permitted, {});
    EXPECT_EQ(owner.h.files.failed, 1);
    EXPECT_TRUE(owner.targetWritten);
    EXPECT_TRUE(owner.h.prompter.Texts().empty());
}

} // namespace

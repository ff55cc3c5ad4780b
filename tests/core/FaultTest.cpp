// Every write path against a file system that fails one call with one error:
// the right message and reaction, the target byte for byte as it was, no
// temporary file left, and the document still changed when its save failed.
#include "tests/support/Doubles.h"
#include "tests/support/FailingFileSystem.h"

#include "catalog/CommandCatalogue.h"
#include "core/ListRows.h"
#include "core/Merge.h"
#include "core/PgpReader.h"
#include "core/PgpWriter.h"
#include "host/RuntimeError.h"

#include <gtest/gtest.h>

using namespace nm;
using namespace nm::test;

namespace {

enum class WritePath { Save, Backup, Export, Catalogue };

const char* Name(WritePath path) {
    switch (path) {
    case WritePath::Save:
        return "save";
    case WritePath::Backup:
        return "backup";
    case WritePath::Export:
        return "export";
    case WritePath::Catalogue:
        return "catalogue";
    }
    return "";
}

const std::string Old = "; kept\r\nCP,*COPY\r\n";

struct Outcome {
    bool targetWritten = false; // the new content arrived
    bool extraWritten = false;  // the backup, the export or the catalogue line arrived
};

// One run of a write path with one failing call. `answers` answer the boxes.
struct FaultRun {
    FaultRun(WritePath p, FsCall c, int e, std::vector<Answer> a)
        : path(p), call(c), error(e), answers(std::move(a)) {}

    WritePath path;
    FsCall call;
    int error;
    std::vector<Answer> answers;

    TempDir dir;
    Harness h;
    FailingFileSystem files;
    std::vector<std::string> catalogue{"LINE"};
    Outcome outcome;

    void Go() {
        const std::string target = dir.Write("vtrm.pgp", Old);
        dir.Write("alias.pgc", "\"LINE\"\r\n");
        ASSERT_EQ(ReadPgpFile(h.main, target, false), ReadResult::Completed);
        FillListRows(h.main, false);
        h.main.Lists[AliasList].Add("L", {"LINE", {}, {}});
        h.main.FileChanged = 1;
        h.main.CurrentFile = target;
        h.view.confirm = path == WritePath::Backup;
        h.host.failWith = 0;
        h.prompter.answers.assign(answers.begin(), answers.end());
        files.call = call;
        files.error = error;
        // The catalogue is read before it is appended to; its reading open is not the one.
        files.skip = path == WritePath::Catalogue && call == FsCall::Open ? 1 : 0;
        {
            ScopedFileSystem scope(files);
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
                OfferNewCommand(HostContext{h.prompter, registry, dir.Path(""), ""}, "zoom",
                                catalogue);
                break;
            }
        }
        const std::string now = dir.Read("vtrm.pgp");
        outcome.targetWritten = now != Old;
        if (!outcome.targetWritten) {
            EXPECT_EQ(now, Old);
        }
        switch (path) {
        case WritePath::Save:
            break;
        case WritePath::Backup:
            outcome.extraWritten = dir.Exists("备份        vtrm.pgp");
            break;
        case WritePath::Export:
            outcome.extraWritten = dir.Exists("out.pgp");
            break;
        case WritePath::Catalogue:
            outcome.extraWritten = dir.Read("alias.pgc") != "\"LINE\"\r\n";
            if (!outcome.extraWritten) {
                EXPECT_EQ(dir.Read("alias.pgc"), "\"LINE\"\r\n");
            }
            EXPECT_EQ(catalogue.back(), "ZOOM"); // known for the rest of the run anyway
            break;
        }
        for (const std::string& name : dir.Names())
            EXPECT_NE(name.front(), '.') << "temporary file left: " << name;
        // A save that did not write its file leaves the document changed.
        if ((path == WritePath::Save || path == WritePath::Backup) && !outcome.targetWritten) {
            EXPECT_EQ(h.main.FileChanged, 1);
            EXPECT_EQ(h.host.requests, 0);
        }
    }

    StoredRegistry registry;
};

// The run-time error each errno becomes, and the disk-error box it brings.
struct ErrorCase {
    int error;
    int number;
    std::string box; // "" when FileErrorPrompt shows none (code 3)
    Answer giveUp;
};

const std::vector<ErrorCase> Errors = {
    {ENOSPC, 61, "磁盘满. 继续?", Answer::Abort},
    {EIO, 57, "一个内部磁盘错误发生.", Answer::Cancel},
    {EACCES, 75, "", Answer::OK},
    {EROFS, 75, "", Answer::OK},
    {ENOENT, 53, "", Answer::OK},
    {EISDIR, 75, "", Answer::OK},
    {ENAMETOOLONG, 64, "这个文件名非法.", Answer::OK},
    {EMFILE, 67, "", Answer::OK},
};

// The calls whose failure stops a write path: a new file and the replaced
// one (which the user must be allowed to write) go through a temporary file,
// the catalogue is appended to in place.
std::vector<FsCall> WriteCalls(WritePath path) {
    std::vector<FsCall> calls = {FsCall::CreateTemp, FsCall::Write, FsCall::Chmod,
                                 FsCall::Flush,      FsCall::Close, FsCall::Rename};
    if (path == WritePath::Save)
        calls.push_back(FsCall::Access);
    if (path == WritePath::Catalogue)
        calls = {FsCall::Open, FsCall::Write, FsCall::Flush, FsCall::Close};
    return calls;
}

const std::vector<WritePath> Paths = {WritePath::Save, WritePath::Backup, WritePath::Export,
                                      WritePath::Catalogue};

TEST(FaultInjection, GivingUpLeavesEveryFileAsItWas) {
    int runs = 0;
    for (const WritePath path : Paths)
        for (const FsCall call : WriteCalls(path))
            for (const ErrorCase& e : Errors) {
                SCOPED_TRACE(std::string(Name(path)) + " call " +
                             std::to_string(static_cast<int>(call)) + " errno " +
                             std::to_string(e.error));
                FaultRun run(path, call, e.error, {e.giveUp});
                run.Go();
                ++runs;
                ASSERT_EQ(run.files.failed, 1);
                const std::vector<std::string> texts = run.h.prompter.Texts();
                // The disk-error box of the error's number, or none.
                const bool boxed = std::find(texts.begin(), texts.end(), e.box) != texts.end();
                EXPECT_EQ(boxed, !e.box.empty());
                const bool details =
                    std::any_of(texts.begin(), texts.end(), [&](const std::string& t) {
                        return t.find("数值:      " + std::to_string(e.number)) !=
                               std::string::npos;
                    });
                switch (path) {
                case WritePath::Save:
                    EXPECT_FALSE(run.outcome.targetWritten);
                    EXPECT_EQ(details, e.box.empty()); // code 3: the details, then the save ends
                    break;
                case WritePath::Backup:
                    // Giving up ends the save; an error with no disk box shows its
                    // details and the save goes on without the backup.
                    EXPECT_FALSE(run.outcome.extraWritten);
                    EXPECT_EQ(run.outcome.targetWritten, e.box.empty());
                    EXPECT_EQ(details, e.box.empty());
                    break;
                case WritePath::Export:
                    EXPECT_FALSE(run.outcome.extraWritten);
                    EXPECT_EQ(details, e.box.empty()); // told, then the export ends
                    break;
                case WritePath::Catalogue:
                    EXPECT_FALSE(run.outcome.extraWritten);
                    EXPECT_EQ(details, e.box.empty());
                    break;
                }
            }
    EXPECT_EQ(runs, 184);
}

TEST(FaultInjection, RetryAndIgnoreWriteOnceTheDiskRecovers) {
    struct Case {
        int error;
        Answer answer;
    };
    const std::vector<Case> answers = {
        {ENOSPC, Answer::Retry}, {ENOSPC, Answer::Ignore}, {EIO, Answer::Retry}};
    for (const WritePath path : Paths)
        for (const FsCall call : WriteCalls(path))
            for (const Case& c : answers) {
                SCOPED_TRACE(std::string(Name(path)) + " call " +
                             std::to_string(static_cast<int>(call)) + " errno " +
                             std::to_string(c.error) + " answer " +
                             std::to_string(static_cast<int>(c.answer)));
                FaultRun run(path, call, c.error, {c.answer});
                run.Go();
                switch (path) {
                case WritePath::Save:
                    EXPECT_TRUE(run.outcome.targetWritten);
                    EXPECT_EQ(run.h.main.FileChanged, 0);
                    break;
                case WritePath::Backup:
                    EXPECT_TRUE(run.outcome.extraWritten);
                    EXPECT_TRUE(run.outcome.targetWritten);
                    EXPECT_EQ(run.dir.Read("备份        vtrm.pgp"), Old + "\r\n");
                    break;
                case WritePath::Export:
                    // An export's Retry ends it; Ignore runs the write again.
                    EXPECT_EQ(run.outcome.extraWritten, c.answer == Answer::Ignore);
                    break;
                case WritePath::Catalogue:
                    EXPECT_TRUE(run.outcome.extraWritten);
                    EXPECT_EQ(run.dir.Read("alias.pgc"), "\"LINE\"\r\n\"ZOOM\"\r\n");
                    break;
                }
            }
}

TEST(FaultInjection, FailuresThatStopNoWrite) {
    // An ordinary user cannot give the new file to the old one's owner; a
    // folder the user may not write keeps no temporary file, which an append
    // does not need.
    const struct {
        WritePath path;
        FsCall call;
        int error;
        int failed; // the append asks for no temporary file at all
    } cases[] = {{WritePath::Save, FsCall::Chown, EPERM, 1},
                 {WritePath::Catalogue, FsCall::CreateTemp, EACCES, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(Name(c.path));
        FaultRun run(c.path, c.call, c.error, {});
        run.Go();
        EXPECT_EQ(run.files.failed, c.failed);
        EXPECT_TRUE(run.outcome.targetWritten || run.outcome.extraWritten);
        EXPECT_EQ(run.h.prompter.Texts().size(), c.path == WritePath::Catalogue ? 1u : 0u);
    }
}

} // namespace

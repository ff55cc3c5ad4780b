#include "core/Export.h"

#include "core/PgpWriter.h"
#include "host/ErrorHandler.h"
#include "host/Utf8.h"

namespace nm {

std::string ExportText(Main& main) {
    return PgpFileText(main, /*exporting=*/true);
}

bool ExportLists(Main& main) {
    std::string text;
    std::string chosen;
    bool written = false;
    const Step steps[] = {
        [&] {
            if (!RowsFitInFile(main))
                throw RuntimeError(Err::DialogCancelled);
            text = ExportText(main);
        },
        [&] {
            const std::string& current = main.CurrentFile;
            const std::size_t length = CharCount(current);
            const std::string offer =
                length > 4 ? std::string(CharLeft(current, length - 4)) + ".pgp" : std::string();
            chosen = AskSaveFileName(main, PgpFilter, offer);
        },
        [&] {
            if (chosen.empty())
                return;
            BusyPointer busy(main.svc.prompter);
            WriteTextFile(main.svc.files, chosen, text, main.FileEncoding);
            written = true;
            main.svc.view.ShowResult("已导出 " + chosen);
        },
    };
    ReactionTable table;
    table.onError = [&] { main.svc.prompter.SetBusy(false); };
    table.byCode[Code::Retry] = {Action::End, nullptr};
    table.byCode[Code::Ignore] = {Action::RunStepAgain, nullptr};
    table.settle = EndWhenCancelled;
    table.byCode[Code::GiveUp] = {Action::End, nullptr};
    // An error without a disk box (a folder picked, access denied) is told
    // before the export ends: the user must not take it for written.
    table.byCode[Code::Unknown] = {Action::End, ShowDetails()};
    RunSteps(main.svc.prompter, steps, table);
    return written;
}

} // namespace nm

#include "core/Merge.h"

#include "core/PgpWriter.h"
#include "host/ErrorHandler.h"
#include "host/FileIo.h"
#include "host/Text.h"

namespace nm {

void ResolveDuplicates(Main& main, int list, bool importing, DuplicateObserver* observer) {
    EntryTable& table = main.Lists.at(static_cast<std::size_t>(list));
    const std::vector<std::size_t> order = table.NameOrder();
    std::vector<std::size_t> removed;
    std::vector<std::size_t> marked;
    for (std::size_t k = 1; k < order.size(); ++k) {
        const std::size_t current = order[k - 1];
        const Row& a = table.At(current);
        const Row& b = table.At(order[k]);
        if (a.text != b.text || (!importing && a.text == MarkedName))
            continue;
        // A marked row keeps its place until the pass ends.
        const bool same = a.sub[0] == b.sub[0];
        (same ? removed : marked).push_back(current);
        if (observer)
            observer->Settled(list, a, b, same);
    }
    const auto replaced = static_cast<int>(marked.size());
    table.SettleDuplicates(marked, removed);
    if (!removed.empty())
        main.FileChanged = 1;
    if (importing && replaced > 0)
        main.svc.prompter.Message("这个导入文件包含相同的热键." + Blanks(33) +
                                      "\r\n\r\n副本被替换用" + Blanks(29) + "---.",
                                  Icon::Information, "发现副本");
}

std::string ExportText(Main& main) {
    BuildSections(main);
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
            WriteTextFile(chosen, text, main.FileEncoding);
            written = true;
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

std::string AskSaveFileName(Main& main, const std::string& filter, const std::string& fileName) {
    Prompter& prompter = main.svc.prompter;
    std::string chosen;
    std::string result;
    const Step steps[] = {
        [&] {
            chosen.clear();
            result.clear();
            chosen = main.svc.dialogs.ShowSave(filter, fileName);
        },
        [&] {
            // Until the user picks a new file, agrees to overwrite, or gives up.
            while (FileExists(chosen)) {
                Answer answer = Answer::No;
                if (main.svc.view.ConfirmChecked())
                    answer = prompter.Show(MessageBox{
                        chosen + "\r\n\r\n这个配置文件已经存在. 你想覆盖它吗?" + Blanks(49),
                        Buttons::YesNoCancel, Icon::Exclamation,
                        "覆盖" + Blanks(8) + main.CurrentFileTitle + "?", 2});
                if (answer == Answer::Yes)
                    break;
                if (answer != Answer::No) {
                    chosen.clear();
                    return;
                }
                chosen = main.svc.dialogs.ShowSave(filter, fileName);
            }
            result = chosen;
        },
    };
    ReactionTable table;
    table.onError = [&] { prompter.SetBusy(false); };
    table.settle = EndWhenCancelled;
    table.byCode[Code::Retry] = {Action::RetryOperation, nullptr};
    table.byCode[Code::Ignore] = {Action::RunStepAgain, nullptr};
    table.byCode[Code::GiveUp] = {Action::NextStep,
                                  ShowNumber("不可修复的错误" + Blanks(13), "发生.")};
    table.byCode[Code::Unknown] = {Action::NextStep, ShowNumber("不可识别的错误" + Blanks(12))};
    if (RunSteps(prompter, steps, table) == Outcome::Ended)
        return {};
    return result;
}

} // namespace nm

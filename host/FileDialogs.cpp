#include "host/FileDialogs.h"

#include "host/ErrorHandler.h"
#include "host/FileIo.h"
#include "host/Utf8.h"

namespace nm {

std::string BrowseForFile(Prompter& prompter, FileDialogs& dialogs, FileSystem& files,
                          const std::string& filter, const std::string& fileName) {
    ReactionTable table;
    table.byCode[Code::Retry] = {Action::RetryOperation, nullptr};
    table.byCode[Code::Ignore] = {Action::RunStepAgain, nullptr};
    // Going on after a failed dialog would only bring the same dialog back.
    table.byCode[Code::GiveUp] = {Action::End, ShowNumber("不可修复的错误" + Blanks(13), "发生.")};
    table.byCode[Code::Unknown] = {Action::End, ShowNumber("不可识别的错误" + Blanks(12))};
    for (;;) {
        std::optional<std::string> pick;
        const Step steps[] = {[&] { pick = dialogs.ShowOpen(filter, fileName); }};
        if (RunSteps(prompter, steps, table) == Outcome::Ended)
            return {};
        if (!pick)
            return fileName;
        if (FileExists(files, *pick))
            return *pick;
        prompter.Show(MessageBox{*pick + "\r\n这个文件未找到.\r\n确认当前路径和文件.", Buttons::OK,
                                 Icon::Exclamation, "文件未找到", 1});
    }
}

} // namespace nm

#include "host/Locator.h"

#include "host/Environment.h"
#include "host/ErrorHandler.h"
#include "host/FileIo.h"
#include "host/HostKeys.h"
#include "host/Paths.h"
#include "host/StrOps.h"
#include "host/Utf8.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace nm {

bool IsDosForm(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

bool IsDriveRooted(const std::string& path) {
    return !path.empty() && path[0] == '\\' && (path.size() == 1 || path[1] != '\\');
}

std::string FindFileOnPath(const HostContext& host, const std::string& fileName,
                           const std::string& searchList, std::vector<std::string>* searched) {
    try {
        const std::string name = TrimLeading(TrimTrailing(TrimBlanks(fileName), "\""), "\"");
        if (name.empty())
            return {};
        const std::string itself = MapDosPath(host.dosDevices, name);
        if (AnyEntry(itself))
            return FullPathName(itself);
        if (!PathPart(name).empty())
            return {};
        std::string list = searchList;
        if (list.empty()) {
            const std::string* path = host.variables.Find("PATH");
            list = PathText(fs::current_path()) + ";" + (path ? *path : std::string());
        }
        const std::string expanded = ExpandEnvVars(StrReplace("\"", "", list), host.variables);
        for (std::string entry : StrSplit(";", expanded)) {
            if (entry.empty() || (entry.back() != '\\' && entry.back() != '/'))
                entry += '\\';
            const std::string folder = MapDosPath(host.dosDevices, entry);
            if (searched)
                searched->push_back(folder);
            const bool onDrive = IsDosForm(entry) || IsDriveRooted(entry);
            const std::string found = OrdinaryFile(folder, name, onDrive);
            if (!found.empty())
                return FullPathName(found);
        }
    } catch (const std::exception&) {
        // An invalid name or an unreadable folder ends the search.
    }
    return {};
}

std::string FindHostPgpFile(HostContext& host, LocateTrace* trace) {
    std::string result;
    const Step steps[] = {[&] {
        LocateTrace local;
        LocateTrace& t = trace ? *trace : local;
        t = LocateTrace{};
        t.release = HostReleaseKey(host.registry, host.prompter, &t.view);
        t.product = HostProductKey(host.registry, host.prompter);
        t.profile = HostCurrentProfile(host.registry, host.prompter);
        const std::string key = "HKEY_CURRENT_USER\\SOFTWARE\\Tessaron\\Vectrom\\" + t.release +
                                "\\" + t.product + "\\Profiles\\" + t.profile + "\\General";
        t.searchList = RegistryText(zent_RegistryRead(host.registry, host.prompter, key, "VTRM"));
        result = FindFileOnPath(host, HostPgpFileName, t.searchList, &t.searched);
    }};
    ReactionTable table;
    table.byCode[Code::Retry] = {Action::RetryOperation, nullptr};
    table.byCode[Code::Ignore] = {Action::RunStepAgain, nullptr};
    table.byCode[Code::GiveUp] = {Action::NextStep, ShowText("一个不可修复的错误发生.")};
    table.byCode[Code::Unknown] = {Action::NextStep, ShowText("不可识别的错误.")};
    RunSteps(host.prompter, steps, table);
    return result;
}

std::string SupportFilePath(FileSystem& files, const HostContext& host, const std::string& name) {
    std::string candidate;
    if (!name.empty()) {
        candidate = name;
        if (!FileExists(files, candidate))
            candidate = host.programFolder + FolderSeparator + name;
    } else {
        candidate = host.programFolder + FolderSeparator + CatalogueFileName;
    }
    if (!FileExists(files, candidate)) {
        host.prompter.Show(MessageBox{"支持文件" + Blanks(12) + candidate +
                                          "未找到. 请移动到与 ALIAS.EXE 相同的文件夹或者重新安装 "
                                          "Zentro Tools.",
                                      Buttons::OK, Icon::None, "文件未找到", 1});
        return {};
    }
    return candidate;
}

} // namespace nm

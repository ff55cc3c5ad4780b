#include "PgpWriter.h"

#include "ErrorHandler.h"
#include "FileIo.h"
#include "HostNotification.h"
#include "Text.h"

#include <algorithm>

namespace nm {

namespace {

constexpr std::size_t MaxPadding = 40;

// A padding of `n` blanks cut to the fixed 40-blank text.
std::string_view Padding(long long n) {
    static const std::string blanks(MaxPadding, ' ');
    if (n <= 0)
        return {};
    return std::string_view(blanks).substr(
        0, std::min<std::size_t>(static_cast<std::size_t>(n), MaxPadding));
}

std::string BuildSection(const EntryTable& table, int list) {
    std::string text;
    const std::vector<std::size_t> order = table.NameOrder();
    if (list == AliasList) {
        for (const std::size_t position : order) {
            const Row& row = table.At(position);
            if (row.text == MarkedName)
                continue;
            // A name keeps no comma: the reader would take the line for a
            // broken shell command and stop there, losing every line after it.
            std::string name = row.text;
            std::erase(name, ',');
            const long long pad = 10 - static_cast<long long>(CharCount(name));
            text += name;
            text += ',';
            text += pad < 0 ? std::string_view(" ") : Padding(pad);
            text += '*';
            text += row.sub[0];
            text += "\r\n";
        }
        return text;
    }
    // The columns line up over all rows, the marked ones included.
    std::size_t longestName = 0;
    std::size_t longestCommand = 0;
    for (std::size_t i = 0; i < table.Count(); ++i) {
        longestName = std::max(longestName, CharCount(table.At(i).text));
        longestCommand = std::max(longestCommand, CharCount(table.At(i).sub[0]));
    }
    for (const std::size_t position : order) {
        const Row& row = table.At(position);
        if (row.text == MarkedName)
            continue;
        text += row.text;
        text += ',';
        text += Padding(static_cast<long long>(longestName + 1 - CharCount(row.text)));
        text += row.sub[0];
        text += ',';
        text += Padding(static_cast<long long>(longestCommand + 1 - CharCount(row.sub[0])));
        text += row.sub[1];
        text += ',';
        if (!row.sub[2].empty())
            text += '*';
        text += row.sub[2];
        text += ",\r\n";
    }
    return text;
}

} // namespace

std::string PGPString(Main& main, int list) {
    if (list != AliasList && list != ShellList)
        return {};
    BusyPointer busy(main.svc.prompter);
    try {
        return BuildSection(main.Lists[static_cast<std::size_t>(list)], list);
    } catch (const RuntimeError& error) {
        main.svc.prompter.SetBusy(false);
        main.svc.prompter.Message("错误在 PGPString" + Blanks(5) + std::to_string(error.Number()) +
                                  ": " + error.Description());
        return {};
    }
}

void BuildSections(Main& main) {
    main.AliasSectionText.clear();
    main.ShellSectionText.clear();
    main.AliasSectionText = PGPString(main, AliasList);
    main.ShellSectionText = PGPString(main, ShellList);
}

std::string PgpFileText(Main& main, bool exporting) {
    const std::tm now = main.svc.clock.Now();
    std::string text;
    text.reserve(main.AliasSectionText.size() + main.ShellSectionText.size() + 512);
    text += "; 这个 PGP 文件是用 Vectrom 热键编辑器件里的." + Blanks(27) + "\r\n";
    text += "; 最后修改" + Blanks(10) + ShortDateText(now) + Blanks(3) + LongTimeText(now) + "\r\n";
    text += "\r\n";
    if (exporting)
        text += "; 使用热键编辑器 (NICKMAKER 命令) 编辑这个文件." + Blanks(29) + "\r\n";
    else
        text += "; 用热键编辑器 (MAKERNICK 命令) 编辑这个文件." + Blanks(30) + "\r\n";
    text += "\r\n";
    text += "; [操作系统命令]" + Blanks(19) + "\r\n";
    text += "\r\n";
    text += main.ShellSectionText;
    text += "\r\n\r\n";
    text += "; [Vectrom 命令热键]" + Blanks(11) + "\r\n";
    text += "\r\n";
    text += main.AliasSectionText;
    return text;
}

std::string BackupFileName(const std::string& title) {
    const std::string prefix = "备份" + Blanks(8);
    if (title.compare(0, prefix.size(), prefix) != 0)
        return prefix + title;
    const std::string marker = "备份" + Blanks(2) + "(" + Blanks(2);
    const std::size_t at = title.find(marker);
    if (at == std::string::npos)
        return "备份(1)" + Blanks(8) + std::string(CharMid(title, 10));
    // The digit stands eight characters after the start of the marker.
    const std::size_t p = CharCount(std::string_view(title).substr(0, at));
    const std::string_view digit = CharMid(title, p + 8, 1);
    if (digit.size() != 1 || digit[0] < '0' || digit[0] > '9')
        throw RuntimeError(Err::TypeMismatch);
    const std::string next = std::to_string(digit[0] - '0' + 1);
    const std::size_t offset = static_cast<std::size_t>(digit.data() - title.data());
    std::string name = title;
    name.replace(offset, 1, next.substr(0, 1));
    return name;
}

void WriteTextFile(const std::string& path, const std::string& text, const TextEncoding& encoding) {
    WriteFileSafely(path, EncodeFileText(text + "\r\n", encoding));
}

bool SavePgpFile(Main& main, const std::string& path, const std::string& title, bool quiet,
                 bool notify) {
    Prompter& prompter = main.svc.prompter;
    const std::string fileTitle = title.empty() ? FileNamePart(path) : title;
    std::string text;
    bool written = false;
    enum : std::size_t { Sections, Text, Backup, Write, State, Window, Notify };
    const Step steps[] = {
        [&] { BuildSections(main); },
        [&] { text = PgpFileText(main, /*exporting=*/false); },
        [&] {
            if (!main.svc.view.ConfirmChecked() || !FileExists(path))
                return;
            const std::string backup = FolderPart(path) + BackupFileName(fileTitle);
            if (SameFile(path, main.OriginalFile))
                WriteTextFile(backup, main.OriginalText, main.FileEncoding);
            else // Another file is replaced: keep its own content.
                WriteFileSafely(backup, ReadFileBytes(path));
        },
        [&] {
            WriteTextFile(path, text, main.FileEncoding);
            written = true;
        },
        [&] {
            main.CurrentFile = path;
            main.CurrentFileTitle = fileTitle;
            main.FileChanged = 0;
        },
        [&] {
            main.svc.view.UpdateCaption();
            main.svc.view.UpdateCommandState();
        },
        [&] {
            if (notify)
                NotifyHost(prompter, main.svc.host, quiet);
        },
    };
    ReactionTable table;
    table.onError = [&] { prompter.SetBusy(false); };
    table.byCode[Code::Retry] = {Action::RetryOperation, nullptr};
    table.byCode[Code::Ignore] = {Action::RunStepAgain, nullptr};
    table.byCode[Code::GiveUp] = {Action::End, nullptr};
    table.byCode[Code::Unknown] = {Action::NextStep, ShowDetails()};
    // Only the backup may fail and let the save go on: a save whose file was
    // not written must not report success or clear FileChanged.
    table.forStep = [](std::size_t step, FileErrorAction code) -> std::optional<Reaction> {
        if (code == Code::Unknown && step <= Write && step != Backup)
            return Reaction{Action::End, ShowDetails()};
        return std::nullopt;
    };
    RunSteps(prompter, steps, table);
    return written;
}

} // namespace nm

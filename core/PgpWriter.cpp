#include "core/PgpWriter.h"

#include "core/PgpReader.h"
#include "host/ErrorHandler.h"
#include "host/FileIo.h"
#include "host/HostNotification.h"
#include "host/Memory.h"
#include "host/Paths.h"
#include "host/Utf8.h"

#include <algorithm>
#include <optional>

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

// A name as its line begins: one blank before a name that would otherwise
// make the reader drop the line (";", a control character or a character
// outside ASCII first) or read no name (an alias line that begins with its
// comma). The reader trims the blank, so the row reads back the same.
bool NeedsLeadBlank(std::string_view name) {
    if (name.empty())
        return true;
    const auto first = static_cast<unsigned char>(name.front());
    return first == ';' || first < 32 || first >= 0x80;
}

// The characters a name takes in its line.
std::size_t WrittenLength(std::string_view name) {
    return CharCount(name) + (NeedsLeadBlank(name) ? 1 : 0);
}

// The blanks that pad an alias name to ten characters, negative for a longer
// name. A name of more than 40 bytes holds more than ten characters, so the
// long placeholder names are not counted.
long long AliasPadding(std::string_view name) {
    if (name.size() > 40)
        return -1;
    return 10 - static_cast<long long>(WrittenLength(name));
}

void AppendName(std::string& text, std::string_view name) {
    if (NeedsLeadBlank(name))
        text += ' ';
    text += name;
}

bool PlaceholderCommandRow(const Row& row) {
    const std::string_view name = row.text;
    const std::string_view command = row.sub[0];
    return !name.empty() && name.find(',') == name.size() - 1 && !command.empty() &&
           command.find_first_not_of('?') == std::string_view::npos;
}

// Room for every line of a section at once: the largest file's text is
// grown without a copy.
std::size_t SectionRoom(const EntryTable& table, int list) {
    std::size_t room = 0;
    for (std::size_t i = 0; i < table.Count(); ++i) {
        const Row& row = table.At(i);
        room += row.text.size() + row.sub[0].size() + row.sub[1].size() + row.sub[2].size() +
                (list == AliasList ? MaxPadding : 2 * MaxPadding) + 8;
    }
    return room;
}

// Appends the section's lines to `text`.
void BuildSection(const EntryTable& table, int list, std::string& text) {
    const std::vector<std::size_t> order = table.NameOrder();
    if (list == AliasList) {
        for (const std::size_t position : order) {
            const Row& row = table.At(position);
            if (row.text == MarkedName)
                continue;
            // A name that ends with its only comma comes from a line that
            // had nothing after that comma, and the reader gave it a
            // placeholder command: the line is written as it was, so that
            // it reads back with the same name.
            if (PlaceholderCommandRow(row)) {
                AppendName(text, row.text);
                text += "\r\n";
                continue;
            }
            // Any other name keeps no comma: the reader would take the line
            // for a broken shell command and stop there, losing every line
            // after it.
            std::string_view name = row.text;
            std::string withoutCommas;
            if (name.find(',') != std::string_view::npos) {
                withoutCommas = row.text.Str();
                std::erase(withoutCommas, ',');
                name = withoutCommas;
            }
            const long long pad = AliasPadding(name);
            AppendName(text, name);
            text += ',';
            text += pad < 0 ? std::string_view(" ") : Padding(pad);
            text += '*';
            text += row.sub[0];
            text += "\r\n";
        }
        return;
    }
    // The columns line up over all rows, the marked ones included.
    std::size_t longestName = 0;
    std::size_t longestCommand = 0;
    for (std::size_t i = 0; i < table.Count(); ++i) {
        longestName = std::max(longestName, WrittenLength(table.At(i).text));
        longestCommand = std::max(longestCommand, CharCount(table.At(i).sub[0]));
    }
    for (const std::size_t position : order) {
        const Row& row = table.At(position);
        if (row.text == MarkedName)
            continue;
        AppendName(text, row.text);
        text += ',';
        text += Padding(static_cast<long long>(longestName + 1 - WrittenLength(row.text)));
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
}

// Appends the section's lines to `text`; when a run-time error stops it, the
// user is told and the section is left out.
void AppendSection(Main& main, int list, std::string& text) {
    BusyPointer busy(main.svc.prompter);
    const std::size_t start = text.size();
    try {
        BuildSection(main.Lists[static_cast<std::size_t>(list)], list, text);
    } catch (const RuntimeError& error) {
        text.resize(start);
        main.svc.prompter.SetBusy(false);
        main.svc.prompter.Message("错误在 PGPString" + Blanks(5) + std::to_string(error.Number()) +
                                  ": " + error.Description());
    }
}

} // namespace

std::string PGPString(Main& main, int list) {
    std::string text;
    if (list == AliasList || list == ShellList)
        AppendSection(main, list, text);
    return text;
}

std::string PgpFileText(Main& main, bool exporting) {
    const std::tm now = main.svc.clock.Now();
    std::string text;
    text.reserve(SectionRoom(main.Lists[AliasList], AliasList) +
                 SectionRoom(main.Lists[ShellList], ShellList) + 512);
    PreferLargePages(text.data(), text.capacity());
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
    AppendSection(main, ShellList, text);
    text += "\r\n\r\n";
    text += "; [Vectrom 命令热键]" + Blanks(11) + "\r\n";
    text += "\r\n";
    AppendSection(main, AliasList, text);
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

std::string FileBytes(std::string text, const TextEncoding& encoding) {
    text += "\r\n";
    if (encoding.IsUtf8() && !encoding.byteOrderMark)
        return text; // the text is the bytes
    return EncodeFileText(text, encoding);
}

void WriteTextFile(FileSystem& files, const std::string& path, const std::string& text,
                   const TextEncoding& encoding) {
    WriteFileSafely(files, path, FileBytes(text, encoding));
}

bool RowsFitInFile(Main& main) {
    std::size_t rows = 0;
    for (const EntryTable& table : main.Lists)
        for (std::size_t i = 0; i < table.Count(); ++i)
            rows += table.At(i).text == MarkedName ? 0 : 1;
    if (rows <= MaxEntryLines)
        return true;
    main.svc.prompter.Message("这个文件最多能保存 " + std::to_string(MaxEntryLines) +
                                  " 个热键和外部命令, 列表中有 " + std::to_string(rows) +
                                  " 个. 删除 " + std::to_string(rows - MaxEntryLines) +
                                  " 个以后才能保存.",
                              Icon::Exclamation);
    return false;
}

namespace {

// Before a file is replaced: a file that changed on disk since the document
// last read or wrote it, or the file of a read that stopped at a bad line,
// holds entries the lists do not. The user is asked (No ends the save, as a
// cancel) and, on Yes, gets the replaced bytes back in the backup. Returns
// those bytes when they must be kept.
std::optional<std::string> ConfirmReplace(Main& main, const std::string& path) {
    const bool tracked = !main.Disk.path.empty() && SameFile(path, main.Disk.path);
    const bool partial = main.PartialLine > 0 && SameFile(path, main.OriginalFile);
    if (!tracked && !partial)
        return std::nullopt;
    std::string bytes = ReadFileBytes(main.svc.files, path);
    std::string question;
    std::string title;
    if (tracked && StampOf(main.Disk.path, bytes) != main.Disk) {
        question = "这个文件在打开或上次保存以后被改变了. 保存会替换这些改变.";
        title = "文件已改变";
    } else if (partial) {
        question = "读这个文件时在下面一行停止了, 列表中没有从这一行起的热键:\r\n" +
                   LineReference(main.PartialLine, main.PartialText) + "\r\n\r\n保存会丢失它们.";
        title = "文件没有全部读入";
    } else {
        return std::nullopt;
    }
    const Answer answer = main.svc.prompter.Show(MessageBox{
        path + "\r\n\r\n" + question + " 被替换的内容保存在备份文件中.\r\n\r\n你想覆盖它吗?",
        Buttons::YesNo, Icon::Exclamation, title, 2});
    if (answer != Answer::Yes)
        throw RuntimeError(Err::DialogCancelled);
    return bytes;
}

} // namespace

bool SavePgpFile(Main& main, const std::string& path, const std::string& title, bool quiet,
                 bool notify) {
    Prompter& prompter = main.svc.prompter;
    const std::string fileTitle = title.empty() ? FileNamePart(path) : title;
    std::string text;
    std::optional<std::string> replaced;
    bool written = false;
    enum : std::size_t { Fit, Text, Guard, Backup, Write, State, Window, Notify };
    const Step steps[] = {
        [&] {
            if (!RowsFitInFile(main))
                throw RuntimeError(Err::DialogCancelled);
        },
        [&] { text = PgpFileText(main, /*exporting=*/false); },
        [&] { replaced = ConfirmReplace(main, path); },
        [&] {
            // The replaced bytes the user has not seen are kept whatever the
            // confirm option says.
            if (!replaced && (!main.svc.view.ConfirmChecked() || !FileExists(main.svc.files, path)))
                return;
            const std::string backup = FolderPart(path) + BackupFileName(fileTitle);
            if (replaced)
                WriteFileSafely(main.svc.files, backup, *replaced);
            else if (SameFile(path, main.OriginalFile))
                WriteTextFile(main.svc.files, backup, OriginalFileText(main), main.FileEncoding);
            else // Another file is replaced: keep its own content.
                WriteFileSafely(main.svc.files, backup, ReadFileBytes(main.svc.files, path));
        },
        [&] {
            const std::string bytes = FileBytes(text, main.FileEncoding);
            WriteFileSafely(main.svc.files, path, bytes);
            written = true;
            main.Disk = StampOf(path, bytes);
            if (SameFile(path, main.OriginalFile)) {
                main.PartialLine = 0;
                main.PartialText.clear();
            }
        },
        [&] {
            main.CurrentFile = path;
            main.CurrentFileTitle = fileTitle;
            main.FileChanged = 0;
            main.history.MarkSaved();
            main.FileLineEnds = "CR LF";
        },
        [&] {
            main.svc.view.UpdateCaption();
            main.svc.view.UpdateCommandState();
            main.svc.view.ShowResult("已保存 " + path);
        },
        [&] {
            if (notify)
                NotifyHost(prompter, main.svc.host, quiet);
        },
    };
    ReactionTable table;
    table.onError = [&] { prompter.SetBusy(false); };
    table.settle = EndWhenCancelled;
    table.byCode[Code::Retry] = {Action::RetryOperation, nullptr};
    table.byCode[Code::Ignore] = {Action::RunStepAgain, nullptr};
    table.byCode[Code::GiveUp] = {Action::End, nullptr};
    table.byCode[Code::Unknown] = {Action::NextStep, ShowDetails()};
    // Only an ordinary backup may fail and let the save go on: a save whose
    // file was not written must not report success or clear FileChanged, and
    // bytes the user has not seen are never replaced without their backup.
    table.forStep = [&](std::size_t step, FileErrorAction code) -> std::optional<Reaction> {
        if (code == Code::Unknown && step <= Write && (step != Backup || replaced))
            return Reaction{Action::End, ShowDetails()};
        return std::nullopt;
    };
    RunSteps(prompter, steps, table);
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
            while (FileExists(main.svc.files, chosen)) {
                // With the confirm option off the user asked for no questions:
                // the file picked is overwritten.
                const Answer answer =
                    !main.svc.view.ConfirmChecked()
                        ? Answer::Yes
                        : prompter.Show(MessageBox{
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

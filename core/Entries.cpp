#include "core/Entries.h"

#include "core/History.h"
#include "core/PgpReader.h"
#include "host/TextCodec.h"
#include "host/Utf8.h"

#include <algorithm>

namespace nm {

namespace {

EntryAnswer Stay(const EntryFields& typed, bool selectName = false) {
    return EntryAnswer{EntryOutcome::Stay, typed, 0, selectName};
}

void Refuse(Prompter& prompter, const std::string& why) {
    prompter.Show(MessageBox{why, Buttons::OK, Icon::Exclamation, "热键无效", 1});
}

// The row an entry of this name would meet: the first of that name, letter
// case aside, that is not the row being edited (an edit that changes only
// the letter case is the same entry, not a duplicate of itself).
const Row* ExistingRow(const EntryCheck& check, std::string_view name) {
    for (std::size_t i = 0; i < check.list.Count(); ++i) {
        const Row& row = check.list.At(i);
        if (CompareNoCase(row.text, name) == 0 && (!check.editing || row.key != check.editedKey))
            return &row;
    }
    return nullptr;
}

// The checks both dialogs make first, in order: the required fields, no
// change, what the file cannot hold. An answer when the dialog stops there.
std::optional<EntryAnswer> FirstChecks(const EntryCheck& check, const EntryFields& typed,
                                       const EntryFields& row) {
    if (row.name.empty() || (check.page == AliasList && row.command.empty())) {
        WarnRequiredFields(check.prompter, check.editing);
        return Stay(typed);
    }
    // Compared as the row would hold them: an edit that would store the same
    // row is no change, whatever blanks or letter case of the name it adds.
    if (check.editing && row == RowFields(check.page, check.edited))
        return EntryAnswer{EntryOutcome::Unchanged, typed};
    if (const std::string why = EntryProblem(check.page, row, check.encoding); !why.empty()) {
        Refuse(check.prompter, why);
        return Stay(typed);
    }
    return std::nullopt;
}

// After Yes, No or Cancel in the duplicate question.
std::optional<EntryAnswer> AfterQuestion(const EntryCheck& check, const EntryFields& typed,
                                         Answer answer) {
    if (answer == Answer::No)
        return Stay(typed, true);
    if (answer != Answer::Yes)
        return EntryCancel(check, typed);
    return std::nullopt;
}

} // namespace

void WarnRequiredFields(Prompter& prompter, bool editing) {
    prompter.Show(MessageBox{"一个或多个必需的字段被置空." + Blanks(30) +
                                 (editing ? " 这个改变不能生成." : " 这个热键不能增加."),
                             Buttons::OK, Icon::Exclamation, "热键无效", 1});
}

std::string EntryProblem(int page, const EntryFields& row, const TextEncoding& encoding) {
    std::vector<const std::string*> fields{&row.name, &row.command};
    if (page == ShellList)
        fields.insert(fields.end(), {&row.flags, &row.prompt});
    for (const std::string* field : fields) {
        if (field->find_first_of("\r\n") != std::string::npos)
            return "热键的字段不能包含换行. 这个热键不能保存.";
        if (field->find(',') != std::string::npos)
            return "热键的字段不能包含逗号 (,). 这个热键不能保存.";
    }
    if (row.name == MarkedName)
        return "名字 \"---\" 标记被替换的热键, 不能用作热键的名字. 这个热键不能保存.";
    if (page == AliasList && !row.command.empty() && CleanAliasCommand(row.command) != row.command)
        return "Vectrom 命令不能以 '" + std::string(CharLeft(row.command, 1)) +
               "' 开头: 读这个文件时它会被去掉. 这个热键不能保存.";
    for (const std::string* field : fields)
        if (!CanEncode(*field, encoding))
            return "这个文件的编码 (" + encoding.charset + ") 不能保存 '" + *field +
                   "' 里的字符. 这个热键不能保存.";
    return {};
}

EntryAnswer AliasOk(const EntryCheck& check, const EntryFields& typed, const OfferCommand& offer) {
    const EntryFields row = RowFields(AliasList, typed);
    if (auto stop = FirstChecks(check, typed, row))
        return *stop;
    const Row* existing = ExistingRow(check, row.name);
    // Asked for every entry that gets this far, before the duplicate test;
    // the answer changes nothing below.
    if (offer)
        offer(row.command);
    if (!existing)
        return EntryAnswer{EntryOutcome::Accepted, row};
    if (CompareNoCase(existing->sub[0], row.command) == 0)
        return EntryAnswer{EntryOutcome::Duplicate, {}};
    const std::string name(TrimSpaces(typed.name));
    Answer answer = Answer::Yes;
    if (check.confirm)
        answer =
            check.prompter.Show(MessageBox{"这个热键" + Blanks(6) + name + " 已经应用于 '" +
                                               existing->sub[0] + "' 命令. 你想重新定义它吗?",
                                           Buttons::YesNoCancel, Icon::Information, "发现副本", 2});
    if (auto stop = AfterQuestion(check, typed, answer))
        return *stop;
    if (check.confirm)
        check.prompter.Message("这个热键" + Blanks(6) + name + " 现在引用 '" + row.command + "'.");
    return EntryAnswer{EntryOutcome::Accepted, row};
}

EntryAnswer ShellOk(const EntryCheck& check, const EntryFields& typed) {
    const EntryFields row = RowFields(ShellList, typed);
    if (auto stop = FirstChecks(check, typed, row))
        return *stop;
    const std::string name(TrimSpaces(typed.name));
    if (row.command.empty())
        check.prompter.Show(MessageBox{"你认可 Shell 命令字段为空.\r\n\r\n这个热键 '" + Blanks(5) +
                                           name + "' 在 Vectrom 建立命令窗口.",
                                       Buttons::OK, Icon::Information, "无 Shell 命令", 1});
    const Row* existing = ExistingRow(check, row.name);
    if (!existing)
        return EntryAnswer{EntryOutcome::Accepted, row};
    const bool commandDiffers = CompareNoCase(row.command, existing->sub[0]) != 0;
    const bool flagsDiffer = row.flags != existing->sub[1];
    const bool promptDiffers = CompareNoCase(row.prompt, existing->sub[2]) != 0;
    if (!commandDiffers && !flagsDiffer && !promptDiffers)
        return EntryAnswer{EntryOutcome::Duplicate, {{}, {}, typed.flags, {}}};
    Answer answer = Answer::Yes;
    if (check.confirm)
        answer = check.prompter.Show(
            MessageBox{"这个热键" + Blanks(6) + name + "正在被使用. 你想重新定义它吗?",
                       Buttons::YesNoCancel, Icon::Information, "发现副本", 2});
    if (auto stop = AfterQuestion(check, typed, answer))
        return *stop;
    if (check.confirm) {
        const auto part = [](bool differs, const std::string& value) {
            return differs ? "'" + value + "'" : std::string();
        };
        check.prompter.Message("下列热键特性" + existing->sub[0] +
                               " 已被改变:\r\n\r\n新的 Shell 命令:" + Blanks(7) +
                               part(commandDiffers, row.command) + "\r\n新的标记:" + Blanks(5) +
                               part(flagsDiffer, row.flags) + "\r\n新的 Shell 提示:" + Blanks(6) +
                               part(promptDiffers, row.prompt));
    }
    return EntryAnswer{EntryOutcome::Accepted, row, existing->key};
}

EntryAnswer EntryCancel(const EntryCheck& check, const EntryFields& typed) {
    if (check.editing)
        return EntryAnswer{EntryOutcome::Cancelled, check.edited};
    return EntryAnswer{EntryOutcome::Cancelled, {{}, {}, typed.flags, {}}};
}

namespace {

// The row of a page that an entry of this name replaces goes first.
void RemoveEntryNamed(Main& main, int page, const std::string& name) {
    if (const auto found = FindEntry(main, page, TrimSpaces(name))) {
        const int key = main.Lists[static_cast<std::size_t>(page)].At(*found).key;
        RemoveListItem(main, page, key);
    }
}

// The dialog of a page, for an addition or (EditMode not 0) for the row keyed
// `editedKey`. DialogCancelled is set here, from how the dialog closed, and a
// shell row that lost to a confirmed redefinition is marked.
EntryAnswer ShowEntryDialog(Main& main, int page, int editedKey, const EntryDialog& dialog) {
    const bool editing = main.EditMode != 0;
    EntryFields shown;
    if (editing)
        shown = page == ShellList
                    ? EntryFields{main.EditName, main.EditCommand, main.EditFlags, main.EditPrompt}
                    : EntryFields{main.EditName, main.EditCommand, {}, {}};
    else if (page == ShellList)
        shown.flags = "0";
    const EntryCheck check{main.svc.prompter,
                           main.Lists[static_cast<std::size_t>(page)],
                           page,
                           editing,
                           editing ? shown : EntryFields{},
                           editing ? editedKey : 0,
                           main.svc.view.ConfirmChecked(),
                           main.FileEncoding};
    const EntryAnswer answer = dialog(check, shown);
    if (editing &&
        (answer.outcome == EntryOutcome::Unchanged || answer.outcome == EntryOutcome::Cancelled))
        main.DialogCancelled = true;
    if (answer.markKey != 0) {
        EntryTable& table = main.Lists[static_cast<std::size_t>(page)];
        main.svc.view.UpdateRow(page, answer.markKey, [&] {
            if (const auto position = table.FindKey(answer.markKey)) {
                table.SetText(*position, MarkedName);
                table.Resort();
            }
        });
    }
    return answer;
}

} // namespace

EntryAnswer AddCommand(Main& main, int page, const EntryDialog& dialog) {
    EntryAnswer answer;
    std::string caption;
    RecordStep(main, caption, [&] {
        answer = ShowEntryDialog(main, page, 0, dialog);
        caption = "增加 " + answer.fields.name;
        if (main.EditMode == 0 && answer.outcome == EntryOutcome::Accepted) {
            RemoveEntryNamed(main, page, answer.fields.name);
            AddEntryFromDialog(main, page, answer.fields);
        }
    });
    main.svc.view.MakeAddDefault(page);
    main.svc.view.FocusList(page);
    return answer;
}

void StartEdit(Main& main, int page, int key, const EntryDialog& dialog) {
    const EntryTable& table = main.Lists.at(static_cast<std::size_t>(page));
    const auto position = table.FindKey(key);
    if (!position)
        return;
    const Row& row = table.At(*position);
    main.EditName = row.text == MarkedName ? std::string() : row.text.Str();
    main.EditCommand = row.sub[0];
    if (page == ShellList) {
        main.EditPrompt = row.sub[2];
        main.EditFlags = row.sub[1];
    }
    main.EditMode = 1;
    RecordStep(main, "编辑 " + row.text, [&] {
        const EntryAnswer answer = ShowEntryDialog(main, page, key, dialog);
        main.svc.view.MakeAddDefault(page);
        if (main.DialogCancelled)
            return;
        // Only an entry the dialog accepted replaces the edited row: an edit
        // whose entry is already in the list as typed keeps the row it edited.
        if (answer.outcome == EntryOutcome::Accepted) {
            RemoveListItem(main, page, key);
            RemoveEntryNamed(main, page, answer.fields.name);
            AddEntryFromDialog(main, page, answer.fields);
        }
    });
    main.EditMode = 0;
    if (main.DialogCancelled) {
        main.DialogCancelled = false;
        return;
    }
    main.svc.view.FocusList(page);
}

void StartRemove(Main& main, int page, int key) {
    EntryTable& table = main.Lists.at(static_cast<std::size_t>(page));
    const auto position = table.FindKey(key);
    if (!position)
        return;
    const Row& row = table.At(*position);
    Answer answer = Answer::Yes;
    if (main.svc.view.ConfirmChecked() && main.EditMode == 0 && row.text != MarkedName) {
        std::string text = "真要删除这个热键吗?" + Blanks(32);
        if (!row.sub[0].empty())
            text += " 对" + Blanks(3) + row.sub[0];
        text += "?";
        answer = main.svc.prompter.Show(MessageBox{text, Buttons::YesNo, Icon::Question,
                                                   "删除热键" + Blanks(9) + row.text + "?", 1});
    }
    if (answer == Answer::Yes) {
        RecordStep(main, "删除 " + row.text, [&] { RemoveListItem(main, page, key); });
        // The row below takes the removed one's place, ready for the next command.
        main.svc.view.SelectListItem(static_cast<int>(std::min(*position + 1, table.Count())),
                                     page);
    }
    // The commands and the Cancel caption follow every removal, not only the
    // first: the caption must not say Close over unsaved changes.
    main.svc.view.UpdateCommandState();
    main.svc.view.FocusList(page);
}

void AddEntryFromDialog(Main& main, int page, const EntryFields& fields) {
    const std::optional<std::size_t> position = AddEntryRow(main, page, fields);
    if (!position)
        return;
    main.svc.view.RowAdded(page, *position);
    main.svc.view.UpdateCommandState();
}

} // namespace nm

#include "ListRows.h"

#include "Merge.h"
#include "Text.h"

namespace nm {

bool AliasMakesRow(const Main& main, std::size_t index) {
    return main.AliasNames[index] != MarkedName;
}

void FillListRows(Main& main, bool importing, DuplicateObserver* observer) {
    BusyPointer busy(main.svc.prompter);
    EntryTable& aliases = main.Lists[AliasList];
    EntryTable& shells = main.Lists[ShellList];
    if (!importing) {
        aliases.Clear();
        shells.Clear();
    }
    aliases.Reserve(static_cast<std::size_t>(main.AliasUpper + 1));
    shells.Reserve(static_cast<std::size_t>(main.ShellUpper + 1));
    for (int i = 0; i <= main.AliasUpper; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (!AliasMakesRow(main, k))
            continue;
        aliases.Append(UpperCase(TrimSpaces(main.AliasNames[k])),
                       {std::string(TrimSpaces(main.AliasCommands[k])), {}, {}});
    }
    aliases.Resort();
    for (int i = 0; i <= main.ShellUpper; ++i) {
        const auto k = static_cast<std::size_t>(i);
        shells.Append(UpperCase(TrimSpaces(main.ShellNames[k])),
                      {std::string(TrimSpaces(main.ShellCommands[k])),
                       LowerCase(TrimSpaces(main.ShellFlags[k])),
                       std::string(TrimSpaces(main.ShellPrompts[k]))});
    }
    shells.Resort();
    ResolveDuplicates(main, AliasList, importing, observer);
    ResolveDuplicates(main, ShellList, importing, observer);
}

bool RemoveListItem(Main& main, int page, int key) {
    EntryTable& table = main.Lists.at(static_cast<std::size_t>(page));
    const auto position = table.FindKey(key);
    if (!position)
        return false;
    table.RemoveInOrder({*position});
    main.FileChanged = 1;
    return true;
}

std::optional<std::size_t> FindEntry(const Main& main, int page, std::string_view name) {
    if (name.empty())
        return std::nullopt;
    const EntryTable& table = main.Lists.at(static_cast<std::size_t>(page));
    for (std::size_t i = 0; i < table.Count(); ++i)
        if (CompareNoCase(table.At(i).text, name) == 0)
            return i;
    return std::nullopt;
}

bool EntryComplete(int page, const EntryFields& fields) {
    return !fields.name.empty() && (page == ShellList || !fields.command.empty());
}

std::optional<std::size_t> AddEntryRow(Main& main, int page, const EntryFields& fields) {
    if (!EntryComplete(page, fields)) {
        main.EditMode = 0;
        return std::nullopt;
    }
    EntryTable& table = main.Lists.at(static_cast<std::size_t>(page));
    std::array<std::string, 3> sub{std::string(TrimSpaces(fields.command)), {}, {}};
    if (page == ShellList) {
        sub[1] = fields.flags;
        sub[2] = fields.prompt;
    }
    const std::size_t position = table.Add(UpperCase(TrimSpaces(fields.name)), std::move(sub));
    main.FileChanged = 1;
    return position;
}

} // namespace nm

#include "core/ListRows.h"

#include "core/Duplicates.h"
#include "host/Utf8.h"

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
    // The alias names and commands move over into their rows, copied only
    // where trimming or upper-casing changes them: the load lists keep them
    // only from the read to here.
    for (int i = 0; i <= main.AliasUpper; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (!AliasMakesRow(main, k))
            continue;
        CompactText name = std::move(main.AliasNames[k]);
        TrimAndUpperCase(name);
        CompactText command = std::move(main.AliasCommands[k]);
        TrimSpacesInPlace(command);
        aliases.Append(std::move(name), {std::move(command), {}, {}}, main.AliasLines[k]);
    }
    aliases.Resort();
    for (int i = 0; i <= main.ShellUpper; ++i) {
        const auto k = static_cast<std::size_t>(i);
        shells.Append(CompactText(UpperCase(TrimSpaces(main.ShellNames[k]))),
                      {CompactText(TrimSpaces(main.ShellCommands[k])),
                       CompactText(LowerCase(TrimSpaces(main.ShellFlags[k]))),
                       CompactText(TrimSpaces(main.ShellPrompts[k]))},
                      main.ShellLines[k]);
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
    main.svc.view.RemoveRow(page, *position, [&] { table.RemoveInOrder({*position}); });
    main.FileChanged = 1;
    return true;
}

std::optional<std::size_t> FindEntry(const EntryTable& table, std::string_view name) {
    if (name.empty())
        return std::nullopt;
    for (std::size_t i = 0; i < table.Count(); ++i)
        if (CompareNoCase(table.At(i).text, name) == 0)
            return i;
    return std::nullopt;
}

std::optional<std::size_t> FindEntry(const Main& main, int page, std::string_view name) {
    return FindEntry(main.Lists.at(static_cast<std::size_t>(page)), name);
}

EntryFields RowFields(int page, const EntryFields& typed) {
    EntryFields row{
        UpperCase(TrimSpaces(typed.name)), std::string(TrimSpaces(typed.command)), {}, {}};
    if (page == ShellList) {
        row.flags = typed.flags;
        row.prompt = std::string(TrimSpaces(typed.prompt));
    }
    return row;
}

bool EntryComplete(int page, const EntryFields& fields) {
    const EntryFields row = RowFields(page, fields);
    return !row.name.empty() && (page == ShellList || !row.command.empty());
}

std::optional<std::size_t> AddEntryRow(Main& main, int page, const EntryFields& fields) {
    if (!EntryComplete(page, fields)) {
        main.EditMode = 0;
        return std::nullopt;
    }
    EntryFields row = RowFields(page, fields);
    EntryTable& table = main.Lists.at(static_cast<std::size_t>(page));
    std::array<std::string, 3> sub{std::move(row.command), std::move(row.flags),
                                   std::move(row.prompt)};
    const std::size_t position = table.AddPosition(row.name, sub);
    main.svc.view.InsertRow(page, position,
                            [&] { table.Add(std::move(row.name), std::move(sub)); });
    main.FileChanged = 1;
    return position;
}

} // namespace nm

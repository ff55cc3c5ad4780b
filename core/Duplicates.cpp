#include "core/Duplicates.h"

#include "host/Utf8.h"

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

} // namespace nm

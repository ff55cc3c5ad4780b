// The duplicate pass: rows of one name in a list are settled after a read or
// an import, so that a save writes each name once.
#pragma once

#include "core/Main.h"

namespace nm {

// Told of each row the duplicate pass settles, before the list changes.
class DuplicateObserver {
public:
    virtual ~DuplicateObserver() = default;
    // `loser` and `next` share a name and follow each other in name order;
    // `loser` is removed (same command) or renamed "---" (another command).
    virtual void Settled(int list, const Row& loser, const Row& next, bool removed) = 0;
};

// Settles rows of equal name in one list, walking it once in name order: of
// two rows with the same command the first is removed, of two with different
// commands the first is renamed "---". On an import, a message counts the
// renamed rows. An observer changes nothing about the pass.
void ResolveDuplicates(Main& main, int list, bool importing, DuplicateObserver* observer = nullptr);

} // namespace nm

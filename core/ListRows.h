// The list rows made from the load lists after a read, and their removal with
// dense keys.
#pragma once

#include "Main.h"

namespace nm {

// The row half of filling the list views: rebuilds both lists from the load
// lists (extends them, on an import), then runs the duplicate pass on each.
void FillListRows(Main& main, bool importing);

// Removes the row keyed `key` from the page's list; the row that held the
// highest key takes the freed one, so that N rows keep the keys 1 to N.
// Sets FileChanged. Returns false when no row has that key.
bool RemoveListItem(Main& main, int page, int key);

} // namespace nm

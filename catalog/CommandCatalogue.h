// The command catalogue: the host command names the alias dialog offers, read
// from alias.pgc in the program folder (and the files it includes) and then
// from the user's own, when there is one, and grown when the user confirms a
// command it did not know.
#pragma once

#include "host/Locator.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace nm {

// The most names a catalogue holds; reading stops quietly at this count.
inline constexpr std::size_t CatalogueCapacity = 1001;

// The catalogue's names in the order read. With no `file`, alias.pgc in the
// program folder (the user is told when it is missing) and then the user's
// own catalogue, read by the same rules; a named file that is missing gives
// an empty list without a word.
std::vector<std::string> LoadCommandCatalogue(FileSystem& files, const HostContext& host,
                                              const std::string& file = {});

// True when `list` holds `command`, letter case aside.
bool IsKnownCommand(std::string_view command, const std::vector<std::string>& list);

// For a command the list does not know: asks whether to add it, and on Yes
// appends it to `list` and to the user's own catalogue once there is one, else
// to alias.pgc in the program folder, unless the user may not write that: then
// the user's own catalogue is made for it. The name joins the list even when
// no file can be written, so the question is not asked again in this run.
void OfferNewCommand(FileSystem& files, const HostContext& host, const std::string& command,
                     std::vector<std::string>& list);

} // namespace nm

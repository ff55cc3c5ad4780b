// The command catalogue: the host command names the alias dialog offers, read
// from alias.pgc beside the program (and the files it includes), and grown
// when the user confirms a command it did not know.
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
// program folder (the user is told when it is missing, and the list is
// empty); a named file that is missing gives an empty list without a word.
std::vector<std::string> LoadCommandCatalogue(FileSystem& files, const HostContext& host,
                                              const std::string& file = {});

// True when `list` holds `command`, letter case aside.
bool IsKnownCommand(std::string_view command, const std::vector<std::string>& list);

// For a command the list does not know: asks whether to add it, and on Yes
// appends it to alias.pgc and to `list` (to the list even when the file cannot
// be written, so the question is not asked again in this run).
void OfferNewCommand(FileSystem& files, const HostContext& host, const std::string& command,
                     std::vector<std::string>& list);

} // namespace nm

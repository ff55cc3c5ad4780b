// File > Export: the lists written to a file of the user's choice, leaving
// the document as it is.
#pragma once

#include "core/Main.h"

#include <string>

namespace nm {

// The text an export writes (a saved file's text with the export's line 4).
std::string ExportText(Main& main);

// Asks for a file and writes the lists to it, without touching the document
// state. Returns true when a file was written.
bool ExportLists(Main& main);

} // namespace nm

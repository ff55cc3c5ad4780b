// Reading a program-parameters file into the load lists.
#pragma once

#include "Main.h"

#include <string>
#include <string_view>
#include <vector>

namespace nm {

enum class ReadResult {
    Completed, // the whole file was read
    Failed,    // the read ended or skipped a step after an error; the user was told
};

// Fills the load lists from the file at `path`, reporting errors to the user.
// A read that is not an import also replaces OriginalText. After a failure the
// load lists hold exactly the entries of the lines before the failing line.
ReadResult ReadPgpFile(Main& main, const std::string& path, bool importing);

} // namespace nm

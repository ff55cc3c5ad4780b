// Small text and path routines of the host environment, shared by the registry
// access and the file locator.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nm {

// Every occurrence of `find` replaced, left to right, without overlaps.
std::string StrReplace(std::string_view find, std::string_view replacement,
                       std::string_view source);
// The pieces between delimiters; an empty source gives one empty piece. The
// index of the last piece is the result's size minus one.
std::vector<std::string> StrSplit(std::string_view delimiter, std::string_view source);
std::string TrimLeading(std::string_view text, std::string_view piece);
std::string TrimTrailing(std::string_view text, std::string_view piece);
// Tabs become blanks; leading and trailing blanks go.
std::string TrimBlanks(std::string_view text);
// References between "%" signs replaced by the environment's values. A name
// the environment lacks keeps its reference, except the folders every Wine
// process knows (%SystemDrive%, %WINDIR%, ...), which get Wine's values.
std::string ExpandEnvVars(std::string_view text);
// The path made absolute against the current folder, "." and ".." resolved;
// "" when that fails.
std::string FullPathName(std::string_view path);
// The folder part up to and including the last "/", "\" or ":"; "" for a bare name.
std::string PathPart(std::string_view path);

} // namespace nm

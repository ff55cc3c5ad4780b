// Finding the host's files: the program-parameters file of the current user's
// profile along the profile's support-file search list, and the editor's
// support files (the command catalogue) beside the program.
#pragma once

#include "host/Environment.h"
#include "host/FileSystem.h"
#include "host/Prompter.h"
#include "host/RegistryBackend.h"

#include <string>
#include <vector>

namespace nm {

struct HostContext {
    Prompter& prompter;
    RegistryBackend& registry;
    // The folder of the program's own files (the catalogue, the help page),
    // without a final separator.
    std::string programFolder;
    // On POSIX, the Wine prefix's dosdevices folder, through which search-list
    // entries in DOS form ("C:\...") are mapped; "" on Windows.
    std::string dosDevices;
    // The host process's variables, for the references in a search list and
    // the PATH searched without one: Wine's inside a prefix, this process's
    // on Windows.
    Variables variables{};
    // The user's own catalogue, read after the program's and grown in its
    // place when the program's may not be written (an installed program on
    // POSIX); "" when there is none to have (Windows).
    std::string userCatalogue{};
};

// The folder of the program's own files: the running executable's, except
// for a program installed on POSIX, whose files are in share/nickmaker beside
// its bin folder (any prefix: /usr, /usr/local, a user's own).
std::string ProgramFolder();

// The user's own catalogue: $XDG_DATA_HOME/nickmaker/alias.pgc on POSIX
// (~/.local/share when the variable is unset or not absolute); "" on Windows.
std::string UserCatalogueFile();

// A host context for this system: the registry and drives of the host's
// Wine prefix on POSIX, the system's own on Windows.
HostContext SystemHostContext(Prompter& prompter, RegistryBackend& registry);

// What a search went through, for a user who wants to know why.
struct LocateTrace {
    RegistryView view = RegistryView::Native; // the view that gave the release
    std::string release;
    std::string product;
    std::string profile;
    std::string searchList;
    std::vector<std::string> searched; // the folders looked in, in order
};

inline constexpr const char* HostPgpFileName = "vtrm.pgp";
inline constexpr const char* CatalogueFileName = "alias.pgc";

// The full path of the host's program-parameters file, or "".
std::string FindHostPgpFile(HostContext& host, LocateTrace* trace = nullptr);

// The full path of the first match of `fileName` in the current folder (any
// entry) or, for a bare name, along `searchList` (regular files that are not
// hidden); "" when there is none.
std::string FindFileOnPath(const HostContext& host, const std::string& fileName,
                           const std::string& searchList,
                           std::vector<std::string>* searched = nullptr);

// The path of an existing support file: `name` itself, or the file of that
// name in the program folder; "" (after telling the user) when neither exists.
// The empty name selects the command catalogue.
std::string SupportFilePath(FileSystem& files, const HostContext& host, const std::string& name);

// A path in DOS form ("C:\Dir\file") as the host sees it: through the prefix's
// drive links, each component matched without regard to case. A path rooted
// without a drive ("\Dir") is on drive C:, the host's current drive. Other
// paths come back with their backslashes as separators; on Windows every
// path comes back as it is.
std::string MapDosPath(const std::string& dosDevices, const std::string& path);

// Whether a path begins with a drive letter ("C:"), or is rooted without one
// ("\Dir", not "\\server").
bool IsDosForm(const std::string& path);
bool IsDriveRooted(const std::string& path);

// The platform's half of the search (Locator_posix.cpp, Locator_win32.cpp).
// The separator between the program folder and a support file's name.
extern const char FolderSeparator;
// Whether anything, a folder or a hidden file too, is at `path`.
bool AnyEntry(const std::string& path);
// The ordinary file `name` in `folder` (which ends in a separator), as a path:
// not hidden, system or a folder. On POSIX, as Wine sees it: a regular file
// whose name does not begin with a dot and whose DOS attributes (kept by
// Wine in the "user.DOSATTRIB" extended attribute) are neither hidden nor
// system, matched without regard to case in a folder of a DOS drive. ""
// when there is none.
std::string OrdinaryFile(const std::string& folder, const std::string& name, bool dosDrive);

} // namespace nm

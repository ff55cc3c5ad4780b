// The common file dialogs: open, save and printer set-up.
#pragma once

#include "host/FileSystem.h"
#include "host/Prompter.h"

#include <optional>
#include <string>

namespace nm {

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The open dialog with a filter ("description |pattern|..."), preselecting
    // `fileName`. The chosen full path, or nothing when the user cancelled.
    virtual std::optional<std::string> ShowOpen(const std::string& filter,
                                                const std::string& fileName) = 0;
    // The save dialog. The chosen full path; a cancel raises run-time error 32755.
    virtual std::string ShowSave(const std::string& filter, const std::string& fileName) = 0;
    // The printer set-up dialog; a cancel raises run-time error 32755.
    virtual void ShowPrinterSetup() = 0;
    // The file-name part of the last path the user picked ("" before any pick).
    virtual std::string FileTitle() const = 0;
};

// The open dialog until the user picks an existing file of non-zero length,
// with a message for each missing one. A cancel returns `fileName` as it was
// preselected, without the existence test.
std::string BrowseForFile(Prompter& prompter, FileDialogs& dialogs, FileSystem& files,
                          const std::string& filter, const std::string& fileName);

} // namespace nm

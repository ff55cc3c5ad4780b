// Help: the bundled help page beside the program, opened in the desktop's
// browser at the topic for the requested keyword.
#pragma once

#include "host/FileSystem.h"
#include "host/HelpViewer.h"
#include "host/Prompter.h"

#include <string>

namespace nm {

// The page for a help request: the help file's name in lower case with
// ".html" in place of its extension, in `folder`; the keyword, in lower case,
// names the topic on it.
std::string HelpPagePath(const std::string& folder, const HelpRequest& request);

class QtHelpViewer final : public HelpViewer {
public:
    QtHelpViewer(Prompter& prompter, FileSystem& files, std::string folder)
        : prompter_(prompter), files_(files), folder_(std::move(folder)) {}
    void ShowHelp(const HelpRequest& request) override;

private:
    Prompter& prompter_;
    FileSystem& files_;
    std::string folder_;
};

} // namespace nm

// The user's help viewer: shows a topic of the program's help.
#pragma once

#include <string>

namespace nm {

// What the help command asks for: a help file, a keyword and the command that
// shows the topic for the keyword.
struct HelpRequest {
    std::string file;
    std::string keyword;
    int command = 0;
    bool operator==(const HelpRequest&) const = default;
};

class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    virtual void ShowHelp(const HelpRequest& request) = 0;
};

} // namespace nm

#include "host/Unattended.h"

#include "host/RuntimeError.h"

namespace nm {

namespace {

// Message boxes use CR LF and show trailing blanks invisibly.
std::string ForTerminal(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        if (text[i] == '\n')
            while (!out.empty() && out.back() == ' ')
                out.pop_back();
        out.push_back(text[i]);
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

} // namespace

Answer ConsolePrompter::Show(const MessageBox& box) {
    std::string line = program_ + ": ";
    if (box.title && !box.title->empty())
        line += *box.title + ": ";
    line += ForTerminal(box.text);
    std::fprintf(out_, "%s\n", line.c_str());
    std::fflush(out_);
    return UnattendedAnswer(box.buttons);
}

std::string NoFileDialogs::ShowSave(const std::string&, const std::string&) {
    throw RuntimeError(Err::DialogCancelled);
}

void NoFileDialogs::ShowPrinterSetup() {
    throw RuntimeError(Err::DialogCancelled);
}

void NoHostLink::RequestReinit() {
    throw RuntimeError(Err::CannotCreateObject);
}

} // namespace nm

// The services of the command-line companion: every question is answered Yes
// (or, where Yes is not offered, with the answer that gives up), every box is
// printed to standard error, and there are no dialogs.
#pragma once

#include "host/FileDialogs.h"
#include "host/Prompter.h"

#include <cstdio>

namespace nm {

class ConsolePrompter final : public Prompter {
public:
    explicit ConsolePrompter(std::FILE* out) : out_(out) {}
    Answer Show(const MessageBox& box) override;
    void Beep() override {}
    void SetBusy(bool) override {}

private:
    std::FILE* out_;
};

// No one to pick a file: the open dialog is cancelled, the save dialog too.
class NoFileDialogs final : public FileDialogs {
public:
    std::optional<std::string> ShowOpen(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::string ShowSave(const std::string&, const std::string&) override;
    void ShowPrinterSetup() override;
    std::string FileTitle() const override { return {}; }
};

} // namespace nm

// The services for work without a person at the screen: the command-line
// companion, the fuzz targets and the tests that script nothing. Questions get
// the answer that neither loses data nor retries for ever (UnattendedAnswer).
#pragma once

#include "host/Clock.h"
#include "host/FileDialogs.h"
#include "host/HostLink.h"
#include "host/Prompter.h"

#include <cstdio>
#include <ctime>
#include <string>
#include <utility>

namespace nm {

// Writes every box as one line "PROGRAM: TITLE: TEXT" to `out` (a terminal
// wants LF and no blanks at the ends of lines), then answers it unattended.
class ConsolePrompter final : public Prompter {
public:
    ConsolePrompter(std::FILE* out, std::string program)
        : out_(out), program_(std::move(program)) {}
    Answer Show(const MessageBox& box) override;
    void Beep() override {}
    void SetBusy(bool) override {}

private:
    std::FILE* out_;
    std::string program_;
};

// No one to pick a file: every dialog is cancelled.
class NoFileDialogs final : public FileDialogs {
public:
    std::optional<std::string> ShowOpen(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::string ShowSave(const std::string&, const std::string&) override;
    void ShowPrinterSetup() override;
    std::string FileTitle() const override { return {}; }
};

// No running host to reach: a request fails with error 429.
class NoHostLink final : public HostLink {
public:
    void RequestReinit() override;
};

// Always the same moment, so that saved bytes do not depend on the hour.
class FixedClock : public Clock {
public:
    explicit FixedClock(const std::tm& when = {}) : when_(when) {}
    std::tm Now() const override { return when_; }

private:
    std::tm when_;
};

} // namespace nm

// What the fuzz targets share: services that answer every box without a
// person, and a scratch folder for the files the targets read.
#pragma once

#include "core/DocumentView.h"
#include "host/Clock.h"
#include "host/FileDialogs.h"
#include "host/HostLink.h"
#include "host/Prompter.h"
#include "host/RuntimeError.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace nm::fuzz {

class NoDialogs final : public FileDialogs {
public:
    std::optional<std::string> ShowOpen(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::string ShowSave(const std::string&, const std::string&) override {
        throw RuntimeError(Err::DialogCancelled);
    }
    void ShowPrinterSetup() override {}
    std::string FileTitle() const override { return {}; }
};

class NoHost final : public HostLink {
public:
    void RequestReinit() override { throw RuntimeError(Err::CannotCreateObject); }
};

class FixedClock final : public Clock {
public:
    std::tm Now() const override { return std::tm{}; }
};

// A folder of this process's own, made once.
inline const std::string& Scratch() {
    static const std::string folder = [] {
        const auto path =
            std::filesystem::temp_directory_path() / ("nm-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path.string();
    }();
    return folder;
}

inline std::string WriteScratch(const std::string& name, const std::uint8_t* data,
                                std::size_t size) {
    const std::string path = Scratch() + "/" + name;
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
}

} // namespace nm::fuzz

// What the fuzz targets share: the unattended services, and a scratch folder
// for the files the targets read.
#pragma once

#include "core/DocumentView.h"
#include "host/Unattended.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace nm::fuzz {

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

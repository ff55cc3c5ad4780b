#include "core/DiskWatch.h"

#include "host/FileIo.h"
#include "host/RuntimeError.h"

namespace nm {

DiskState CheckDisk(FileSystem& files, const FileStamp& seen) {
    if (seen.path.empty())
        return DiskState::Same;
    std::string bytes;
    try {
        bytes = ReadFileBytes(files, seen.path);
    } catch (const RuntimeError&) {
        return DiskState::Gone;
    }
    return StampOf(seen.path, bytes) == seen ? DiskState::Same : DiskState::Changed;
}

std::string DiskChangedText(const std::string& path) {
    return path + " 已在磁盘上被修改";
}

std::string DiskGoneText(const std::string& path) {
    return path + " 已被删除或无法读取";
}

} // namespace nm

// The system's file calls, one kind of which fails with a chosen error on
// demand: the disk that fills up, the share that turns read-only, the drive
// that goes away. Until told, it fails nothing.
#pragma once

#include "host/FileSystem.h"

#include <set>
#include <string>
#include <system_error>

namespace nm::test {

enum class FsCall {
    Open,
    CreateTemp,
    Read,
    Write,
    Flush,
    Close,
    SetAccess,
    SetOwner,
    Replace,
    CheckWrite
};

class FailingFileSystem final : public SystemFileSystem {
public:
    int failed = 0; // how many calls failed so far

    // The next `count` calls of one kind fail, after `skip` that go through.
    void FailNext(FsCall kind, std::errc error, int count = 1, int skip = 0) {
        call_ = kind;
        error_ = std::make_error_code(error);
        failures_ = count;
        skip_ = skip;
    }

    std::error_code Open(const std::string& p, OpenFor m, Handle& f) override {
        const std::error_code result =
            Fail(FsCall::Open) ? (f = NoHandle, error_) : SystemFileSystem::Open(p, m, f);
        if (!result && m == OpenFor::Read)
            readers_.insert(f);
        return result;
    }
    std::error_code CreateTemp(const std::string& t, std::string& n, Handle& f) override {
        return Fail(FsCall::CreateTemp) ? (f = NoHandle, error_)
                                        : SystemFileSystem::CreateTemp(t, n, f);
    }
    std::error_code Read(Handle f, void* b, std::size_t n, std::size_t& d) override {
        return Fail(FsCall::Read) ? error_ : SystemFileSystem::Read(f, b, n, d);
    }
    std::error_code Write(Handle f, const void* b, std::size_t n, std::size_t& d) override {
        return Fail(FsCall::Write) ? error_ : SystemFileSystem::Write(f, b, n, d);
    }
    std::error_code Flush(Handle f) override {
        return Fail(FsCall::Flush) ? error_ : SystemFileSystem::Flush(f);
    }
    // A close reports the writes that did not reach the disk; a file opened
    // for reading has none. A failed close still lets the handle go.
    std::error_code Close(Handle f) override {
        const bool fails = readers_.erase(f) == 0 && Fail(FsCall::Close);
        const std::error_code result = SystemFileSystem::Close(f);
        return fails ? error_ : result;
    }
    std::error_code SetAccess(Handle f, const std::string& p, const FileInfo* l) override {
        return Fail(FsCall::SetAccess) ? error_ : SystemFileSystem::SetAccess(f, p, l);
    }
    std::error_code SetOwner(Handle f, const FileInfo& l) override {
        return Fail(FsCall::SetOwner) ? error_ : SystemFileSystem::SetOwner(f, l);
    }
    std::error_code Replace(const std::string& a, const std::string& b) override {
        return Fail(FsCall::Replace) ? error_ : SystemFileSystem::Replace(a, b);
    }
    std::error_code CheckWrite(const std::string& p) override {
        return Fail(FsCall::CheckWrite) ? error_ : SystemFileSystem::CheckWrite(p);
    }

private:
    FsCall call_ = FsCall::Open;
    std::error_code error_;
    int failures_ = 0;
    int skip_ = 0;
    std::set<Handle> readers_;

    bool Fail(FsCall kind) {
        if (kind != call_ || failed >= failures_ || skip_-- > 0)
            return false;
        ++failed;
        return true;
    }
};

} // namespace nm::test

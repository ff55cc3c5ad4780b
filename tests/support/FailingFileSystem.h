// The system's file calls, one kind of which fails with a chosen error on
// demand: the disk that fills up, the share that turns read-only, the drive
// that goes away. Until told, it fails nothing.
#pragma once

#include "host/FileSystem.h"

#include <set>
#include <string>
#include <system_error>
#include <tuple>

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
        std::tie(call_, error_, failures_, skip_) =
            std::tuple(kind, std::make_error_code(error), count, skip);
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
    // A close reports the writes that did not reach the disk; a file opened
    // for reading has none. A failed close still lets the handle go.
    std::error_code Close(Handle f) override {
        const bool fails = readers_.erase(f) == 0 && Fail(FsCall::Close);
        const std::error_code result = SystemFileSystem::Close(f);
        return fails ? error_ : result;
    }
// The other calls fail when their turn has come and go to the system otherwise.
#define NM_FAILING(Call, Params, Args)                                                             \
    std::error_code Call Params override {                                                         \
        return Fail(FsCall::Call) ? error_ : SystemFileSystem::Call Args;                          \
    }
    NM_FAILING(Read, (Handle f, void* b, std::size_t n, std::size_t& d), (f, b, n, d))
    NM_FAILING(Write, (Handle f, const void* b, std::size_t n, std::size_t& d), (f, b, n, d))
    NM_FAILING(Flush, (Handle f), (f))
    NM_FAILING(SetAccess, (Handle f, const std::string& p, const FileInfo* l), (f, p, l))
    NM_FAILING(SetOwner, (Handle f, const FileInfo& l), (f, l))
    NM_FAILING(Replace, (const std::string& a, const std::string& b), (a, b))
    NM_FAILING(CheckWrite, (const std::string& p), (p))
#undef NM_FAILING

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

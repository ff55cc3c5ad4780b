// The host link against a host registered and running in the system's
// running-object table: the request it makes, and what the user is told when
// the host refuses it.
#include "tests/support/Doubles.h"

#include "host/HostLink.h"
#include "host/HostNotification.h"
#include "host/RuntimeError.h"
#include "host/Win32.h"

#include <gtest/gtest.h>

#include <ole2.h>
#include <oleauto.h>

#include <string>
#include <vector>

using namespace nm;
using namespace nm::test;

namespace {

// {5E0C1A3B-7D42-4C8E-9A61-2F3B4C5D6E7F}: the class of the stand-in host.
const CLSID StandInHost = {
    0x5e0c1a3b, 0x7d42, 0x4c8e, {0x9a, 0x61, 0x2f, 0x3b, 0x4c, 0x5d, 0x6e, 0x7f}};
const char* const ClassKey = "Software\\Classes\\Vectrom.Application";

enum class Behaviour { Accepts, NoDocument, Refuses };

// A host application and its active document, reached only through IDispatch.
class StandIn final : public IDispatch {
public:
    StandIn(Behaviour behaviour, StandIn* document) : behaviour_(behaviour), document_(document) {}

    std::vector<std::wstring> calls; // what was asked of this object

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; } // owned by the test
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        if (count != 1)
            return E_INVALIDARG;
        if (_wcsicmp(names[0], L"activedocument") == 0 && document_)
            *ids = 1;
        else if (_wcsicmp(names[0], L"SetVariable") == 0 && !document_)
            *ids = 2;
        else
            return DISP_E_UNKNOWNNAME;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* info, UINT*) override {
        if (id == 1) {
            calls.push_back(L"activedocument");
            VariantInit(result);
            if (behaviour_ != Behaviour::NoDocument) {
                result->vt = VT_DISPATCH;
                result->pdispVal = document_;
                document_->AddRef();
            }
            return S_OK;
        }
        // SetVariable(name, value): the arguments arrive last first.
        std::wstring call = L"SetVariable";
        for (UINT i = params->cArgs; i-- > 0;) {
            const VARIANT& arg = params->rgvarg[i];
            if (arg.vt == VT_BSTR)
                call += L" BSTR:" + std::wstring(arg.bstrVal);
            else if (arg.vt == VT_I2)
                call += L" I2:" + std::to_wstring(arg.iVal);
            else
                call += L" vt" + std::to_wstring(arg.vt);
        }
        calls.push_back(call);
        if (behaviour_ == Behaviour::Refuses) {
            *info = EXCEPINFO{};
            info->bstrDescription = SysAllocString(L"The host is busy with a command");
            info->scode = E_FAIL;
            return DISP_E_EXCEPTION;
        }
        return S_OK;
    }

private:
    Behaviour behaviour_;
    StandIn* document_;
    ULONG references_ = 1;
};

// The stand-in registered as the running "Vectrom.Application" for one test.
class RunningHost {
public:
    explicit RunningHost(Behaviour behaviour)
        : document(behaviour, nullptr), application(behaviour, &document) {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        const std::string clsid = "{5E0C1A3B-7D42-4C8E-9A61-2F3B4C5D6E7F}";
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, (std::string(ClassKey) + "\\CLSID").c_str(), 0, nullptr,
                        0, KEY_SET_VALUE, nullptr, &key, nullptr);
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(clsid.c_str()),
                       static_cast<DWORD>(clsid.size() + 1));
        RegCloseKey(key);
        result = RegisterActiveObject(&application, StandInHost, ACTIVEOBJECT_STRONG, &cookie_);
        registered = SUCCEEDED(result);
    }
    ~RunningHost() {
        if (registered)
            RevokeActiveObject(cookie_, nullptr);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, ClassKey);
        CoUninitialize();
    }
    StandIn document;
    StandIn application;
    bool registered = false;
    HRESULT result = E_FAIL;

private:
    DWORD cookie_ = 0;
};

} // namespace

TEST(Win32HostAutomation, TheRunningHostIsAskedToReReadItsFile) {
    RunningHost host(Behaviour::Accepts);
    ASSERT_TRUE(host.registered) << "registering the host failed: " << std::hex << host.result;
    ScriptedPrompter prompter;
    NotifyHost(prompter, *MakeSystemHostLink(), false);
    EXPECT_EQ(host.application.calls, std::vector<std::wstring>{L"activedocument"});
    EXPECT_EQ(host.document.calls, std::vector<std::wstring>{L"SetVariable BSTR:RE-INIT I2:16"});
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "你的 Vectrom 热键被保存并且当前 Vectrom 进程被更新.");
}

TEST(Win32HostAutomation, AHostThatRefusesIsReportedWithItsOwnWords) {
    const struct {
        Behaviour behaviour;
        std::string error;
    } cases[] = {
        {Behaviour::Refuses, "(Error -2147467259), The host is busy with a command"},
        {Behaviour::NoDocument, "(Error 91), Object variable or With block variable not set"},
    };
    for (const auto& c : cases) {
        RunningHost host(c.behaviour);
        ASSERT_TRUE(host.registered) << "registering the host failed: " << std::hex << host.result;
        ScriptedPrompter prompter;
        NotifyHost(prompter, *MakeSystemHostLink(), false);
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_EQ(prompter.shown[0].text, "你的改变被保存, 但当前 Vectrom 进程不能更新.\r\n\r\n"
                                          "请用 Vectrom REINIT 命令更新你的热键.\r\n" +
                                              c.error);
        EXPECT_EQ(prompter.shown[0].icon, Icon::Exclamation);
        // After a quiet save the user is not troubled with it.
        ScriptedPrompter quiet;
        NotifyHost(quiet, *MakeSystemHostLink(), true);
        EXPECT_TRUE(quiet.shown.empty());
    }
}

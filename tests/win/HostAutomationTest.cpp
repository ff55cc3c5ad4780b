// The host link against a host registered and running in the system's
// running-object table: the request it makes, and the error a refusal raises.
#include "host/HostLink.h"
#include "host/RuntimeError.h"
#include "host/Win32.h"

#include <gtest/gtest.h>

#include <ole2.h>
#include <oleauto.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

using namespace nm;

namespace {

// {5E0C1A3B-7D42-4C8E-9A61-2F3B4C5D6E7F}: the class of the stand-in host.
const CLSID StandInHost = {
    0x5e0c1a3b, 0x7d42, 0x4c8e, {0x9a, 0x61, 0x2f, 0x3b, 0x4c, 0x5d, 0x6e, 0x7f}};
const char* const ClassKey = "Software\\Classes\\Vectrom.Application";

enum class Behaviour { Accepts, Refuses };

// A host application and its active document, reached only through IDispatch;
// the test owns both, so their references are not counted.
class StandIn final : public IDispatch {
public:
    StandIn(Behaviour behaviour, StandIn* document) : behaviour_(behaviour), document_(document) {}

    std::vector<std::wstring> calls; // what was asked of the document

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        const bool known = iid == IID_IUnknown || iid == IID_IDispatch;
        *out = known ? static_cast<IDispatch*>(this) : nullptr;
        return known ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        // The application has the document, the document the variables.
        *ids = count != 1 ? 0
                          : _wcsicmp(names[0], document_ ? L"activedocument" : L"SetVariable") == 0;
        return *ids ? S_OK : DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* info, UINT*) override {
        VariantInit(result);
        if (document_) {
            result->vt = VT_DISPATCH;
            result->pdispVal = document_;
            return S_OK;
        }
        // SetVariable(name, value): the arguments arrive last first.
        std::wstring call = L"SetVariable";
        for (UINT i = params->cArgs; i-- > 0;) {
            const VARIANT& arg = params->rgvarg[i];
            call += arg.vt == VT_BSTR
                        ? L" BSTR:" + std::wstring(arg.bstrVal)
                        : L" vt" + std::to_wstring(arg.vt) + L":" + std::to_wstring(arg.iVal);
        }
        calls.push_back(call);
        if (behaviour_ != Behaviour::Refuses)
            return S_OK;
        *info = EXCEPINFO{};
        info->bstrDescription = SysAllocString(L"The host is busy with a command");
        info->scode = E_FAIL;
        return DISP_E_EXCEPTION;
    }

private:
    Behaviour behaviour_;
    StandIn* document_;
};

// The stand-in registered as the running "Vectrom.Application" for one test.
class RunningHost {
public:
    explicit RunningHost(Behaviour behaviour)
        : document(behaviour, nullptr), application(behaviour, &document) {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        const std::string clsid = "{5E0C1A3B-7D42-4C8E-9A61-2F3B4C5D6E7F}";
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, (std::string(ClassKey) + "\\CLSID").c_str(), nullptr,
                        REG_SZ, clsid.c_str(), static_cast<DWORD>(clsid.size() + 1));
        EXPECT_HRESULT_SUCCEEDED(
            RegisterActiveObject(&application, StandInHost, ACTIVEOBJECT_STRONG, &cookie_));
    }
    ~RunningHost() {
        RevokeActiveObject(cookie_, nullptr);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, ClassKey);
        CoUninitialize();
    }
    StandIn document;
    StandIn application;

private:
    DWORD cookie_ = 0;
};

} // namespace

TEST(Win32HostAutomation, TheRunningHostIsAskedToReReadItsFile) {
    // How the host behaves (none: no host is running), the document's calls,
    // and the run-time error the request raises (0: none) with the host's
    // own words when it gave them.
    const struct {
        std::optional<Behaviour> behaviour;
        std::vector<std::wstring> calls;
        std::int32_t number;
        std::string description;
    } cases[] = {
        {Behaviour::Accepts, {L"SetVariable BSTR:RE-INIT vt2:16"}, 0, ""},
        {Behaviour::Refuses,
         {L"SetVariable BSTR:RE-INIT vt2:16"},
         -2147467259,
         "The host is busy with a command"},
        {std::nullopt, {}, 429, ErrorDescription(429)},
    };
    for (const auto& c : cases) {
        std::optional<RunningHost> host;
        if (c.behaviour)
            host.emplace(*c.behaviour);
        std::int32_t number = 0;
        std::string description;
        try {
            MakeSystemHostLink()->RequestReinit();
        } catch (const RuntimeError& error) {
            number = error.Number();
            description = error.Description();
        }
        EXPECT_EQ(std::tie(number, description), std::tie(c.number, c.description));
        if (host) {
            EXPECT_EQ(host->document.calls, c.calls);
        }
    }
}

#include "host/HostLink.h"

#include "host/RuntimeError.h"

#include "host/Win32.h"

#include <ole2.h>
#include <oleauto.h>

namespace nm {

namespace {

// A run-time error for a failed automation call, numbered as the classic
// BASIC run-time numbers them: the host's own description when it gave one.
RuntimeError AutomationError(HRESULT hr, EXCEPINFO* info = nullptr) {
    std::string description;
    if (info) {
        if (info->pfnDeferredFillIn)
            info->pfnDeferredFillIn(info);
        if (info->bstrDescription)
            description = Narrow(
                std::wstring_view(info->bstrDescription, SysStringLen(info->bstrDescription)));
        if (info->scode)
            hr = info->scode;
        else if (info->wCode)
            hr = static_cast<HRESULT>(0x800A0000u | info->wCode); // a BASIC number
        SysFreeString(info->bstrSource);
        SysFreeString(info->bstrDescription);
        SysFreeString(info->bstrHelpFile);
    }
    std::int32_t number;
    switch (hr) {
    case DISP_E_UNKNOWNNAME:
    case DISP_E_MEMBERNOTFOUND:
        number = Err::NoSuchMember;
        break;
    case DISP_E_TYPEMISMATCH:
    case DISP_E_BADVARTYPE:
        number = Err::TypeMismatch;
        break;
    default:
        // An error raised by a BASIC component carries its number in the low
        // word; any other failure keeps the whole result, as "Automation error".
        number = (static_cast<unsigned long>(hr) & 0xFFFF0000u) == 0x800A0000u
                     ? static_cast<std::int32_t>(hr & 0xFFFF)
                     : static_cast<std::int32_t>(hr);
        if (description.empty())
            description = number == static_cast<std::int32_t>(hr) ? "Automation error"
                                                                  : ErrorDescription(number);
    }
    if (description.empty())
        return RuntimeError(number);
    return RuntimeError(number, description);
}

class ComApartment {
public:
    ComApartment() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(hr_))
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT hr_;
};

template <class T> class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (p_)
            p_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T** Out() { return &p_; }
    T* operator->() const { return p_; }
    T* Get() const { return p_; }

private:
    T* p_ = nullptr;
};

class Variant {
public:
    Variant() { VariantInit(&v_); }
    ~Variant() { VariantClear(&v_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    VARIANT* Get() { return &v_; }

private:
    VARIANT v_;
};

// Late-bound call of the member `name` of `object`.
void Call(IDispatch* object, const wchar_t* name, WORD kind, VARIANT* args, UINT count,
          VARIANT* result) {
    if (!object)
        throw RuntimeError(Err::ObjectNotSet);
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr))
        throw AutomationError(hr);
    DISPPARAMS params{args, nullptr, count, 0};
    EXCEPINFO info{};
    UINT badArgument = 0;
    hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, result, &info,
                        &badArgument);
    if (hr == DISP_E_EXCEPTION)
        throw AutomationError(hr, &info);
    if (FAILED(hr))
        throw AutomationError(hr);
}

class AutomationHostLink final : public HostLink {
public:
    void RequestReinit() override {
        ComApartment apartment;
        // Only a running host counts: none is ever started for this.
        CLSID host{};
        if (FAILED(CLSIDFromProgID(L"Vectrom.Application", &host)))
            throw RuntimeError(Err::CannotCreateObject);
        ComPtr<IUnknown> running;
        if (FAILED(GetActiveObject(host, nullptr, running.Out())) || !running.Get())
            throw RuntimeError(Err::CannotCreateObject);
        ComPtr<IDispatch> application;
        if (HRESULT hr =
                running->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(application.Out()));
            FAILED(hr))
            throw AutomationError(hr);

        Variant document;
        Call(application.Get(), L"activedocument", DISPATCH_PROPERTYGET | DISPATCH_METHOD, nullptr,
             0, document.Get());
        if (document.Get()->vt != VT_DISPATCH)
            throw RuntimeError(Err::ObjectNotSet);

        // Arguments go last to first: the value 16, then the name.
        VARIANT args[2];
        VariantInit(&args[0]);
        args[0].vt = VT_I2;
        args[0].iVal = 16;
        VariantInit(&args[1]);
        args[1].vt = VT_BSTR;
        args[1].bstrVal = SysAllocString(L"RE-INIT");
        Variant ignored;
        try {
            Call(document.Get()->pdispVal, L"SetVariable", DISPATCH_METHOD, args, 2, ignored.Get());
        } catch (...) {
            VariantClear(&args[1]);
            throw;
        }
        VariantClear(&args[1]);
    }
};

} // namespace

std::unique_ptr<HostLink> MakeSystemHostLink() {
    return std::make_unique<AutomationHostLink>();
}

} // namespace nm

#include "win32/plugin_object.h"

#include <cstring>

#include "core/private_devmode.h"
#include "win32/no_throw.h"
#include "win32/plugin_module.h"

namespace plugin_win32 {

namespace {
constexpr wchar_t kColorProfile[] = L"OEMPROFILE.icm";
constexpr ULONG kColorProfileBytes = 32;
static_assert(sizeof kColorProfile <= kColorProfileBytes);
}  // namespace

PluginObject::PluginObject() {
    ObjectCreated();
}

PluginObject::~PluginObject() {
    if (driver_) driver_->Release();
    ObjectDestroyed();
}

HRESULT STDMETHODCALLTYPE PluginObject::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, kIID_IPrintOemUI)) {
        *object = static_cast<IPrintOemUI*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE PluginObject::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG STDMETHODCALLTYPE PluginObject::Release() {
    const LONG count = InterlockedDecrement(&references_);
    if (count == 0) delete this;
    return static_cast<ULONG>(count);
}

HRESULT STDMETHODCALLTYPE PluginObject::GetInfo(DWORD mode, PVOID buffer, DWORD size, PDWORD needed) {
    return win32::CallComNoThrow([&]() -> HRESULT {
        if (!needed) return Fail(ERROR_INVALID_PARAMETER);
        if (mode != kOemGetSignature && mode != kOemGetVersion && mode != kOemGetPublisherInfo) {
            return Fail(ERROR_INVALID_PARAMETER);
        }
        *needed = sizeof(DWORD);
        if (!buffer || size < sizeof(DWORD)) return Fail(ERROR_INSUFFICIENT_BUFFER);
        switch (mode) {
            case kOemGetSignature:
                *static_cast<DWORD*>(buffer) = plugin::kPrivateDevmodeSignature;
                return S_OK;
            case kOemGetVersion:
                *static_cast<DWORD*>(buffer) = 1;
                return S_OK;
        }
        *needed = 0;
        return Fail(ERROR_NOT_SUPPORTED);
    });
}

HRESULT STDMETHODCALLTYPE PluginObject::DevMode(DWORD mode, POEMDMPARAM param) {
    return win32::CallComNoThrow([&]() -> HRESULT {
        if (!param) return Fail(ERROR_INVALID_PARAMETER);
        plugin::DevModeParam portable{param->cbBufSize, param->pOEMDMIn, param->pOEMDMOut};
        if (plugin::HandleDevMode(&portable, mode) != plugin::DevModeStatus::kOk) return Fail(ERROR_INVALID_PARAMETER);
        param->cbBufSize = portable.cbBufSize;
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE PluginObject::PublishDriverInterface(IUnknown* driver) {
    return win32::CallComNoThrow([&]() -> HRESULT {
        if (driver_) return S_OK;
        void* found = nullptr;
        if (!driver || FAILED(driver->QueryInterface(kIID_IPrintOemDriverUI, &found)) || !found) {
            driver_ = nullptr;
            return E_FAIL;
        }
        driver_ = static_cast<IPrintOemDriverUI*>(found);
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE PluginObject::CommonUIProp(DWORD mode, POEMCUIPPARAM param) {
    return win32::CallComNoThrow([&]() -> HRESULT {
        devicePages_.commonUiParam = param;
        documentPages_.commonUiParam = param;
        if (mode == kOemCuipDocProp) return S_OK;
        if (mode == kOemCuipPrnProp) {
            // The plug-in adds no items to the driver's own tree.
            if (param && !param->pOEMOptItems) param->cOEMOptItems = 0;
            return S_OK;
        }
        return Fail(ERROR_INVALID_PARAMETER);
    });
}

HRESULT STDMETHODCALLTYPE PluginObject::DocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
    return win32::CallComNoThrow([&]() -> HRESULT {
        documentPages_.driver = driver_;
        return DocumentSheets(info, lParam, documentPages_);
    });
}

HRESULT STDMETHODCALLTYPE PluginObject::DevicePropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
    return win32::CallComNoThrow([&]() -> HRESULT {
        devicePages_.driver = driver_;
        return DeviceSheets(info, lParam, devicePages_);
    });
}

HRESULT STDMETHODCALLTYPE PluginObject::QueryColorProfile(HANDLE, POEMUIOBJ, PDEVMODEW, PVOID, ULONG queryMode,
                                                          VOID* profile, ULONG* profileSize, FLONG* flags) {
    return win32::CallComNoThrow([&]() -> HRESULT {
        if (queryMode != kQueryDeviceProfile) return E_FAIL;
        if (!profileSize) return Fail(ERROR_INVALID_PARAMETER);
        const bool fits = profile && *profileSize >= kColorProfileBytes;
        *profileSize = kColorProfileBytes;
        if (!fits) return Fail(ERROR_INSUFFICIENT_BUFFER);
        std::memcpy(profile, kColorProfile, sizeof kColorProfile);
        if (flags) *flags = kProfileIsFileName;
        return S_OK;
    });
}

}  // namespace plugin_win32

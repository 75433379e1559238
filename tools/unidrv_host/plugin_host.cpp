#include "plugin_host.h"

#include "win32/manifest_context.h"

namespace unidrv {
namespace {

// The driver's helper interface; the pages of this version do not call it.
struct HostDriverUi final : IPrintOemDriverUI {
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, kIID_IPrintOemDriverUI)) {
            *object = static_cast<IPrintOemDriverUI*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // One instance lives as long as the module: counting is not needed.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE DrvGetDriverSetting(PVOID, PCSTR, PVOID, DWORD, PDWORD, PDWORD) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DrvUpgradeRegistrySetting(HANDLE, PCSTR, PCSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DrvUpdateUISetting(PVOID, PVOID, DWORD, DWORD) override { return E_NOTIMPL; }
};
HostDriverUi gDriverUi;

// Where a library keeps the manifest of its own windows (ISOLATIONAWARE_MANIFEST_RESOURCE_ID).
constexpr WORD kLibraryManifestId = 2;

constexpr DWORD kDevModeSize = 1;     // OEMDM_SIZE
constexpr DWORD kDevModeDefault = 2;  // OEMDM_DEFAULT
constexpr DWORD kDevModeMerge = 4;    // OEMDM_MERGE

}  // namespace

PluginHost::~PluginHost() {
    DeactivateManifest();
    win32::ReleaseManifestContext(activation_);
    if (plugin_) plugin_->Release();
    if (library_) FreeLibrary(library_);
}

bool PluginHost::Load(const wchar_t* path) {
    library_ = LoadLibraryW(path);
    if (!library_) return false;
    using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, LPVOID*);
    auto getClassObject =
        reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(GetProcAddress(library_, "DllGetClassObject")));
    IClassFactory* factory = nullptr;
    if (!getClassObject ||
        FAILED(getClassObject(kPluginClassId, IID_IClassFactory, reinterpret_cast<void**>(&factory)))) {
        return false;
    }
    const HRESULT created = factory->CreateInstance(nullptr, kIID_IPrintOemUI, reinterpret_cast<void**>(&plugin_));
    factory->Release();
    if (FAILED(created)) {
        plugin_ = nullptr;
        return false;
    }
    OEMDMPARAM param{};
    param.cbSize = sizeof param;
    param.hModule = library_;
    if (FAILED(plugin_->DevMode(kDevModeSize, &param))) param.cbBufSize = 0;
    privateSize_ = param.cbBufSize;
    plugin_->PublishDriverInterface(&gDriverUi);
    return true;
}

bool PluginHost::WriteDefaults(BYTE* out) {
    if (!plugin_ || privateSize_ == 0) return false;
    OEMDMPARAM param{};
    param.cbSize = sizeof param;
    param.hModule = library_;
    param.pOEMDMOut = out;
    param.cbBufSize = privateSize_;
    return SUCCEEDED(plugin_->DevMode(kDevModeDefault, &param));
}

bool PluginHost::Merge(const BYTE* in, BYTE* out) {
    if (!plugin_ || privateSize_ == 0) return false;
    OEMDMPARAM param{};
    param.cbSize = sizeof param;
    param.hModule = library_;
    param.pOEMDMIn = const_cast<BYTE*>(in);
    param.pOEMDMOut = out;
    param.cbBufSize = privateSize_;
    return SUCCEEDED(plugin_->DevMode(kDevModeMerge, &param));
}

HRESULT PluginHost::AddPages(bool document, const PROPSHEETUI_INFO& sheet, HANDLE printer, PWSTR printerName,
                             DEVMODEW* publicDevmode, BYTE* privateDevmode) {
    if (!plugin_) return E_FAIL;
    document_ = document;
    common_ = {};
    common_.cbSize = sizeof common_;
    common_.hPrinter = printer;
    common_.pPrinterName = printerName;
    common_.hModule = library_;
    common_.pPublicDM = publicDevmode;
    common_.pOEMDM = privateDevmode;
    plugin_->CommonUIProp(document ? kOemCuipDocProp : kOemCuipPrnProp, &common_);

    sheetParam_ = {};
    sheetParam_.cbSize = sizeof sheetParam_;
    sheetParam_.hPrinter = printer;
    sheetParam_.pPrinterName = printerName;
    sheetParam_.hModule = library_;
    sheetParam_.pPublicDM = publicDevmode;
    sheetParam_.pOEMDM = privateDevmode;
    // The plug-in sees the sheet's own page function, with its own parameter.
    info_ = {};
    info_.cbSize = sizeof info_;
    info_.Version = PROPSHEETUI_INFO_VERSION;
    info_.Flags = sheet.Flags;
    info_.Reason = PROPSHEETUI_REASON_INIT;
    info_.hComPropSheet = sheet.hComPropSheet;
    info_.pfnComPropSheet = sheet.pfnComPropSheet;
    info_.lParamInit = reinterpret_cast<LPARAM>(&sheetParam_);
    const HRESULT added =
        document ? plugin_->DocumentPropertySheets(&info_, 0) : plugin_->DevicePropertySheets(&info_, 0);
    pagesAdded_ = SUCCEEDED(added);
    return added;
}

void PluginHost::DestroyPages(LPARAM result) {
    if (!pagesAdded_) return;
    pagesAdded_ = false;
    info_.Reason = PROPSHEETUI_REASON_DESTROY;
    document_ ? plugin_->DocumentPropertySheets(&info_, result) : plugin_->DevicePropertySheets(&info_, result);
}

void PluginHost::ActivateManifest() {
    if (activated_ || !library_) return;
    if (activation_ == INVALID_HANDLE_VALUE)
        activation_ = win32::CreateManifestContext(library_, kLibraryManifestId);
    activated_ = activation_ != INVALID_HANDLE_VALUE && ActivateActCtx(activation_, &cookie_);
}

void PluginHost::DeactivateManifest() {
    if (activated_) DeactivateActCtx(0, cookie_);
    activated_ = false;
}

}  // namespace unidrv

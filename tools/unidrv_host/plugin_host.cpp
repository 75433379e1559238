#include "plugin_host.h"

#include <winspool.h>

#include <cstdio>
#include <string>

#include "resources/resource.h"
#include "win32/manifest_context.h"

namespace unidrv {
namespace {

// The file that records the driver-interface calls the plug-in makes: the
// host's own folder, "DrvUpdateUISetting.log".
std::wstring CallLogPath() {
    wchar_t path[MAX_PATH] = {};
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&CallLogPath), &self);
    GetModuleFileNameW(self, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.find_last_of(L"\\/") + 1);
    return folder + L"DrvUpdateUISetting.log";
}

// The driver's helper interface: DrvUpdateUISetting takes the paper-size
// item's new choice into the public device mode, as the driver's own control
// would, and records the call.
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
    HRESULT STDMETHODCALLTYPE DrvUpdateUISetting(PVOID uiObject, PVOID optItem, DWORD previousSelection,
                                                 DWORD mode) override {
        auto* item = static_cast<OPTITEM*>(optItem);
        if (!item || !item->pOptType || item->Sel < 0 || item->Sel >= item->pOptType->Count) return E_INVALIDARG;
        const wchar_t* form = item->pOptType->pOptParam[item->Sel].pData;
        if (host && host->PublicDevmode()) {
            lstrcpynW(host->PublicDevmode()->dmFormName, form, CCHFORMNAME);
            host->PublicDevmode()->dmFields |= DM_FORMNAME;
        }
        if (FILE* log = _wfopen(CallLogPath().c_str(), L"ab")) {
            const std::string line =
                "DrvUpdateUISetting uiobject=" + std::to_string(reinterpret_cast<ULONG_PTR>(uiObject)) +
                " dmpub=" + std::to_string(item->DMPubID) + " sel=" + std::to_string(item->Sel) +
                " changed=" + std::to_string((item->Flags & OPTIF_CHANGED) != 0) +
                " previous=" + std::to_string(previousSelection) + " mode=" + std::to_string(mode) + "\r\n";
            std::fwrite(line.data(), 1, line.size(), log);
            std::fclose(log);
        }
        return S_OK;
    }
    PluginHost* host = nullptr;
};
HostDriverUi gDriverUi;

// Where the plug-in keeps the manifest of its own windows.
constexpr WORD kLibraryManifestId = IDR_CONTROLS_MANIFEST;

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
    publicDevmode_ = publicDevmode;
    gDriverUi.host = this;
    MakePaperSizeItem(printer, publicDevmode);
    common_.pDrvOptItems = &paperSize_;
    common_.cDrvOptItems = 1;
    common_.poemuiobj = reinterpret_cast<POEMUIOBJ>(static_cast<ULONG_PTR>(kUiObject));
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

void PluginHost::MakePaperSizeItem(HANDLE printer, const DEVMODEW* publicDevmode) {
    // The driver's paper sizes are the spooler's forms.
    forms_.clear();
    HANDLE server = nullptr;
    if (!printer && OpenPrinterW(nullptr, &server, nullptr)) printer = server;
    DWORD needed = 0, count = 0;
    EnumFormsW(printer, 1, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed);
    if (needed && EnumFormsW(printer, 1, buffer.data(), needed, &needed, &count)) {
        const auto* forms = reinterpret_cast<const FORM_INFO_1W*>(buffer.data());
        for (DWORD i = 0; i < count; ++i) forms_.push_back(forms[i].pName);
    }
    if (server) ClosePrinter(server);
    if (forms_.empty()) forms_ = {L"Letter", L"A4"};
    params_.assign(forms_.size(), OPTPARAM{});
    LONG selection = 0;
    for (std::size_t i = 0; i < forms_.size(); ++i) {
        params_[i].cbSize = sizeof(OPTPARAM);
        params_[i].pData = forms_[i].data();
        if (publicDevmode && forms_[i] == publicDevmode->dmFormName) selection = static_cast<LONG>(i);
    }
    type_ = {};
    type_.cbSize = sizeof type_;
    type_.Type = TVOT_LISTBOX;
    type_.Count = static_cast<WORD>(params_.size());
    type_.pOptParam = params_.data();
    paperSize_ = {};
    paperSize_.cbSize = sizeof paperSize_;
    paperSize_.pName = const_cast<LPWSTR>(L"Tamanho do papel");
    paperSize_.Sel = selection;
    paperSize_.pOptType = &type_;
    paperSize_.DMPubID = DMPUB_FORMNAME;
}

void PluginHost::DestroyPages(LPARAM result) {
    if (!pagesAdded_) return;
    pagesAdded_ = false;
    info_.Reason = PROPSHEETUI_REASON_DESTROY;
    document_ ? plugin_->DocumentPropertySheets(&info_, result) : plugin_->DevicePropertySheets(&info_, result);
}

void PluginHost::ActivateManifest() {
    if (activated_ || !library_) return;
    if (activation_ == INVALID_HANDLE_VALUE) activation_ = win32::CreateManifestContext(library_, kLibraryManifestId);
    activated_ = activation_ != INVALID_HANDLE_VALUE && ActivateActCtx(activation_, &cookie_);
}

void PluginHost::DeactivateManifest() {
    if (activated_) DeactivateActCtx(0, cookie_);
    activated_ = false;
}

}  // namespace unidrv

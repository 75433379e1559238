// A stand-in for the Unidrv user interface: it loads the plug-in library by
// its exports, as the driver does, sizes and defaults the private device mode,
// hands the plug-in a driver helper, and shows the document or the printer
// property sheet with the pages the plug-in adds.
//
//   unidrv_host.exe PLUGIN.DLL document|printer [--snapshot PICTURE.bmp TABS.txt [PAGE]]
//
// With --snapshot the sheet is shown without waiting for the user, on page
// PAGE (0 first) when given: its picture and its tab captions (UTF-8, one per
// line) are saved and it closes.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "automation/automation.h"
#include "win32/oem_interfaces.h"

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
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE DrvGetDriverSetting(PVOID, PCSTR, PVOID, DWORD, PDWORD, PDWORD) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DrvUpgradeRegistrySetting(HANDLE, PCSTR, PCSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DrvUpdateUISetting(PVOID, PVOID, DWORD, DWORD) override { return E_NOTIMPL; }
};

// The common property-sheet function the plug-in calls to add its pages.
std::vector<HPROPSHEETPAGE> gPages;
LONG_PTR CALLBACK HostComPropSheet(HANDLE, UINT function, LPARAM lParam1, LPARAM) {
    switch (function) {
        case CPSFUNC_ADD_PROPSHEETPAGEW: {
            HPROPSHEETPAGE page = CreatePropertySheetPageW(reinterpret_cast<LPCPROPSHEETPAGEW>(lParam1));
            if (page) gPages.push_back(page);
            return reinterpret_cast<LONG_PTR>(page);
        }
        case CPSFUNC_SET_RESULT:
            return 1;
    }
    return 0;
}

// Wine ignores PSP_USEFUSIONCONTEXT, so the host activates the plug-in's own
// manifest around the sheet itself; on Windows the pages' flag does it.
HANDLE PluginActivationContext(HMODULE plugin) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(plugin, path, MAX_PATH);
    ACTCTXW context{};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
    context.lpSource = path;
    context.lpResourceName = MAKEINTRESOURCEW(2);
    context.hModule = plugin;
    return CreateActCtxW(&context);
}

bool SaveTabs(HWND sheet, const std::string& path) {
    HWND tabs = PropSheet_GetTabControl(sheet);
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    const int count = TabCtrl_GetItemCount(tabs);
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 128;
        SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        char utf8[512] = {};
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
        std::fprintf(out, "%s\n", utf8);
    }
    return std::fclose(out) == 0;
}

void PumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(20);
    }
}

std::string Narrow(const wchar_t* text) {
    char out[MAX_PATH * 4] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out, nullptr, nullptr);
    return out;
}

int Run(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: unidrv_host PLUGIN.DLL document|printer [--snapshot PICTURE.bmp TABS.txt [PAGE]]\n");
        return 2;
    }
    const bool document = std::wstring(argv[2]) == L"document";
    const bool snapshot = argc >= 6 && std::wstring(argv[3]) == L"--snapshot";

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    HMODULE library = LoadLibraryW(argv[1]);
    if (!library) return 3;
    using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, LPVOID*);
    auto getClassObject =
        reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(GetProcAddress(library, "DllGetClassObject")));
    IClassFactory* factory = nullptr;
    IPrintOemUI* plugin = nullptr;
    if (!getClassObject ||
        FAILED(getClassObject(kPluginClassId, IID_IClassFactory, reinterpret_cast<void**>(&factory))) ||
        FAILED(factory->CreateInstance(nullptr, kIID_IPrintOemUI, reinterpret_cast<void**>(&plugin)))) {
        return 4;
    }
    factory->Release();

    // The private device mode, sized and defaulted by the plug-in.
    OEMDMPARAM devmode{};
    devmode.cbSize = sizeof devmode;
    devmode.hModule = library;
    plugin->DevMode(1, &devmode);
    std::vector<BYTE> privateDevmode(devmode.cbBufSize), scratch(devmode.cbBufSize);
    devmode.pOEMDMIn = scratch.data();
    devmode.pOEMDMOut = privateDevmode.data();
    plugin->DevMode(2, &devmode);

    HostDriverUi driverUi;
    plugin->PublishDriverInterface(&driverUi);

    OEMCUIPPARAM common{};
    common.cbSize = sizeof common;
    common.hModule = library;
    common.pOEMDM = privateDevmode.data();
    plugin->CommonUIProp(document ? kOemCuipDocProp : kOemCuipPrnProp, &common);

    OEMUIPSPARAM sheetParam{};
    sheetParam.cbSize = sizeof sheetParam;
    sheetParam.hModule = library;
    sheetParam.pOEMDM = privateDevmode.data();
    PROPSHEETUI_INFO info{};
    info.cbSize = sizeof info;
    info.Version = PROPSHEETUI_INFO_VERSION;
    info.Reason = PROPSHEETUI_REASON_INIT;
    info.hComPropSheet = reinterpret_cast<HANDLE>(1);
    info.pfnComPropSheet = HostComPropSheet;
    info.lParamInit = reinterpret_cast<LPARAM>(&sheetParam);
    const HRESULT added = document ? plugin->DocumentPropertySheets(&info, 0) : plugin->DevicePropertySheets(&info, 0);
    if (FAILED(added) || gPages.empty()) return 5;

    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_NOAPPLYNOW | (snapshot ? PSH_MODELESS : 0);
    header.pszCaption = document ? L"Preferências de impressão" : L"Propriedades da impressora";
    header.nPages = static_cast<UINT>(gPages.size());
    header.phpage = gPages.data();

    HANDLE activation = PluginActivationContext(library);
    ULONG_PTR cookie = 0;
    const bool activated = activation != INVALID_HANDLE_VALUE && ActivateActCtx(activation, &cookie);
    int status = 0;
    if (snapshot) {
        HWND sheet = reinterpret_cast<HWND>(PropertySheetW(&header));
        if (argc >= 7) PropSheet_SetCurSel(sheet, nullptr, _wtoi(argv[6]));
        PumpFor(1200);
        if (!IsWindow(sheet)) {
            status = 6;
        } else if (!automation::SaveScreenshot(sheet, Narrow(argv[4]))) {
            status = 7;
        } else if (!SaveTabs(sheet, Narrow(argv[5]))) {
            status = 8;
        }
        DestroyWindow(sheet);
    } else {
        PropertySheetW(&header);
    }
    if (activated) DeactivateActCtx(0, cookie);
    if (activation != INVALID_HANDLE_VALUE) ReleaseActCtx(activation);

    info.Reason = PROPSHEETUI_REASON_DESTROY;
    document ? plugin->DocumentPropertySheets(&info, 0) : plugin->DevicePropertySheets(&info, 0);
    plugin->Release();
    FreeLibrary(library);
    return status;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    return Run(argc, argv);
}

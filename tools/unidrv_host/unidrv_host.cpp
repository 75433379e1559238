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
#include "driver_devmode.h"
#include "plugin_host.h"
#include "win32/no_throw.h"

namespace {

// The common property-sheet function the plug-in calls to add its pages.
std::vector<HPROPSHEETPAGE> gPages;
LONG_PTR CALLBACK HostComPropSheet(HANDLE, UINT function, LPARAM lParam1, LPARAM) {
    switch (function) {
        case CPSFUNC_ADD_PROPSHEETPAGEW: {
            HPROPSHEETPAGE page = CreatePropertySheetPageW(reinterpret_cast<LPCPROPSHEETPAGEW>(lParam1));
            if (!page) return 0;
            if (!win32::CallNoThrow(false, [page] {
                    gPages.push_back(page);
                    return true;
                })) {
                DestroyPropertySheetPage(page);
                return 0;
            }
            return reinterpret_cast<LONG_PTR>(page);
        }
        case CPSFUNC_SET_RESULT:
            return 1;
    }
    return 0;
}

bool SaveTabs(HWND sheet, const std::string& path) {
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    for (const std::string& caption : automation::TabCaptions(sheet)) std::fprintf(out, "%s\n", caption.c_str());
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
    unidrv::PluginHost plugin;
    if (!plugin.Load(argv[1])) return 4;
    // The device mode the sheet edits, with the plug-in's defaults.
    unidrv::DriverDevmode devmode(plugin, L"Impressora");

    PROPSHEETUI_INFO info{};
    info.cbSize = sizeof info;
    info.Version = PROPSHEETUI_INFO_VERSION;
    info.hComPropSheet = reinterpret_cast<HANDLE>(1);
    info.pfnComPropSheet = HostComPropSheet;
    wchar_t printerName[] = L"Impressora";
    const HRESULT added =
        plugin.AddPages(document, info, nullptr, printerName, devmode.publicPart(), devmode.privatePart());
    if (FAILED(added) || gPages.empty()) return 5;

    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_NOAPPLYNOW | (snapshot ? PSH_MODELESS : 0);
    header.pszCaption = document ? unidrv::kDocumentSheetCaption : unidrv::kPrinterSheetCaption;
    header.nPages = static_cast<UINT>(gPages.size());
    header.phpage = gPages.data();

    plugin.ActivateManifest();
    int status = 0;
    if (snapshot) {
        HWND sheet = reinterpret_cast<HWND>(PropertySheetW(&header));
        if (argc >= 7) PropSheet_SetCurSel(sheet, nullptr, _wtoi(argv[6]));
        PumpFor(1200);
        if (!IsWindow(sheet)) {
            status = 6;
        } else if (!automation::SaveScreenshot(sheet, automation::Narrow(argv[4]))) {
            status = 7;
        } else if (!SaveTabs(sheet, automation::Narrow(argv[5]))) {
            status = 8;
        }
        DestroyWindow(sheet);
    } else {
        PropertySheetW(&header);
    }
    plugin.DeactivateManifest();
    plugin.DestroyPages(status == 0);
    return status;
}

}  // namespace

// Exit status when the host itself fails (out of memory, for one).
constexpr int kInternalFailure = 9;

int wmain(int argc, wchar_t** argv) {
    return win32::CallNoThrow(kInternalFailure, [&] { return Run(argc, argv); });
}

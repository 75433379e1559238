// A stand-in for the Unidrv configuration module (UNIDRVUI.DLL): the
// functions the spooler and applications call for a printer of this driver.
// It sizes and fills the device mode with the plug-in's private part and shows
// the plug-in's pages in the sheets the common property-sheet UI builds.
#include <windows.h>
#include <winspool.h>

#include <memory>
#include <new>
#include <optional>
#include <string>

#include "driver_devmode.h"
#include "driver_interface.h"
#include "plugin_host.h"
#include "plugin_lookup.h"
#include "win32/no_throw.h"

namespace {

// One open sheet: the plug-in, the device mode its pages edit, and, for the
// document sheet, the caller's request.
struct SheetSession {
    unidrv::PluginHost plugin;
    std::optional<unidrv::DriverDevmode> devmode;
    DOCUMENTPROPERTYHEADER* request = nullptr;
    // The printer the caller opened for the sheet, whichever sheet it is.
    HANDLE printer = nullptr;
    std::wstring printerName;
};

void LoadPlugin(unidrv::PluginHost& plugin, HANDLE printer, const wchar_t* printerName) {
    const std::wstring path = unidrv::FindPluginPath(printer, printerName);
    if (!path.empty()) plugin.Load(path.c_str());
}

// The printer's own default device mode, taken over the built-in defaults.
void TakePrinterDefaults(unidrv::DriverDevmode& devmode, HANDLE printer) {
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    if (needed < sizeof(PRINTER_INFO_2W)) return;
    auto buffer = std::make_unique<BYTE[]>(needed);
    if (!GetPrinterW(printer, 2, buffer.get(), needed, &needed)) return;
    const auto* info = reinterpret_cast<PRINTER_INFO_2W*>(buffer.get());
    if (info->pDevMode) devmode.MergeFrom(*info->pDevMode);
}

// DocumentProperties without a window: the size, or the filled device mode.
LONG DocumentPropertiesQuiet(DOCUMENTPROPERTYHEADER* request) {
    if (!request || request->cbSize < sizeof(DOCUMENTPROPERTYHEADER)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    unidrv::PluginHost plugin;
    LoadPlugin(plugin, request->hPrinter, request->pszPrinterName);
    unidrv::DriverDevmode devmode(plugin, request->pszPrinterName);
    if (request->fMode == 0 || !request->pdmOut) {
        request->cbOut = devmode.size();
        return static_cast<LONG>(devmode.size());
    }
    if ((request->fMode & DM_IN_BUFFER) && request->pdmIn) devmode.MergeFrom(*request->pdmIn);
    if ((request->fMode & DM_OUT_BUFFER) && !devmode.CopyTo(request->pdmOut, request->cbOut)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return -1;
    }
    return IDOK;
}

LONG SheetHeader(LPARAM lParam, const wchar_t* title) {
    auto* header = reinterpret_cast<PROPSHEETUI_INFO_HEADER*>(lParam);
    if (!header) return -1;
    header->Flags = PSUIHDRF_EXACT_PTITLE | PSUIHDRF_NOAPPLYNOW;
    header->pTitle = const_cast<wchar_t*>(title);
    return 1;
}

// The reasons both sheets share; `init` fills a new session.
template <typename Init>
LONG SheetReason(PROPSHEETUI_INFO* info, LPARAM lParam, bool document, Init init) {
    auto* session = reinterpret_cast<SheetSession*>(info->UserData);
    switch (info->Reason) {
        case PROPSHEETUI_REASON_INIT: {
            auto fresh = std::make_unique<SheetSession>();
            if (!init(*fresh)) return -1;
            if (FAILED(fresh->plugin.AddPages(document, *info, fresh->printer, fresh->printerName.data(),
                                              fresh->devmode->publicPart(), fresh->devmode->privatePart()))) {
                return -1;
            }
            fresh->plugin.ActivateManifest();
            info->Result = CPSUI_CANCEL;
            info->UserData = reinterpret_cast<ULONG_PTR>(fresh.release());
            return 1;
        }
        case PROPSHEETUI_REASON_GET_INFO_HEADER:
            return SheetHeader(lParam, document ? unidrv::kDocumentSheetCaption : unidrv::kPrinterSheetCaption);
        case PROPSHEETUI_REASON_SET_RESULT:
            if (auto* result = reinterpret_cast<SETRESULT_INFO*>(lParam)) info->Result = result->Result;
            return 1;
        case PROPSHEETUI_REASON_DESTROY:
            if (!session) return 1;
            session->plugin.DeactivateManifest();
            session->plugin.DestroyPages(lParam);
            // Accepted: the caller gets the edited device mode back.
            if (lParam && session->request && (session->request->fMode & DM_OUT_BUFFER))
                session->devmode->CopyTo(session->request->pdmOut, session->request->cbOut);
            delete session;
            info->UserData = 0;
            return 1;
    }
    return 1;
}

// A sheet routine's failure: -1 with the thread's last error set.
template <typename Body>
LONG SheetNoThrow(Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    } catch (...) {
        SetLastError(ERROR_INTERNAL_ERROR);
    }
    return -1;
}

}  // namespace

extern "C" {

LONG WINAPI DrvDocumentPropertySheets(PROPSHEETUI_INFO* info, LPARAM lParam) {
    return SheetNoThrow([&] {
        if (!info) return DocumentPropertiesQuiet(reinterpret_cast<DOCUMENTPROPERTYHEADER*>(lParam));
        return SheetReason(info, lParam, true, [info](SheetSession& session) {
            auto* request = reinterpret_cast<DOCUMENTPROPERTYHEADER*>(info->lParamInit);
            if (!request || request->cbSize < sizeof(DOCUMENTPROPERTYHEADER)) return false;
            session.request = request;
            session.printer = request->hPrinter;
            session.printerName = request->pszPrinterName ? request->pszPrinterName : L"";
            LoadPlugin(session.plugin, request->hPrinter, request->pszPrinterName);
            session.devmode.emplace(session.plugin, request->pszPrinterName);
            if ((request->fMode & DM_IN_BUFFER) && request->pdmIn) session.devmode->MergeFrom(*request->pdmIn);
            return true;
        });
    });
}

LONG WINAPI DrvDevicePropertySheets(PROPSHEETUI_INFO* info, LPARAM lParam) {
    if (!info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    return SheetNoThrow([&] {
        return SheetReason(info, lParam, false, [info](SheetSession& session) {
            auto* request = reinterpret_cast<DEVICEPROPERTYHEADER*>(info->lParamInit);
            if (!request || request->cbSize < sizeof(DEVICEPROPERTYHEADER)) return false;
            session.printer = request->hPrinter;
            session.printerName = request->pszPrinterName ? request->pszPrinterName : L"";
            LoadPlugin(session.plugin, request->hPrinter, request->pszPrinterName);
            session.devmode.emplace(session.plugin, request->pszPrinterName);
            if (request->hPrinter) TakePrinterDefaults(*session.devmode, request->hPrinter);
            return true;
        });
    });
}

DWORD WINAPI DrvDeviceCapabilities(HANDLE printer, PWSTR deviceName, WORD capability, PVOID, PDEVMODEW) {
    switch (capability) {
        case DC_SIZE:
            return sizeof(DEVMODEW);
        case DC_EXTRA:
            // Loading the plug-in builds paths and may run out of memory.
            return win32::CallNoThrow<DWORD>(GDI_ERROR, [&] {
                unidrv::PluginHost plugin;
                LoadPlugin(plugin, printer, deviceName);
                return plugin.PrivateSize();
            });
        case DC_FIELDS:
            return unidrv::kPublicFields;
        case DC_DRIVER:
            return unidrv::kDriverVersion;
        case DC_VERSION:
            return DM_SPECVERSION;
        case DC_COPIES:
            return 1;
    }
    return GDI_ERROR;
}

// Every job may print: the driver holds no job back.
BOOL WINAPI DevQueryPrintEx(PVOID) {
    return TRUE;
}

}  // extern "C"

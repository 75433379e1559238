#pragma once
// The plug-in's pages in the driver's document and printer property sheets.
#include "win32/oem_interfaces.h"

namespace plugin_win32 {

// What every printer-property page finds in its page lParam.
struct DevicePageContext {
    HANDLE hComPropSheet = reinterpret_cast<HANDLE>(~static_cast<ULONG_PTR>(0));
    HANDLE hPage = reinterpret_cast<HANDLE>(~static_cast<ULONG_PTR>(0));
    PFNCOMPROPSHEET pfnComPropSheet = nullptr;
    POEMCUIPPARAM commonUiParam = nullptr;
    IPrintOemDriverUI* driver = nullptr;
};

// What every document-property page finds in its page lParam; its
// sheetParam->pOEMDM is the private device mode the pages edit.
struct DocumentPageContext {
    HANDLE hComPropSheet = reinterpret_cast<HANDLE>(~static_cast<ULONG_PTR>(0));
    HANDLE hPage = reinterpret_cast<HANDLE>(~static_cast<ULONG_PTR>(0));
    POEMUIPSPARAM sheetParam = nullptr;
    POEMCUIPPARAM commonUiParam = nullptr;
    PFNCOMPROPSHEET pfnComPropSheet = nullptr;
    IPrintOemDriverUI* driver = nullptr;
};

HRESULT DocumentSheets(PPROPSHEETUI_INFO info, LPARAM lParam, DocumentPageContext& context);
HRESULT DeviceSheets(PPROPSHEETUI_INFO info, LPARAM lParam, DevicePageContext& context);

// The title the driver shows for the plug-in's part of the sheet.
constexpr const wchar_t* kSheetTitle = L"OEM UI Page";

}  // namespace plugin_win32

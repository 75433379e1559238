#include "win32/property_sheets.h"

#include <commctrl.h>

#include <type_traits>

#include "resource.h"
#include "win32/no_throw.h"
#include "win32/page_binding.h"
#include "win32/plugin_module.h"

namespace plugin_win32 {

namespace {

constexpr int kDocumentPages[] = {IDD_MAIN_PAGE,      IDD_WATERMARK_PAGE, IDD_OPERATION_PAGE,
                                  IDD_BARCODE1D_PAGE, IDD_BARCODE2D_PAGE, IDD_VERSION_PAGE};
constexpr int kDevicePages[] = {IDD_UTILITY_PAGE, IDD_DOWNLOAD_PAGE, IDD_FONT_PAGE, IDD_VERSION_PAGE};
constexpr DWORD kReasonBeforeInit = 4;

// The page description hosts of the 32-bit driver read: 52 bytes, the
// version-3 layout with its activation context.
#ifndef _WIN64
static_assert(sizeof(PROPSHEETPAGEW_V3) == 52, "the 32-bit page description is 52 bytes");
#endif

// The page procedure of pages that keep no settings ("Versão", and the pages
// whose content is still to come): it keeps its context, agrees to every
// change of page, and answers FALSE to every other message, WM_INITDIALOG
// included.
INT_PTR StaticPageMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(page, DWLP_USER, reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam);
            return FALSE;
        case WM_NOTIFY:
            switch (reinterpret_cast<const NMHDR*>(lParam)->code) {
                case PSN_APPLY:
                case PSN_KILLACTIVE:
                case PSN_SETACTIVE:
                    return TRUE;
            }
            return FALSE;
        case WM_COMMAND:
            return HIWORD(wParam) == 0;
    }
    return FALSE;
}

INT_PTR CALLBACK StaticPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    return win32::CallNoThrow<INT_PTR>(FALSE, [&] { return StaticPageMessage(page, message, wParam, lParam); });
}

PROPSHEETPAGEW Describe(int templateId, LPARAM context, bool document) {
    PROPSHEETPAGEW page{};
    page.dwSize = sizeof(PROPSHEETPAGEW_V3);
    page.hInstance = ModuleHandle();
    page.pszTemplate = MAKEINTRESOURCEW(templateId);
    if (document) {
        page.pfnDlgProc = HasDocumentPageClass(templateId) ? DocumentPageProc : StaticPageProc;
    } else {
        page.pfnDlgProc = HasDevicePageClass(templateId) ? DevicePageProc : StaticPageProc;
    }
    page.lParam = context;
    if (HANDLE activation = ActivationContext()) {
        page.dwFlags |= PSP_USEFUSIONCONTEXT;
        page.hActCtx = activation;
    }
    return page;
}

// The reasons both sheets answer alike; false for INIT, which each sheet
// handles itself.
bool AnswerCommonReason(PPROPSHEETUI_INFO info, LPARAM lParam, LONG_PTR* result) {
    switch (info->Reason) {
        case PROPSHEETUI_REASON_INIT:
            return false;
        case PROPSHEETUI_REASON_GET_INFO_HEADER:
            if (auto* header = reinterpret_cast<PPROPSHEETUI_INFO_HEADER>(lParam)) {
                header->pTitle = const_cast<LPWSTR>(kSheetTitle);
            }
            *result = 1;
            return true;
        case PROPSHEETUI_REASON_DESTROY:
            *result = 1;
            return true;
        case PROPSHEETUI_REASON_SET_RESULT:
            *result = lParam ? reinterpret_cast<PSETRESULT_INFO>(lParam)->Result : 0;
            return true;
        case kReasonBeforeInit:
            *result = 0;
            return true;
    }
    *result = lParam;
    return true;
}

bool Valid(PPROPSHEETUI_INFO info) {
    return info && info->Version == PROPSHEETUI_INFO_VERSION;
}

// The routine both sheets share: reasons other than INIT answer alike; INIT
// adds `pages` in order with `context` as their lParam and returns the last
// add call's answer.
template <typename Context, std::size_t N>
HRESULT RunSheet(PPROPSHEETUI_INFO info, LPARAM lParam, Context& context, const int (&pages)[N], LONG_PTR* lastAdded) {
    if (!Valid(info)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    LONG_PTR result = 0;
    if (AnswerCommonReason(info, lParam, &result)) {
        info->Result = result;
        return S_FALSE;  // answered; nothing for the sheet to add
    }
    context.hComPropSheet = info->hComPropSheet;
    context.pfnComPropSheet = info->pfnComPropSheet;
    for (int templateId : pages) {
        PROPSHEETPAGEW page =
            Describe(templateId, reinterpret_cast<LPARAM>(&context), std::is_same_v<Context, DocumentPageContext>);
        if (info->pfnComPropSheet) {
            *lastAdded = info->pfnComPropSheet(info->hComPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW,
                                               reinterpret_cast<LPARAM>(&page), 0);
        }
    }
    return S_OK;
}
}  // namespace

HRESULT DocumentSheets(PPROPSHEETUI_INFO info, LPARAM lParam, DocumentPageContext& context) {
    // The pages reach the private device mode through the sheet's parameter;
    // it is in place before the first page is added, since a host may create
    // each page as it is added.
    if (Valid(info) && info->Reason == PROPSHEETUI_REASON_INIT) {
        context.sheetParam = reinterpret_cast<POEMUIPSPARAM>(info->lParamInit);
    }
    LONG_PTR lastAdded = 0;
    const HRESULT status = RunSheet(info, lParam, context, kDocumentPages, &lastAdded);
    if (status == S_OK) info->Result = lastAdded;
    return FAILED(status) ? status : S_OK;
}

HRESULT DeviceSheets(PPROPSHEETUI_INFO info, LPARAM lParam, DevicePageContext& context) {
    LONG_PTR lastAdded = 0;
    const HRESULT status = RunSheet(info, lParam, context, kDevicePages, &lastAdded);
    if (status == S_OK) {
        // The printer pages keep the handle of the last page added.
        context.hPage = reinterpret_cast<HANDLE>(lastAdded);
        info->Result = lParam;
    }
    return FAILED(status) ? status : S_OK;
}

}  // namespace plugin_win32

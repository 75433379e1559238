// The printer pages that have a class of their own, made for the page
// binding: each on the printer the driver opened for its sheet.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "core/download_page.h"
#include "core/utility_page.h"
#include "resource.h"
#include "win32/control_font_file.h"
#include "win32/page_binding.h"
#include "win32/encoding.h"
#include "win32/property_sheets.h"
#include "win32/win32_logo_files.h"
#include "win32/win32_spooler.h"

namespace plugin_win32 {

namespace {
// The utility page with the spooler and the control-font file it works
// through, which live as long as it.
class BoundUtilityPage : private win32::Win32Spooler, private Win32ControlFontFile, public plugin::UtilityPage {
public:
    explicit BoundUtilityPage(plat::PrinterHandle printer)
        : UtilityPage(static_cast<win32::Win32Spooler&>(*this), printer, static_cast<Win32ControlFontFile&>(*this)) {}
};

// The download page with its spooler and files. Its window side draws the
// preview: the frame is owner-drawn, so it is drawn from the selected row's
// file every time the frame is painted, also after being covered.
class BoundDownloadPage : private win32::Win32Spooler,
                          private Win32LogoFiles,
                          public plugin::DownloadPage,
                          public PageWindowHook {
public:
    explicit BoundDownloadPage(plat::PrinterHandle printer)
        : DownloadPage(static_cast<win32::Win32Spooler&>(*this), printer, static_cast<Win32LogoFiles&>(*this)) {}

    void OnInit(plat::Controls& controls) override {
        HWND list = GetDlgItem(reinterpret_cast<HWND>(controls.Window()), IDC_DL_LOGOS);
        SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
        for (std::size_t i = 0; i < plugin::kLogoColumns.size(); ++i) {
            std::wstring header = win32::Utf8ToWide(plugin::kLogoColumns[i].header);
            LVCOLUMNW column{};
            column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
            column.fmt = LVCFMT_LEFT;
            column.cx = plugin::kLogoColumns[i].width;
            column.pszText = header.data();
            column.iSubItem = static_cast<int>(i);
            SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
        }
        DownloadPage::OnInit(controls);
    }

    bool OnWindowMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) override {
        if (message == WM_DRAWITEM && wParam == IDC_DL_PREVIEW) {
            PageControls controls(page);
            DrawLogoPreview(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), SelectedLogoPath(controls));
            *result = TRUE;
            return true;
        }
        if (message == WM_NOTIFY) {
            // A click, a selection moved by the keyboard or a row deleted:
            // the frame is drawn again for the row now selected.
            const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
            if (header.idFrom == IDC_DL_LOGOS &&
                (header.code == NM_CLICK || header.code == LVN_ITEMCHANGED || header.code == LVN_DELETEITEM)) {
                InvalidateRect(GetDlgItem(page, IDC_DL_PREVIEW), nullptr, FALSE);
            }
        }
        return false;
    }
};

// The printer the driver opened for the sheet; the pages never close it.
plat::PrinterHandle PrinterOf(const DevicePageContext& context) {
    return context.commonUiParam ? reinterpret_cast<plat::PrinterHandle>(context.commonUiParam->hPrinter) : 0;
}
}  // namespace

bool HasDevicePageClass(int templateId) {
    return templateId == IDD_UTILITY_PAGE || templateId == IDD_DOWNLOAD_PAGE;
}

std::unique_ptr<plat::DialogHandler> MakeDevicePage(int templateId, DevicePageContext& context) {
    const plat::PrinterHandle printer = PrinterOf(context);
    if (!printer) return nullptr;
    switch (templateId) {
        case IDD_UTILITY_PAGE:
            return std::make_unique<BoundUtilityPage>(printer);
        case IDD_DOWNLOAD_PAGE:
            return std::make_unique<BoundDownloadPage>(printer);
    }
    return nullptr;
}

}  // namespace plugin_win32

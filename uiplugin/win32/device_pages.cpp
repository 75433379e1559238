// The printer pages that have a class of their own, made for the page
// binding: each on the printer the driver opened for its sheet.
#include <memory>

#include "core/utility_page.h"
#include "resource.h"
#include "win32/control_font_file.h"
#include "win32/page_binding.h"
#include "win32/property_sheets.h"
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

// The printer the driver opened for the sheet; the pages never close it.
plat::PrinterHandle PrinterOf(const DevicePageContext& context) {
    return context.commonUiParam ? reinterpret_cast<plat::PrinterHandle>(context.commonUiParam->hPrinter) : 0;
}
}  // namespace

bool HasDevicePageClass(int templateId) {
    return templateId == IDD_UTILITY_PAGE;
}

std::unique_ptr<plat::DialogHandler> MakeDevicePage(int templateId, DevicePageContext& context) {
    const plat::PrinterHandle printer = PrinterOf(context);
    if (!printer) return nullptr;
    switch (templateId) {
        case IDD_UTILITY_PAGE:
            return std::make_unique<BoundUtilityPage>(printer);
    }
    return nullptr;
}

}  // namespace plugin_win32

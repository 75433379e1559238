// The document pages that keep settings, made for the page binding: each
// class on the private device mode of its sheet and what else it needs of
// the driver.
#include <memory>
#include <string>
#include <vector>

#include "core/barcode_pages.h"
#include "core/main_page.h"
#include "core/operation_page.h"
#include "core/paper_size_items.h"
#include "core/private_devmode.h"
#include "core/watermark_page.h"
#include "resource.h"
#include "win32/encoding.h"
#include "win32/page_binding.h"
#include "win32/property_sheets.h"
#include "win32/win32_watermark.h"

namespace plugin_win32 {

namespace {
// The driver's paper-size items: every OPTITEM of the driver whose DMPubID is
// DMPUB_FORMNAME, changed through its IPrintOemDriverUI.
class DriverPaperSizes : public plugin::PaperSizeItems {
public:
    explicit DriverPaperSizes(const DocumentPageContext& context) : context_(context) {
        const POEMCUIPPARAM common = context.commonUiParam;
        if (!common || !common->pDrvOptItems) return;
        for (DWORD i = 0; i < common->cDrvOptItems; ++i) {
            OPTITEM& item = common->pDrvOptItems[i];
            if (item.DMPubID == DMPUB_FORMNAME && item.pOptType && item.pOptType->pOptParam) items_.push_back(&item);
        }
    }
    int ItemCount() override { return static_cast<int>(items_.size()); }
    std::vector<std::string> Choices(int item) override {
        std::vector<std::string> names;
        if (!Valid(item)) return names;
        const OPTTYPE& type = *items_[item]->pOptType;
        for (WORD i = 0; i < type.Count; ++i) {
            names.push_back(type.pOptParam[i].pData ? win32::WideToUtf8(type.pOptParam[i].pData) : std::string());
        }
        return names;
    }
    int Selection(int item) override { return Valid(item) ? static_cast<int>(items_[item]->Sel) : -1; }
    void Select(int item, int choice) override {
        if (!Valid(item) || choice < 0 || choice >= items_[item]->pOptType->Count) return;
        items_[item]->Sel = choice;
        items_[item]->Flags |= OPTIF_CHANGED;
        if (context_.driver && context_.commonUiParam) {
            (void)context_.driver->DrvUpdateUISetting(context_.commonUiParam->poemuiobj, items_[item], 0,
                                                      kOemCuipDocProp);
        }
    }

private:
    bool Valid(int item) const { return item >= 0 && item < static_cast<int>(items_.size()); }
    const DocumentPageContext& context_;
    std::vector<OPTITEM*> items_;
};

// The main page with the driver's items it works on, which live as long as it.
class BoundMainPage : private DriverPaperSizes, public plugin::MainPage {
public:
    BoundMainPage(plugin::PrivateDevmode& devmode, const DocumentPageContext& context)
        : DriverPaperSizes(context), MainPage(devmode, static_cast<DriverPaperSizes&>(*this)) {}
};

// What every watermark page of the plug-in's process shares.
plugin::WatermarkProcessState& WatermarkShared() {
    static plugin::WatermarkProcessState shared;
    return shared;
}

std::string PrinterNameOf(const DocumentPageContext& context) {
    const PWSTR name = context.sheetParam ? context.sheetParam->pPrinterName : nullptr;
    return name ? win32::WideToUtf8(name) : std::string();
}

// The watermark page with its files and drawing. Its preview frame is
// owner-drawn: every time the frame paints, the page paints the preview.
class BoundWatermarkPage : private Win32WatermarkFiles,
                           private Win32WatermarkGraphics,
                           public plugin::WatermarkPage,
                           public PageWindowHook {
public:
    BoundWatermarkPage(plugin::PrivateDevmode& devmode, const DocumentPageContext& context)
        : Win32WatermarkGraphics(IDC_WM_PREVIEW),
          WatermarkPage(devmode, static_cast<Win32WatermarkFiles&>(*this), static_cast<Win32WatermarkGraphics&>(*this),
                        WatermarkShared(), PrinterNameOf(context)) {}

    void OnInit(plat::Controls& controls) override {
        AttachPage(reinterpret_cast<HWND>(controls.Window()));
        WatermarkPage::OnInit(controls);
    }

    bool OnWindowMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) override {
        if (message != WM_DRAWITEM || wParam != IDC_WM_PREVIEW) return false;
        PageControls controls(page);
        SetPaintDc(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hDC);
        PaintPreview(controls);
        SetPaintDc(nullptr);
        *result = TRUE;
        return true;
    }
};

plugin::PrivateDevmode* DevmodeOf(const DocumentPageContext& context) {
    return context.sheetParam ? static_cast<plugin::PrivateDevmode*>(context.sheetParam->pOEMDM) : nullptr;
}
}  // namespace

bool HasDocumentPageClass(int templateId) {
    return templateId == IDD_MAIN_PAGE || templateId == IDD_WATERMARK_PAGE || templateId == IDD_OPERATION_PAGE ||
           templateId == IDD_BARCODE1D_PAGE || templateId == IDD_BARCODE2D_PAGE;
}

std::unique_ptr<plat::DialogHandler> MakeDocumentPage(int templateId, DocumentPageContext& context) {
    plugin::PrivateDevmode* devmode = DevmodeOf(context);
    if (!devmode) return nullptr;
    switch (templateId) {
        case IDD_MAIN_PAGE:
            return std::make_unique<BoundMainPage>(*devmode, context);
        case IDD_WATERMARK_PAGE:
            return std::make_unique<BoundWatermarkPage>(*devmode, context);
        case IDD_OPERATION_PAGE:
            return std::make_unique<plugin::OperationPage>(*devmode);
        case IDD_BARCODE1D_PAGE:
            return std::make_unique<plugin::Barcode1DPage>(*devmode);
        case IDD_BARCODE2D_PAGE:
            return std::make_unique<plugin::Barcode2DPage>(*devmode);
    }
    return nullptr;
}

}  // namespace plugin_win32

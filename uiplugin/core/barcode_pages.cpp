#include "core/barcode_pages.h"

#include <span>
#include <string>

#include "control_exchange.h"
#include "core/barcode_math.h"
#include "resource.h"
#include "text.h"

namespace plugin {
namespace {

void FillList(plat::Controls& controls, int id, std::span<const std::string_view> texts) {
    controls.ClearItems(id);
    for (std::string_view text : texts) controls.AddItem(id, text);
}

// The list's chosen index, or -1 when nothing valid is chosen.
int ChosenIndex(plat::Controls& controls, int id, std::size_t count) {
    const int index = controls.Selection(id);
    return index >= 0 && static_cast<std::size_t>(index) < count ? index : -1;
}

// The 1D page's edits take their numbers compared as unsigned, so that a
// negative entry is past any maximum; the 2D page's take only the low byte.
int TakeUnsigned(std::string_view text, int low, int high) {
    return static_cast<int>(ClampUnsigned(plat::AsciiToInt(text), low, high));
}
int TakeLowByte(std::string_view text, int low, int high) {
    return ClampLowByte(plat::AsciiToInt(text), static_cast<std::uint8_t>(low), static_cast<std::uint8_t>(high));
}

constexpr int kHriFontRadios[] = {IDC_BC1_FONT_A, IDC_BC1_FONT_B};
static_assert(kHriFontA == 0 && kHriFontB == 1, "the radios stand for the fonts in this order");

// The shown font's record on each page. Every edit's up-down follows what
// the edit stores.
constexpr plat::ExchangeRow kBarcode1DRows[] = {
    plat::List(IDC_BC1_TYPE, PLAT_FIELD(Barcode1DSettings, bType), kBarcode1DTypeTexts),
    plat::Number(IDC_BC1_WIDTH, PLAT_FIELD(Barcode1DSettings, bModuleWidth),
                 {.spin = IDC_BC1_WIDTH_SPIN,
                  .rangeLabel = IDC_BC1_WIDTH_RANGE,
                  .rangeText = "[ 2. . 6 ]",
                  .digits = 1,
                  .low = 2,
                  .high = 6,
                  .take = TakeUnsigned})
        .Flags(plat::kSpinFollows),
    plat::Number(IDC_BC1_HEIGHT, PLAT_FIELD(Barcode1DSettings, dwBarHeight),
                 {.spin = IDC_BC1_HEIGHT_SPIN,
                  .rangeLabel = IDC_BC1_HEIGHT_RANGE,
                  .rangeText = "[ 1 . . 255 ]",
                  .digits = 3,
                  .low = 1,
                  .high = 255,
                  .take = TakeUnsigned})
        .Flags(plat::kSpinFollows),
    plat::List(IDC_BC1_HRI_POSITION, PLAT_FIELD(Barcode1DSettings, bHriPosition), kHriPositionTexts),
    plat::Radios(kHriFontRadios, PLAT_FIELD(Barcode1DSettings, bHriFont), plat::kNoEntry),
};

constexpr plat::ExchangeRow kBarcode2DRows[] = {
    plat::List(IDC_BC2_TYPE, PLAT_FIELD(Barcode2DSettings, bType), kBarcode2DTypeTexts),
    plat::List(IDC_BC2_ERROR_LEVEL, PLAT_FIELD(Barcode2DSettings, bErrorLevel), kErrorLevelTexts),
    plat::Number(IDC_BC2_CELL_WIDTH, PLAT_FIELD(Barcode2DSettings, bCellWidth),
                 {.spin = IDC_BC2_CELL_WIDTH_SPIN,
                  .rangeLabel = IDC_BC2_CELL_WIDTH_RANGE,
                  .rangeText = "[ 1. . 7 ]",
                  .digits = 1,
                  .low = 1,
                  .high = 7,
                  .take = TakeLowByte})
        .Flags(plat::kSpinFollows),
    plat::Number(IDC_BC2_CELL_HEIGHT, PLAT_FIELD(Barcode2DSettings, bCellHeight),
                 {.spin = IDC_BC2_CELL_HEIGHT_SPIN,
                  .rangeLabel = IDC_BC2_CELL_HEIGHT_RANGE,
                  .rangeText = "[ 2 . . 25 ]",
                  .digits = 2,
                  .low = 2,
                  .high = 25,
                  .take = TakeLowByte})
        .Flags(plat::kSpinFollows),
    plat::Number(IDC_BC2_COLUMNS, PLAT_FIELD(Barcode2DSettings, bColumns),
                 {.spin = IDC_BC2_COLUMNS_SPIN,
                  .rangeLabel = IDC_BC2_COLUMNS_RANGE,
                  .rangeText = "[ 1. . 30 ]",
                  .digits = 2,
                  .low = 1,
                  .high = 30,
                  .take = TakeLowByte})
        .Flags(plat::kSpinFollows),
    plat::Number(IDC_BC2_ROWS, PLAT_FIELD(Barcode2DSettings, bRows),
                 {.spin = IDC_BC2_ROWS_SPIN,
                  .rangeLabel = IDC_BC2_ROWS_RANGE,
                  .rangeText = "[ 3 . . 90 ]",
                  .digits = 2,
                  .low = 3,
                  .high = 90,
                  .take = TakeLowByte})
        .Flags(plat::kSpinFollows),
};

// Whether a notification of control `id` is the user changing its row: an
// edit's text or any command of its up-down, a list's choice, a click.
bool IsChange(const plat::ExchangeRow& row, int id, int notifyCode) {
    switch (row.kind) {
        case plat::Shows::kNumber:
            return id == row.spin || notifyCode == plat::kEnChange;
        case plat::Shows::kList:
            return notifyCode == plat::kCbnSelChange;
        default:
            return notifyCode == plat::kBnClicked;
    }
}

// The row of control `id`, when the notification changed it, taken into
// `record`.
bool StoreChange(plat::Controls& controls, std::span<const plat::ExchangeRow> rows, void* record, int id,
                 int notifyCode) {
    const plat::ExchangeRow* row = plat::FindRow(rows, id);
    return row != nullptr && IsChange(*row, id, notifyCode) && plat::StoreControl(controls, rows, record, id);
}

}  // namespace

// ---- "Código 1D" ----

void Barcode1DPage::OnInit(plat::Controls& controls) {
    FillList(controls, IDC_BC1_FONT, kBarcode1DFontNames);
    plat::SetUpControls(controls, kBarcode1DRows);
    for (int id : {IDC_BC1_HEIGHT_MM, IDC_BC1_HEIGHT_POINTS}) {
        controls.SetReadOnly(id, true);
        controls.Enable(id, false);
    }
    font_ = 0;
    ShowFont(controls);
}

void Barcode1DPage::ShowFont(plat::Controls& controls) {
    loading_ = true;
    controls.Select(IDC_BC1_FONT, font_);
    plat::LoadControls(controls, kBarcode1DRows, &Shown());
    EnableFontRadios(controls);
    ShowHeights(controls);
    loading_ = false;
}

void Barcode1DPage::ShowHeights(plat::Controls& controls) {
    controls.SetText(IDC_BC1_HEIGHT_MM, MillimetreText(Shown().dwTotalHeight));
    controls.SetText(IDC_BC1_HEIGHT_POINTS, PointText(Shown().dwTotalHeight));
}

void Barcode1DPage::EnableFontRadios(plat::Controls& controls) {
    const bool printed = Shown().bHriPosition != kHriNone;
    controls.Enable(IDC_BC1_FONT_A, printed);
    controls.Enable(IDC_BC1_FONT_B, printed);
}

void Barcode1DPage::Recompute() {
    Barcode1DSettings& shown = Shown();
    shown.dwTotalHeight = TotalHeight(shown.dwBarHeight, shown.bHriPosition, shown.bHriFont);
}

void Barcode1DPage::OnCommand(plat::Controls& controls, int id, int notifyCode) {
    if (loading_) return;
    if (id == IDC_BC1_FONT) {
        const int font = ChosenIndex(controls, id, kBarcode1DFontNames.size());
        if (notifyCode != plat::kCbnSelChange || font < 0) return;
        font_ = font;
        ShowFont(controls);
        return;  // only another font shown: nothing changed
    }
    // Setting the up-down writes its edit again; that echo is not an edit.
    loading_ = true;
    const bool edited = StoreChange(controls, kBarcode1DRows, &Shown(), id, notifyCode);
    if (edited && (id == IDC_BC1_WIDTH || id == IDC_BC1_WIDTH_SPIN)) {
        // The record keeps the width in eighths of a module as well.
        Shown().dwModuleWidthX8 = Shown().bModuleWidth * 8u;
    } else if (edited && id != IDC_BC1_TYPE) {
        if (id == IDC_BC1_HRI_POSITION) EnableFontRadios(controls);
        Recompute();
    }
    loading_ = false;
    if (edited) controls.NotifySheetChanged(true);
}

bool Barcode1DPage::OnApply(plat::Controls& controls) {
    ShowHeights(controls);
    controls.NotifySheetChanged(false);
    return true;
}

// ---- "Código 2D" ----

void Barcode2DPage::OnInit(plat::Controls& controls) {
    FillList(controls, IDC_BC2_FONT, kBarcode2DFontNames);
    plat::SetUpControls(controls, kBarcode2DRows);
    controls.SetReadOnly(IDC_BC2_POINTS, true);
    controls.Enable(IDC_BC2_POINTS, false);
    controls.SetText(IDC_BC2_POINTS, kBarcode2DPointText);
    font_ = 0;
    ShowFont(controls);
}

void Barcode2DPage::ShowFont(plat::Controls& controls) {
    loading_ = true;
    controls.Select(IDC_BC2_FONT, font_);
    plat::LoadControls(controls, kBarcode2DRows, &Shown());
    // PDF417, the only kind, takes every parameter.
    for (const plat::ExchangeRow& row : kBarcode2DRows) {
        if (row.kind != plat::Shows::kNumber) continue;
        controls.Enable(row.id, true);
        controls.Enable(row.spin, true);
    }
    loading_ = false;
}

void Barcode2DPage::OnCommand(plat::Controls& controls, int id, int notifyCode) {
    if (loading_) return;
    if (id == IDC_BC2_FONT) {
        const int font = ChosenIndex(controls, id, kBarcode2DFontNames.size());
        if (notifyCode != plat::kCbnSelChange || font < 0) return;
        font_ = font;
        ShowFont(controls);
        return;
    }
    loading_ = true;
    const bool edited = StoreChange(controls, kBarcode2DRows, &Shown(), id, notifyCode);
    loading_ = false;
    if (edited) controls.NotifySheetChanged(true);
}

bool Barcode2DPage::OnApply(plat::Controls& controls) {
    controls.NotifySheetChanged(false);
    return true;
}

}  // namespace plugin

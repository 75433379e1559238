#include "core/barcode_pages.h"

#include <span>
#include <string>

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

// The numbers of the 1D page.
constexpr std::uint32_t kMinModuleWidth = 2;
constexpr std::uint32_t kMaxModuleWidth = 6;
constexpr std::uint32_t kMinBarHeight = 1;
constexpr std::uint32_t kMaxBarHeight = 255;

// One number of the 2D page: its edit, up-down, range text and field.
struct Field2D {
    int edit;
    int spin;
    int range;
    int digits;
    std::uint8_t low;
    std::uint8_t high;
    std::string_view rangeText;
    std::uint8_t Barcode2DSettings::*field;
};
constexpr std::array<Field2D, 4> kFields2D = {{
    {IDC_BC2_CELL_WIDTH, IDC_BC2_CELL_WIDTH_SPIN, IDC_BC2_CELL_WIDTH_RANGE, 1, 1, 7, "[ 1. . 7 ]",
     &Barcode2DSettings::bCellWidth},
    {IDC_BC2_CELL_HEIGHT, IDC_BC2_CELL_HEIGHT_SPIN, IDC_BC2_CELL_HEIGHT_RANGE, 2, 2, 25, "[ 2 . . 25 ]",
     &Barcode2DSettings::bCellHeight},
    {IDC_BC2_COLUMNS, IDC_BC2_COLUMNS_SPIN, IDC_BC2_COLUMNS_RANGE, 2, 1, 30, "[ 1. . 30 ]",
     &Barcode2DSettings::bColumns},
    {IDC_BC2_ROWS, IDC_BC2_ROWS_SPIN, IDC_BC2_ROWS_RANGE, 2, 3, 90, "[ 3 . . 90 ]", &Barcode2DSettings::bRows},
}};

// The field an edit or its up-down belongs to, or null.
const Field2D* Field2DOf(int id) {
    for (const Field2D& field : kFields2D) {
        if (field.edit == id || field.spin == id) return &field;
    }
    return nullptr;
}

// Edits and up-downs of the 1D page: the edit's change notification, or any
// command of its up-down.
bool IsEdit(int id, int notifyCode, int edit, int spin) {
    return (id == edit && notifyCode == plat::kEnChange) || id == spin;
}

}  // namespace

// ---- "Código 1D" ----

void Barcode1DPage::OnInit(plat::Controls& controls) {
    FillList(controls, IDC_BC1_FONT, kBarcode1DFontNames);
    FillList(controls, IDC_BC1_TYPE, kBarcode1DTypeTexts);
    FillList(controls, IDC_BC1_HRI_POSITION, kHriPositionTexts);
    controls.LimitText(IDC_BC1_WIDTH, 1);
    controls.LimitText(IDC_BC1_HEIGHT, 3);
    controls.SetRange(IDC_BC1_WIDTH_SPIN, kMinModuleWidth, kMaxModuleWidth);
    controls.SetRange(IDC_BC1_HEIGHT_SPIN, kMinBarHeight, kMaxBarHeight);
    controls.SetText(IDC_BC1_WIDTH_RANGE, "[ 2. . 6 ]");
    controls.SetText(IDC_BC1_HEIGHT_RANGE, "[ 1 . . 255 ]");
    for (int id : {IDC_BC1_HEIGHT_MM, IDC_BC1_HEIGHT_POINTS}) {
        controls.SetReadOnly(id, true);
        controls.Enable(id, false);
    }
    font_ = 0;
    ShowFont(controls);
}

void Barcode1DPage::ShowFont(plat::Controls& controls) {
    const Barcode1DSettings& shown = Shown();
    loading_ = true;
    controls.Select(IDC_BC1_FONT, font_);
    controls.Select(IDC_BC1_TYPE, shown.bType);
    controls.SetText(IDC_BC1_WIDTH, std::to_string(shown.bModuleWidth));
    controls.SetPosition(IDC_BC1_WIDTH_SPIN, shown.bModuleWidth);
    controls.SetText(IDC_BC1_HEIGHT, std::to_string(shown.dwBarHeight));
    controls.SetPosition(IDC_BC1_HEIGHT_SPIN, static_cast<int>(shown.dwBarHeight));
    controls.Select(IDC_BC1_HRI_POSITION, shown.bHriPosition);
    controls.SetCheck(IDC_BC1_FONT_A, shown.bHriFont == kHriFontA);
    controls.SetCheck(IDC_BC1_FONT_B, shown.bHriFont == kHriFontB);
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

void Barcode1DPage::ReadWidth(plat::Controls& controls) {
    const std::uint32_t width =
        ClampUnsigned(plat::AsciiToInt(controls.GetText(IDC_BC1_WIDTH)), kMinModuleWidth, kMaxModuleWidth);
    Shown().bModuleWidth = static_cast<std::uint8_t>(width);
    Shown().dwModuleWidthX8 = width * 8;
    controls.SetPosition(IDC_BC1_WIDTH_SPIN, static_cast<int>(width));
}

void Barcode1DPage::ReadHeight(plat::Controls& controls) {
    const std::uint32_t height =
        ClampUnsigned(plat::AsciiToInt(controls.GetText(IDC_BC1_HEIGHT)), kMinBarHeight, kMaxBarHeight);
    Shown().dwBarHeight = height;
    controls.SetPosition(IDC_BC1_HEIGHT_SPIN, static_cast<int>(height));
    Recompute();
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
    bool edited = true;
    if (IsEdit(id, notifyCode, IDC_BC1_WIDTH, IDC_BC1_WIDTH_SPIN)) {
        ReadWidth(controls);
    } else if (IsEdit(id, notifyCode, IDC_BC1_HEIGHT, IDC_BC1_HEIGHT_SPIN)) {
        ReadHeight(controls);
    } else if (id == IDC_BC1_TYPE && notifyCode == plat::kCbnSelChange &&
               ChosenIndex(controls, id, kBarcode1DTypeTexts.size()) >= 0) {
        Shown().bType = static_cast<std::uint8_t>(controls.Selection(id));
    } else if (id == IDC_BC1_HRI_POSITION && notifyCode == plat::kCbnSelChange &&
               ChosenIndex(controls, id, kHriPositionTexts.size()) >= 0) {
        Shown().bHriPosition = static_cast<std::uint8_t>(controls.Selection(id));
        EnableFontRadios(controls);
        Recompute();
    } else if ((id == IDC_BC1_FONT_A || id == IDC_BC1_FONT_B) && notifyCode == plat::kBnClicked) {
        Shown().bHriFont = static_cast<std::uint8_t>(id == IDC_BC1_FONT_A ? kHriFontA : kHriFontB);
        Recompute();
    } else {
        edited = false;
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
    FillList(controls, IDC_BC2_TYPE, kBarcode2DTypeTexts);
    FillList(controls, IDC_BC2_ERROR_LEVEL, kErrorLevelTexts);
    controls.SetReadOnly(IDC_BC2_POINTS, true);
    controls.Enable(IDC_BC2_POINTS, false);
    controls.SetText(IDC_BC2_POINTS, kBarcode2DPointText);
    for (const Field2D& field : kFields2D) {
        controls.LimitText(field.edit, field.digits);
        controls.SetRange(field.spin, field.low, field.high);
        controls.SetText(field.range, field.rangeText);
    }
    font_ = 0;
    ShowFont(controls);
}

void Barcode2DPage::ShowFont(plat::Controls& controls) {
    const Barcode2DSettings& shown = Shown();
    loading_ = true;
    controls.Select(IDC_BC2_FONT, font_);
    controls.Select(IDC_BC2_TYPE, shown.bType);
    controls.Select(IDC_BC2_ERROR_LEVEL, shown.bErrorLevel);
    for (const Field2D& field : kFields2D) {
        controls.SetText(field.edit, std::to_string(shown.*field.field));
        controls.SetPosition(field.spin, shown.*field.field);
        // PDF417, the only kind, takes every parameter.
        controls.Enable(field.edit, true);
        controls.Enable(field.spin, true);
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
    bool edited = true;
    const Field2D* field = Field2DOf(id);
    if (field && (id == field->spin || notifyCode == plat::kEnChange)) {
        const std::uint8_t value =
            ClampLowByte(plat::AsciiToInt(controls.GetText(field->edit)), field->low, field->high);
        Shown().*field->field = value;
        controls.SetPosition(field->spin, value);
    } else if (id == IDC_BC2_TYPE && notifyCode == plat::kCbnSelChange &&
               ChosenIndex(controls, id, kBarcode2DTypeTexts.size()) >= 0) {
        Shown().bType = static_cast<std::uint8_t>(controls.Selection(id));
    } else if (id == IDC_BC2_ERROR_LEVEL && notifyCode == plat::kCbnSelChange &&
               ChosenIndex(controls, id, kErrorLevelTexts.size()) >= 0) {
        Shown().bErrorLevel = static_cast<std::uint8_t>(controls.Selection(id));
    } else {
        edited = false;
    }
    loading_ = false;
    if (edited) controls.NotifySheetChanged(true);
}

bool Barcode2DPage::OnApply(plat::Controls& controls) {
    controls.NotifySheetChanged(false);
    return true;
}

}  // namespace plugin

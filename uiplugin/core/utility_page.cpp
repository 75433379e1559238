#include "core/utility_page.h"

#include <algorithm>
#include <string>

#include "core/control_font_table.h"
#include "core/raw_job.h"
#include "ports/desktop.h"
#include "resource.h"

namespace plugin {
namespace {

constexpr std::string_view kMessageCaption = "Tamanho do papel";
constexpr std::string_view kSetFailed = "Favor checar se o usuário tem privilégios de Administrador!";
constexpr std::string_view kSetDone = "Set Tamanho do papel ok!";

// One edit of the form's size: its up-down, its range text and its limits.
struct SizeField {
    int edit;
    int spin;
    int range;
    int digits;
    std::uint32_t low;
    std::uint32_t high;
};
constexpr SizeField kWidth{IDC_UTIL_WIDTH,   IDC_UTIL_WIDTH_SPIN, IDC_UTIL_WIDTH_RANGE,
                           kFormWidthDigits, kMinFormWidth,       kMaxFormWidth};
constexpr SizeField kHeight{IDC_UTIL_HEIGHT,   IDC_UTIL_HEIGHT_SPIN, IDC_UTIL_HEIGHT_RANGE,
                            kFormHeightDigits, kMinFormHeight,       kMaxFormHeight};

std::string RangeText(const SizeField& field) {
    return "[ " + std::to_string(field.low) + " - " + std::to_string(field.high) + " (0.1mm) ]";
}

// The edit's number as the dialog manager reads an unsigned one: blanks
// around it, digits only; anything else, and a number past 32 bits, is 0.
std::uint32_t ReadUnsigned(plat::Controls& controls, int id) {
    const std::string text = controls.GetText(id);
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return 0;
    const std::size_t last = text.find_last_not_of(' ');
    std::uint64_t value = 0;
    for (std::size_t i = first; i <= last; ++i) {
        if (text[i] < '0' || text[i] > '9') return 0;
        value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
        if (value > UINT32_MAX) return 0;
    }
    return static_cast<std::uint32_t>(value);
}

// The edit's value within the field's limits; a value that had to move is
// written back, so the edit shows what the form gets.
std::uint32_t ClampedValue(plat::Controls& controls, const SizeField& field) {
    const std::uint32_t value = ReadUnsigned(controls, field.edit);
    const std::uint32_t clamped = std::clamp(value, field.low, field.high);
    if (clamped != value) controls.SetText(field.edit, std::to_string(clamped));
    return clamped;
}

bool IsUserForm(const plat::FormInfo1& form) {
    return form.name == kUserFormName;  // exactly, case included
}
}  // namespace

plat::FormInfo1 UserForm(std::uint32_t width, std::uint32_t height) {
    plat::FormInfo1 form;
    form.flags = plat::kFormUser;
    form.name = std::string(kUserFormName);
    form.width = static_cast<std::int32_t>(width * kFormUnitsPerTenthMm);
    form.height = static_cast<std::int32_t>(height * kFormUnitsPerTenthMm);
    form.right = form.width;
    form.bottom = form.height;
    return form;
}

void UtilityPage::OnInit(plat::Controls& controls) {
    // Without the form the page keeps its template as it is: no limits, no
    // values to show.
    if (!EnsureUserForm()) return;
    ShowLimits(controls);
    ShowStoredSize(controls);
    controls.SetReadOnly(IDC_UTIL_FORM_NAME, true);
    controls.SetText(IDC_UTIL_FORM_NAME, kUserFormName);
}

bool UtilityPage::EnsureUserForm() {
    std::vector<plat::FormInfo1> forms;
    if (spooler_.EnumForms(printer_, &forms) != plat::kErrorSuccess) return false;
    if (std::any_of(forms.begin(), forms.end(), IsUserForm)) return true;
    return spooler_.AddForm(printer_, UserForm(kInitialFormWidth, kInitialFormHeight)) == plat::kErrorSuccess;
}

void UtilityPage::ShowLimits(plat::Controls& controls) {
    for (const SizeField& field : {kWidth, kHeight}) {
        controls.LimitText(field.edit, field.digits);
        controls.SetRange(field.spin, static_cast<int>(field.low), static_cast<int>(field.high));
        controls.SetText(field.range, RangeText(field));
    }
}

void UtilityPage::ShowStoredSize(plat::Controls& controls) {
    std::vector<plat::FormInfo1> forms;
    if (spooler_.EnumForms(printer_, &forms) != plat::kErrorSuccess) return;
    auto form = std::find_if(forms.begin(), forms.end(), IsUserForm);
    if (form == forms.end()) return;
    const std::int32_t unit = static_cast<std::int32_t>(kFormUnitsPerTenthMm);
    const std::int32_t width = form->width / unit;
    const std::int32_t height = form->height / unit;
    controls.SetText(kWidth.edit, std::to_string(width));
    controls.SetPosition(kWidth.spin, width);
    controls.SetText(kHeight.edit, std::to_string(height));
    controls.SetPosition(kHeight.spin, height);
}

void UtilityPage::OnCommand(plat::Controls& controls, int id, int notifyCode) {
    if (notifyCode != plat::kBnClicked) return;
    switch (id) {
        case IDC_UTIL_SET_FORM:
            SetUserForm(controls);
            break;
        case IDC_UTIL_SELF_TEST:
            // The printer prints its own page; nothing more to say when it does.
            SendRawJobOrReport(controls, spooler_, printer_, kSelfTestJobName, kSelfTestBytes, "o autoteste");
            break;
        case IDC_UTIL_CONTROL_FONT:
            RunControlFontTable(controls);
            break;
    }
}

void UtilityPage::SetUserForm(plat::Controls& controls) {
    const std::uint32_t width = ClampedValue(controls, kWidth);
    const std::uint32_t height = ClampedValue(controls, kHeight);
    if (spooler_.SetForm(printer_, kUserFormName, UserForm(width, height)) != plat::kErrorSuccess) {
        controls.ShowMessage(kSetFailed, kMessageCaption, plat::kMbIconError);
    } else {
        controls.ShowMessage(kSetDone, kMessageCaption, plat::kMbOk);
    }
}

void UtilityPage::RunControlFontTable(plat::Controls& controls) {
    ControlFontTable table(controlFont_);
    controls.RunDialog(IDD_CONTROL_FONT_DIALOG, table);
}

}  // namespace plugin

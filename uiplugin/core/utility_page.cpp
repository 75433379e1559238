#include "core/utility_page.h"

#include <algorithm>
#include <string>
#include <utility>

#include "control_exchange.h"
#include "core/control_font_table.h"
#include "core/raw_job.h"
#include "ports/desktop.h"
#include "resource.h"

namespace plugin {
namespace {

constexpr std::string_view kMessageCaption = "Tamanho do papel";
constexpr std::string_view kSetFailed = "Favor checar se o usuário tem privilégios de Administrador!";
constexpr std::string_view kSetDone = "Set Tamanho do papel ok!";

// The edit's number as the dialog manager reads an unsigned one: blanks
// around it, digits only; anything else, and a number past 32 bits, is 0.
std::uint32_t ReadUnsigned(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return 0;
    const std::size_t last = text.find_last_not_of(' ');
    std::uint64_t value = 0;
    for (std::size_t i = first; i <= last; ++i) {
        if (text[i] < '0' || text[i] > '9') return 0;
        value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
        if (value > UINT32_MAX) return 0;
    }
    return static_cast<std::uint32_t>(value);
}

int TakeSize(std::string_view text, int low, int high) {
    return static_cast<int>(std::clamp<std::uint32_t>(ReadUnsigned(text), low, high));
}

// The user form's size in 0.1 mm, as the page's edits show it.
struct FormSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

constexpr plat::ExchangeRow kFormSizeRows[] = {
    plat::Number(IDC_UTIL_WIDTH, PLAT_FIELD(FormSize, width),
                 {.spin = IDC_UTIL_WIDTH_SPIN,
                  .rangeLabel = IDC_UTIL_WIDTH_RANGE,
                  .digits = kFormWidthDigits,
                  .low = kMinFormWidth,
                  .high = kMaxFormWidth,
                  .take = TakeSize}),
    plat::Number(IDC_UTIL_HEIGHT, PLAT_FIELD(FormSize, height),
                 {.spin = IDC_UTIL_HEIGHT_SPIN,
                  .rangeLabel = IDC_UTIL_HEIGHT_RANGE,
                  .digits = kFormHeightDigits,
                  .low = kMinFormHeight,
                  .high = kMaxFormHeight,
                  .take = TakeSize}),
};

std::string RangeText(const plat::ExchangeRow& row) {
    return "[ " + std::to_string(row.low) + " - " + std::to_string(row.high) + " (0.1mm) ]";
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
    plat::SetUpControls(controls, kFormSizeRows);
    for (const plat::ExchangeRow& row : kFormSizeRows) controls.SetText(row.label, RangeText(row));
}

void UtilityPage::ShowStoredSize(plat::Controls& controls) {
    std::vector<plat::FormInfo1> forms;
    if (spooler_.EnumForms(printer_, &forms) != plat::kErrorSuccess) return;
    auto form = std::find_if(forms.begin(), forms.end(), IsUserForm);
    if (form == forms.end()) return;
    const std::int32_t unit = static_cast<std::int32_t>(kFormUnitsPerTenthMm);
    const FormSize size{form->width / unit, form->height / unit};
    plat::LoadControls(controls, kFormSizeRows, &size);
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
    FormSize size;
    plat::StoreControls(controls, kFormSizeRows, &size);
    // An edit whose number had to move shows what the form gets.
    for (const auto& [edit, taken] : {std::pair{IDC_UTIL_WIDTH, size.width}, std::pair{IDC_UTIL_HEIGHT, size.height}}) {
        if (ReadUnsigned(controls.GetText(edit)) != static_cast<std::uint32_t>(taken)) {
            controls.SetText(edit, std::to_string(taken));
        }
    }
    const auto width = static_cast<std::uint32_t>(size.width);
    const auto height = static_cast<std::uint32_t>(size.height);
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

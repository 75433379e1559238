#include "core/operation_page.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <string>

#include "control_exchange.h"
#include "core/command_text.h"
#include "ports/desktop.h"
#include "resource.h"
#include "text.h"

namespace plugin {
namespace {

// The page's buttons and the moment each one opens.
struct OperationButton {
    int id;
    int operation;
};
constexpr OperationButton kOperationButtons[] = {
    {IDC_OP_DOCUMENT_START, kOperationDocumentStart},
    {IDC_OP_PAGE_START, kOperationPageStart},
    {IDC_OP_PAGE_END, kOperationPageEnd},
    {IDC_OP_DOCUMENT_END, kOperationDocumentEnd},
};

constexpr int kLogoRadios[] = {IDC_OP_ALIGN_LEFT, IDC_OP_ALIGN_CENTER, IDC_OP_ALIGN_RIGHT, IDC_OP_BEFORE_CUT,
                               IDC_OP_AFTER_CUT};

// The UTF-16 units of UTF-8 text, one unit per character of the basic plane,
// a surrogate pair beyond it; a byte that starts no valid sequence is one
// U+FFFD. The command parser counts units, as the edit box holds them.
std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string units;
    units.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int length = 0;
        char32_t point = 0;
        if (lead < 0x80) {
            length = 1;
            point = lead;
        } else if (lead >= 0xC2 && lead < 0xE0) {
            length = 2;
            point = lead & 0x1F;
        } else if (lead >= 0xE0 && lead < 0xF0) {
            length = 3;
            point = lead & 0x0F;
        } else if (lead >= 0xF0 && lead < 0xF5) {
            length = 4;
            point = lead & 0x07;
        }
        bool valid = length > 0 && i + length <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            point = (point << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and points past the last plane.
        if (valid && ((length == 3 && point < 0x800) || (length == 4 && point < 0x10000) || point > 0x10FFFF ||
                      (point >= 0xD800 && point <= 0xDFFF))) {
            valid = false;
        }
        if (!valid) {
            units.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        if (point >= 0x10000) {
            point -= 0x10000;
            units.push_back(static_cast<char16_t>(0xD800 + (point >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + (point & 0x3FF)));
        } else {
            units.push_back(static_cast<char16_t>(point));
        }
        i += length;
    }
    return units;
}

// The command's text; the formatter writes digits and blanks only.
std::string CommandText(const OperationSettings& settings) {
    const std::size_t count = std::min<std::size_t>(settings.cbCommand, sizeof settings.abCommand);
    const std::u16string text = FormatCommandBytes(std::span(settings.abCommand, count));
    return std::string(text.begin(), text.end());
}

// The dialog's copy back into the device mode: the command's home zero-filled
// and the valid bytes copied, every other field taken over.
void StoreOperation(const OperationSettings& from, OperationSettings& to) {
    const std::size_t count = std::min<std::size_t>(from.cbCommand, sizeof to.abCommand);
    std::memset(to.abCommand, 0, sizeof to.abCommand);
    std::memcpy(to.abCommand, from.abCommand, count);
    to.cbCommand = static_cast<std::uint8_t>(count);
    to.bSendCommand = from.bSendCommand;
    to.bFeedToCutPosition = from.bFeedToCutPosition;
    to.bDrawerPulse = from.bDrawerPulse;
    to.bCutMode = from.bCutMode;
    to.bFeedMm = from.bFeedMm;
    to.bHeraldState = from.bHeraldState;
    to.dwDrawerPortMode = from.dwDrawerPortMode;
    to.bBuzzer = from.bBuzzer;
    to.bLogo = from.bLogo;
    to.bLogoAlign = from.bLogoAlign;
    to.bLogoPosition = from.bLogoPosition;
}

// The command as the box shows it, and the box's text parsed back into the
// record's bytes: a command longer than its home is refused.
std::string ReadCommand(const void* record) {
    return CommandText(*static_cast<const OperationSettings*>(record));
}
bool WriteCommand(void* record, std::string_view text) {
    auto& settings = *static_cast<OperationSettings*>(record);
    return StoreCommand(ParseCommandText(Utf8ToUtf16(text)), settings.abCommand, &settings.cbCommand);
}
constexpr plat::TextField kCommand{ReadCommand, WriteCommand};

constexpr int kDrawerPortRadios[] = {IDC_OP_OPEN_DRAWER, IDC_OP_HERALD};
constexpr int kAlignRadios[] = {IDC_OP_ALIGN_LEFT, IDC_OP_ALIGN_CENTER, IDC_OP_ALIGN_RIGHT};
constexpr int kLogoPositionRadios[] = {IDC_OP_BEFORE_CUT, IDC_OP_AFTER_CUT};

// The dialog's controls and the fields of the moment's record they show. A
// list whose index lies past its entries shows nothing and keeps the field
// rather than storing -1 as 255; the feed shows and takes at most its limit.
constexpr plat::ExchangeRow kOperationRows[] = {
    plat::Text(IDC_OP_COMMAND, kCommand, kCommandTextLimit),
    plat::Check(IDC_OP_SEND_COMMAND, PLAT_FIELD(OperationSettings, bSendCommand)),
    plat::Check(IDC_OP_FEED_TO_CUT, PLAT_FIELD(OperationSettings, bFeedToCutPosition)),
    plat::List(IDC_OP_DRAWER_PULSE, PLAT_FIELD(OperationSettings, bDrawerPulse), kDrawerPulseTexts),
    plat::List(IDC_OP_HERALD_STATE, PLAT_FIELD(OperationSettings, bHeraldState), kHeraldStateTexts),
    plat::List(IDC_OP_CUT_MODE, PLAT_FIELD(OperationSettings, bCutMode), kCutModeTexts),
    plat::List(IDC_OP_BUZZER, PLAT_FIELD(OperationSettings, bBuzzer), kBuzzerTexts),
    plat::List(IDC_OP_LOGO, PLAT_FIELD(OperationSettings, bLogo), kLogoTexts),
    plat::Number(IDC_OP_FEED, PLAT_FIELD(OperationSettings, bFeedMm),
                 {.spin = IDC_OP_FEED_SPIN, .digits = kFeedTextLimit, .high = kMaxFeedMm}),
    // Any mode but 0 is the herald, an alignment past "Direita" is
    // "Direita", any position but 0 is after the cut: what OK stores for them.
    plat::Radios(kDrawerPortRadios, PLAT_FIELD(OperationSettings, dwDrawerPortMode), plat::kLastEntry),
    plat::Radios(kAlignRadios, PLAT_FIELD(OperationSettings, bLogoAlign), plat::kLastEntry),
    plat::Radios(kLogoPositionRadios, PLAT_FIELD(OperationSettings, bLogoPosition), plat::kLastEntry),
};

}  // namespace

OperationSettings& OperationRecord(PrivateDevmode& devmode, int operation) {
    switch (operation) {
        case kOperationPageStart:
            return devmode.opPageStart;
        case kOperationPageEnd:
            return devmode.opPageEnd;
        case kOperationDocumentEnd:
            return devmode.opDocumentEnd;
        default:
            return devmode.opDocumentStart;
    }
}

void OperationDialog::OnInit(plat::Controls& controls) {
    // The command box has room for every character it can take, so that what
    // is read back on OK is what the user sees.
    plat::SetUpControls(controls, kOperationRows);
    controls.SetCaption(kOperationCaptions[std::clamp(operation_, 0, kOperationCount - 1)]);
    ShowValues(controls, settings_);
}

void OperationDialog::ShowValues(plat::Controls& controls, const OperationSettings& shown) {
    plat::LoadControls(controls, kOperationRows, &shown);
    controls.Enable(IDC_OP_COMMAND, controls.IsChecked(IDC_OP_SEND_COMMAND));
    EnableDrawerLists(controls);
    EnableLogoRadios(controls);
}

void OperationDialog::EnableDrawerLists(plat::Controls& controls) {
    const bool drawer = controls.IsChecked(IDC_OP_OPEN_DRAWER);
    controls.Enable(IDC_OP_DRAWER_PULSE, drawer);
    controls.Enable(IDC_OP_HERALD_STATE, !drawer);
}

// Alignment and position mean something only when a logo is printed.
void OperationDialog::EnableLogoRadios(plat::Controls& controls) {
    const bool logo = controls.Selection(IDC_OP_LOGO) != 0;
    for (int id : kLogoRadios) controls.Enable(id, logo);
}

void OperationDialog::OnFeedChanged(plat::Controls& controls) {
    // What the box holds above kMaxFeedMm counts as kMaxFeedMm, and anything
    // that is not a number (an empty box) as 0, as the feed's row reads it.
    const std::string text = controls.GetText(IDC_OP_FEED);
    const int feed = plat::TakeInt(text, 0, kMaxFeedMm);
    controls.SetPosition(IDC_OP_FEED_SPIN, feed);
    // The box shows what will be stored. Rewriting it only when it differs
    // keeps the change notification this causes from coming round again.
    if (plat::AsciiToInt(text) > kMaxFeedMm) controls.SetText(IDC_OP_FEED, std::to_string(feed));
}

void OperationDialog::OnCommand(plat::Controls& controls, int id, int notifyCode) {
    switch (id) {
        case IDC_OP_SEND_COMMAND:
            if (notifyCode == plat::kBnClicked) {
                controls.Enable(IDC_OP_COMMAND, controls.IsChecked(IDC_OP_SEND_COMMAND));
            }
            break;
        case IDC_OP_FEED:
            if (notifyCode == plat::kEnChange) OnFeedChanged(controls);
            break;
        case IDC_OP_OPEN_DRAWER:
        case IDC_OP_HERALD:
            if (notifyCode == plat::kBnClicked) {
                controls.SetCheck(IDC_OP_OPEN_DRAWER, id == IDC_OP_OPEN_DRAWER);
                controls.SetCheck(IDC_OP_HERALD, id == IDC_OP_HERALD);
                EnableDrawerLists(controls);
            }
            break;
        case IDC_OP_LOGO:
            EnableLogoRadios(controls);
            break;
        case IDC_OP_DEFAULT:
            if (notifyCode == plat::kBnClicked) {
                // The moment's defaults of a new device mode; nothing is
                // stored until OK.
                PrivateDevmode defaults = DefaultPrivateDevmode();
                ShowValues(controls, OperationRecord(defaults, operation_));
            }
            break;
        case plat::kIdOk:
            if (notifyCode == plat::kBnClicked) OnOk(controls);
            break;
        case plat::kIdCancel:
            if (notifyCode == plat::kBnClicked) controls.Close(plat::kIdCancel);
            break;
        default:
            break;
    }
}

void OperationDialog::OnOk(plat::Controls& controls) {
    // The command is parsed and kept even while "Enviar Comando" is off: the
    // flag alone decides whether it is sent. A command too long for its
    // record keeps the dialog open and the settings as they were.
    OperationSettings taken = settings_;
    if (!plat::StoreControls(controls, kOperationRows, &taken)) {
        controls.ShowMessage(kCommandLengthText, kCommandLengthCaption, plat::kMbOk);
        return;
    }
    settings_ = taken;
    controls.Close(plat::kIdOk);
}

void OperationPage::OnCommand(plat::Controls& controls, int id, int notifyCode) {
    if (notifyCode != plat::kBnClicked) return;
    for (const OperationButton& button : kOperationButtons) {
        if (button.id != id) continue;
        OperationSettings& record = OperationRecord(devmode_, button.operation);
        scratch_ = record;
        scratchOperation_ = button.operation;
        OperationDialog dialog(scratch_, scratchOperation_);
        if (controls.RunDialog(IDD_OPERATION_DIALOG, dialog) == plat::kIdOk) {
            StoreOperation(scratch_, record);
            controls.NotifySheetChanged(true);
        }
        return;
    }
}

bool OperationPage::OnApply(plat::Controls& controls) {
    controls.NotifySheetChanged(false);
    return true;
}

}  // namespace plugin

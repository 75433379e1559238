#include "core/main_page.h"

#include <algorithm>
#include <span>
#include <string>

#include "control_exchange.h"
#include "core/record_text.h"
#include "ports/desktop.h"
#include "resource.h"
#include "text.h"

namespace plugin {

namespace {

std::span<char16_t> FormNameField(PrivateDevmode& devmode) {
    return devmode.szFormName;
}

constexpr int kRotationRadios[] = {IDC_ROTATE_NORMAL, IDC_ROTATE_180};
constexpr int kTextAsGraphicsRadios[] = {IDC_TEXT_AS_GRAPHICS_NO, IDC_TEXT_AS_GRAPHICS_YES};

// Any value but 0 shows as the second radio or a checked box. Zoom and text
// as graphics are taken as the user changes them, never on apply: the page
// shows zoom switched off while the record keeps it, and rotation, zoom and a
// watermark force text as graphics whatever the radios say.
constexpr plat::ExchangeRow kMainRows[] = {
    plat::Radios(kRotationRadios, PLAT_FIELD(PrivateDevmode, bRotate180), plat::kLastEntry),
    plat::Number(IDC_ZOOM_PERCENT, PLAT_FIELD(PrivateDevmode, bZoomPercent),
                 {.digits = MainPage::kZoomDigits, .high = MainPage::kZoomMaximum})
        .Flags(plat::kShowsStored)
        .StoredWhen(plat::OnChangeOnly),
    plat::Check(IDC_ZOOM_PRINTING, PLAT_FIELD(PrivateDevmode, bZoomPrinting), plat::kLastEntry)
        .StoredWhen(plat::OnChangeOnly),
    plat::Radios(kTextAsGraphicsRadios, PLAT_FIELD(PrivateDevmode, bTextAsGraphics), plat::kLastEntry)
        .StoredWhen(plat::OnChangeOnly),
};
}  // namespace

void MainPage::OnInit(plat::Controls& controls) {
    FillList(controls);
    const std::string formName = ReadRecordText(FormNameField(devmode_));
    if (!formName.empty()) {
        SelectStoredForm(controls);
    } else {
        SelectCurrentChoices(controls);
    }

    loading_ = true;
    plat::SetUpControls(controls, kMainRows);
    plat::LoadControls(controls, kMainRows, &devmode_);
    loading_ = false;
    controls.Enable(IDC_ZOOM_PERCENT, devmode_.bZoomPrinting != 0);
    EnableTextRadios(controls, devmode_.bZoomPrinting == 0 && devmode_.bRotate180 == 0 && devmode_.bWatermarkType == 0);

    // Rotation and zoom are not offered on this page: their controls stay
    // off, while the record keeps whatever it holds.
    controls.SetCheck(IDC_ZOOM_PRINTING, false);
    controls.Enable(IDC_ZOOM_PRINTING, false);
    controls.Enable(IDC_ZOOM_PERCENT, false);
    controls.Enable(IDC_ROTATE_180, false);
}

void MainPage::OnCommand(plat::Controls& controls, int id, int notifyCode) {
    if (id == IDC_PAPER_SIZE) {
        if (notifyCode != plat::kCbnSelChange || controls.Selection(IDC_PAPER_SIZE) < 0) return;
        PushSelection(controls);
        controls.NotifySheetChanged(true);
        return;
    }
    if (id == IDC_ZOOM_PERCENT) {
        // The edit takes digits only, but pasted text is not checked by it.
        if (notifyCode != plat::kEnChange || loading_) return;
        plat::StoreControl(controls, kMainRows, &devmode_, id);
        controls.NotifySheetChanged(true);
        return;
    }
    if (notifyCode != plat::kBnClicked) return;
    switch (id) {
        case IDC_TEXT_AS_GRAPHICS_YES:
        case IDC_TEXT_AS_GRAPHICS_NO:
            plat::StoreControl(controls, kMainRows, &devmode_, id);
            break;
        case IDC_ROTATE_NORMAL:
            plat::StoreControl(controls, kMainRows, &devmode_, id);
            if (devmode_.bZoomPrinting == 0 && devmode_.bWatermarkType == 0) EnableTextRadios(controls, true);
            break;
        case IDC_ROTATE_180:
            TellTextBecomesGraphics(controls);
            plat::StoreControl(controls, kMainRows, &devmode_, id);
            ForceTextAsGraphics(controls);
            break;
        case IDC_ZOOM_PRINTING:
            OnZoomPrinting(controls);
            break;
        default:
            return;
    }
    controls.NotifySheetChanged(true);
}

bool MainPage::OnSetActive(plat::Controls& controls) {
    if (devmode_.bZoomPrinting != 0 || devmode_.bRotate180 != 0 || devmode_.bWatermarkType != 0) {
        // The record follows what the page shows: with rotation, zoom or a
        // watermark the text is printed as graphics, whatever an older
        // record said.
        devmode_.bTextAsGraphics = 1;
        ForceTextAsGraphics(controls);
    } else {
        EnableTextRadios(controls, true);
    }
    // The user may have changed the paper size on the driver's own pages.
    SelectCurrentChoices(controls);
    return true;
}

bool MainPage::OnKillActive(plat::Controls&) {
    return true;
}

bool MainPage::OnApply(plat::Controls& controls) {
    plat::StoreControls(controls, kMainRows, &devmode_);
    // A stored name that matches no form leaves the list without a selection
    // until the page is shown; the driver's current form is what will print.
    if (controls.Selection(IDC_PAPER_SIZE) < 0) SelectCurrentChoices(controls);
    if (controls.Selection(IDC_PAPER_SIZE) >= 0) PushSelection(controls);
    controls.NotifySheetChanged(false);
    return true;
}

void MainPage::FillList(plat::Controls& controls) {
    controls.ClearItems(IDC_PAPER_SIZE);
    itemStarts_.clear();
    itemCounts_.clear();
    const int items = std::max(paperSizes_.ItemCount(), 0);
    for (int item = 0; item < items; ++item) {
        const std::vector<std::string> choices = paperSizes_.Choices(item);
        itemStarts_.push_back(controls.ItemCount(IDC_PAPER_SIZE));
        itemCounts_.push_back(static_cast<int>(choices.size()));
        for (const std::string& choice : choices) controls.AddItem(IDC_PAPER_SIZE, choice);
    }
}

void MainPage::SelectStoredForm(plat::Controls& controls) {
    const std::string formName = ReadRecordText(FormNameField(devmode_));
    // "A4" must not pick an "A4 Extra" listed before it.
    for (int index = 0; index < controls.ItemCount(IDC_PAPER_SIZE); ++index) {
        if (plat::EqualsNoCase(controls.ItemText(IDC_PAPER_SIZE, index), formName)) {
            return controls.Select(IDC_PAPER_SIZE, index);
        }
    }
    controls.Select(IDC_PAPER_SIZE, controls.FindPrefix(IDC_PAPER_SIZE, -1, formName));
}

void MainPage::SelectCurrentChoices(plat::Controls& controls) {
    for (std::size_t item = 0; item < itemStarts_.size(); ++item) {
        const int choice = paperSizes_.Selection(static_cast<int>(item));
        // The driver's Sel is outside data: one past its choices selects nothing.
        if (choice >= 0 && choice < itemCounts_[item]) controls.Select(IDC_PAPER_SIZE, itemStarts_[item] + choice);
    }
}

void MainPage::PushSelection(plat::Controls& controls) {
    const int index = controls.Selection(IDC_PAPER_SIZE);
    const std::string formName = controls.ItemText(IDC_PAPER_SIZE, index);
    for (std::size_t item = 0; item < itemStarts_.size(); ++item) {
        const int at = static_cast<int>(item);
        // The entry's own item takes its position; any other item takes its
        // choice of the same name. An item without that form is left alone:
        // a list position past its choices would make the driver read beyond
        // its own list.
        int choice = index - itemStarts_[item];
        if (choice < 0 || choice >= itemCounts_[item]) {
            const std::vector<std::string> choices = paperSizes_.Choices(at);
            const auto found = std::find(choices.begin(), choices.end(), formName);
            if (found == choices.end()) continue;
            choice = static_cast<int>(found - choices.begin());
        }
        paperSizes_.Select(at, choice);
    }
    // szFormName holds 31 units and its terminator: a longer name is stored
    // cut to 31 units, which still finds its form by prefix the next time.
    StoreRecordText(FormNameField(devmode_), formName);
}

void MainPage::ForceTextAsGraphics(plat::Controls& controls) {
    controls.SetCheck(IDC_TEXT_AS_GRAPHICS_YES, true);
    controls.SetCheck(IDC_TEXT_AS_GRAPHICS_NO, false);
    EnableTextRadios(controls, false);
}

void MainPage::TellTextBecomesGraphics(plat::Controls& controls) {
    if (devmode_.bTextAsGraphics != 0) return;
    controls.ShowMessage(kTextAsGraphicsMessage, kTextAsGraphicsCaption, plat::kMbOk | plat::kMbIconInformation);
    devmode_.bTextAsGraphics = 1;
}

void MainPage::EnableTextRadios(plat::Controls& controls, bool enabled) {
    controls.Enable(IDC_TEXT_AS_GRAPHICS_YES, enabled);
    controls.Enable(IDC_TEXT_AS_GRAPHICS_NO, enabled);
}

void MainPage::OnZoomPrinting(plat::Controls& controls) {
    plat::StoreControl(controls, kMainRows, &devmode_, IDC_ZOOM_PRINTING);
    if (controls.IsChecked(IDC_ZOOM_PRINTING)) {
        controls.Enable(IDC_ZOOM_PERCENT, true);
        TellTextBecomesGraphics(controls);
        ForceTextAsGraphics(controls);
    } else {
        if (devmode_.bRotate180 == 0 && devmode_.bWatermarkType == 0) EnableTextRadios(controls, true);
        controls.Enable(IDC_ZOOM_PERCENT, false);
    }
}

}  // namespace plugin

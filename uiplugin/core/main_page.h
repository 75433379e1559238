#pragma once
// The "Principal" document page (template 128): the document's paper size,
// taken from and pushed back into the driver's own paper-size items, and
// whether all text is printed as graphics. The template's rotation and zoom
// groups stay hidden and disabled, but the record's rotation, zoom and
// watermark settings still force text as graphics.
//
// Settings are written into the record as soon as they are edited; apply
// writes the rotation and the paper size once more and tells the driver.
#include <string_view>
#include <vector>

#include "core/paper_size_items.h"
#include "core/private_devmode.h"
#include "ports/controls.h"

namespace plugin {

// Told when printing all text as graphics is switched on for the user.
inline constexpr std::string_view kTextAsGraphicsMessage = "Todo texto será impresso como gráfico!";
inline constexpr std::string_view kTextAsGraphicsCaption = "informação";

class MainPage : public plat::DialogHandler {
public:
    MainPage(PrivateDevmode& devmode, PaperSizeItems& paperSizes) : devmode_(devmode), paperSizes_(paperSizes) {}

    void OnInit(plat::Controls& controls) override;
    void OnCommand(plat::Controls& controls, int id, int notifyCode) override;
    bool OnSetActive(plat::Controls& controls) override;
    bool OnKillActive(plat::Controls& controls) override;
    bool OnApply(plat::Controls& controls) override;

    static constexpr int kZoomDigits = 3;
    static constexpr int kZoomMaximum = 100;

private:
    // Every item's choices, one after the other, in the driver's order.
    void FillList(plat::Controls& controls);
    // The list entry of the stored form name: an entry equal to it without
    // regard to case, else the first one that begins with it (a cut name
    // still finds its form); no selection when none does.
    void SelectStoredForm(plat::Controls& controls);
    // For every item in turn, the entry of its current choice (the last item wins).
    void SelectCurrentChoices(plat::Controls& controls);
    // The list's selection into every item that holds that form, and its
    // name into szFormName.
    void PushSelection(plat::Controls& controls);
    // Rotation, zoom and a watermark print text as graphics: "Sim" checked,
    // both radios disabled.
    void ForceTextAsGraphics(plat::Controls& controls);
    // The message and the record's value, when text was not yet printed as graphics.
    void TellTextBecomesGraphics(plat::Controls& controls);
    void EnableTextRadios(plat::Controls& controls, bool enabled);
    void OnZoomPrinting(plat::Controls& controls);

    PrivateDevmode& devmode_;
    PaperSizeItems& paperSizes_;
    // Where each item's choices start in the list, as last filled.
    std::vector<int> itemStarts_;
    std::vector<int> itemCounts_;
    // The zoom edit is being filled by the page itself, not typed into.
    bool loading_ = false;
};

}  // namespace plugin

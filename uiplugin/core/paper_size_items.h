#pragma once
// The driver's own paper-size setting, as the main page sees it: every item of
// the driver's option tree that edits the form name (DMPUB_FORMNAME), each
// with its list of form names and its current choice. The Windows side holds
// the driver's OPTITEMs and its IPrintOemDriverUI; the page needs neither.
#include <string>
#include <vector>

namespace plugin {

class PaperSizeItems {
public:
    virtual ~PaperSizeItems() = default;
    // How many paper-size items the driver shows (usually one).
    virtual int ItemCount() = 0;
    // The form names of item `item`, in the driver's order.
    virtual std::vector<std::string> Choices(int item) = 0;
    // The item's current choice (its Sel); the driver may hold any value.
    virtual int Selection(int item) = 0;
    // Makes `choice` (an index into Choices(item)) the item's current one and
    // tells the driver: Sel set, OPTIF_CHANGED added to its flags, then
    // DrvUpdateUISetting(poemuiobj, item, 0, OEMCUIP_DOCPROP), whose answer
    // is not looked at. The driver then updates its own control and the
    // public device mode.
    virtual void Select(int item, int choice) = 0;
};

}  // namespace plugin

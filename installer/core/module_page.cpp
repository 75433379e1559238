#include "core/module_page.h"

#include <array>

#include "resource.h"

namespace setup {

namespace {
// Indexed by PrinterModule.
constexpr std::array<int, kModuleCount> kRadios{IDC_MODULE_RECEIPT, IDC_MODULE_TICKET, IDC_MODULE_LABEL,
                                                IDC_MODULE_EMBEDDED};
constexpr std::array<int, kModuleCount> kLists{IDC_MODELS_RECEIPT, IDC_MODELS_TICKET, IDC_MODELS_LABEL,
                                               IDC_MODELS_EMBEDDED};

int IndexOf(const std::array<int, kModuleCount>& ids, int id) {
    for (int module = 0; module < kModuleCount; ++module) {
        if (ids[module] == id) return module;
    }
    return -1;
}
}  // namespace

int ModulePage::RadioOf(int module) {
    return module >= 0 && module < kModuleCount ? kRadios[module] : 0;
}

int ModulePage::ListOf(int module) {
    return module >= 0 && module < kModuleCount ? kLists[module] : 0;
}

void ModulePage::OnInit(plat::Controls& controls) {
    const int count = reader_.ReadDeviceCount();
    for (int n = 1; n <= count; ++n) {
        std::string name;
        const int module = reader_.ReadDeviceEntry(n, &name);
        if (module >= 0 && module < kModuleCount) controls.AddItem(kLists[module], name);
    }

    hasModels_ = false;
    for (int module = 0; module < kModuleCount; ++module) {
        const bool listed = controls.ItemCount(kLists[module]) > 0;
        controls.Select(kLists[module], 0);
        controls.Enable(kLists[module], false);
        controls.Enable(kRadios[module], listed);
        hasModels_ = hasModels_ || listed;
    }
    controls.SetCheck(IDC_MAKE_DEFAULT, makeDefault_);

    module_ = -1;
    modelName_.clear();
    std::string name;
    const int module = reader_.ReadDefaultDevice(&name);
    // A default whose module offers no model at all (it lies beyond the listed
    // entries) would leave a checked but disabled radio button with nothing to
    // choose: the page then starts without a preselection.
    if (module < 0 || module >= kModuleCount || controls.ItemCount(kLists[module]) == 0) return;

    const int list = kLists[module];
    controls.SetCheck(kRadios[module], true);
    // Entry 0 is searched last, so a default "X" picks "XII" when the list
    // holds both "X" and "XII", in that order.
    const int found = controls.FindPrefix(list, 0, name);
    // A default that is not listed keeps entry 0, so the model name always
    // matches what the list shows.
    if (found >= 0) controls.Select(list, found);
    TakeSelection(controls, module);
    controls.Enable(list, true);
    module_ = module;
}

void ModulePage::OnCommand(plat::Controls& controls, int id, int notifyCode) {
    if (notifyCode == plat::kBnClicked) {
        const int module = IndexOf(kRadios, id);
        if (module < 0) return;
        for (int other = 0; other < kModuleCount; ++other) {
            controls.Enable(kLists[other], false);
            controls.SetCheck(kRadios[other], other == module);
        }
        TakeSelection(controls, module);
        controls.Enable(kLists[module], true);
        module_ = module;
    } else if (notifyCode == plat::kCbnSelChange) {
        // Only the chosen module's list is enabled; a change reported by any
        // other list must not put a model of another module into the name.
        const int module = IndexOf(kLists, id);
        if (module >= 0 && module == module_) TakeSelection(controls, module);
    }
}

bool ModulePage::SaveValues(plat::Controls& controls) {
    makeDefault_ = controls.IsChecked(IDC_MAKE_DEFAULT);
    return true;
}

void ModulePage::TakeSelection(plat::Controls& controls, int module) {
    const int list = kLists[module];
    const int selected = controls.Selection(list);
    modelName_ = selected >= 0 ? controls.ItemText(list, selected) : std::string();
}

}  // namespace setup

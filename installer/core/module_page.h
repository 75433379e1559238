#pragma once
// The first page: the printer module (receipt, ticket, label, embedded), one of
// its models from the package's device list, and whether the new printer
// becomes the default printer.
#include <string>

#include "core/driver_key_reader.h"
#include "core/wizard_page.h"

namespace setup {

class ModulePage : public WizardPage {
public:
    explicit ModulePage(DriverKeyReader& reader) : reader_(reader) {}

    // Fills the four model lists from the device list (once) and preselects
    // the default model.
    void OnInit(plat::Controls& controls) override;
    // Module radio buttons and model list selection changes.
    void OnCommand(plat::Controls& controls, int id, int notifyCode) override;
    // Takes the default-printer check box.
    bool SaveValues(plat::Controls& controls) override;

    // The chosen PrinterModule; -1 when the default entry had no module and
    // the user chose none.
    int module() const { return module_; }
    // The chosen model; empty when none.
    const std::string& modelName() const { return modelName_; }
    bool makeDefault() const { return makeDefault_; }
    // Whether any model was listed.
    bool hasModels() const { return hasModels_; }

    // The radio button and the model list of each PrinterModule.
    static int RadioOf(int module);
    static int ListOf(int module);

private:
    // The model name becomes the selected entry of the module's list, or
    // empty when it has none.
    void TakeSelection(plat::Controls& controls, int module);

    DriverKeyReader& reader_;
    int module_ = kModuleReceipt;
    std::string modelName_;
    bool makeDefault_ = false;
    bool hasModels_ = false;
};

}  // namespace setup

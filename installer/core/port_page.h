#pragma once
// The last page: the port, its serial settings and the raster-graphics choice.
// The port list itself is built by the port discovery, which is not part of
// this version: the fill operations only record what they were asked.
#include <string>
#include <string_view>
#include <vector>

#include "core/install_request.h"
#include "core/wizard_page.h"

namespace setup {

class PortPage : public WizardPage {
public:
    void OnInit(plat::Controls& controls) override;
    void OnCommand(plat::Controls& controls, int id, int notifyCode) override;
    bool SaveValues(plat::Controls& controls) override;

    // The model's preset: held as read, shown as the equal list entry or
    // "38400" when none is equal.
    void ApplyBaudPreset(plat::Controls& controls, int baudRate);
    void SetInstallType(int installType) { installType_ = installType; }

    struct FillCall {
        bool advanced;
        std::string modelName;
        int osCode;
        int module;
    };
    void FillPortListTypical(std::string_view modelName, int osCode, int module);
    void FillPortListAdvanced(std::string_view modelName, int osCode, int module);
    const std::vector<FillCall>& fillCalls() const { return fillCalls_; }

    const std::string& portName() const { return portName_; }
    const SerialSettings& serial() const { return serial_; }
    int rasterGraphic() const { return rasterGraphic_; }
    int installType() const { return installType_; }

private:
    void TakeSelection(plat::Controls& controls, int id);

    std::string portName_;
    SerialSettings serial_;
    int rasterGraphic_ = 0;
    int installType_ = kInstallTypical;
    std::vector<FillCall> fillCalls_;
};

}  // namespace setup

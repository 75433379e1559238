#pragma once
// The last page: the port the printer is installed on, the serial settings of
// a COM port and the raster-graphics choice. The list offers the fixed
// parallel and virtual serial ports and USB port names made from the model
// name; the attached USB printer decides which USB name is preselected, and
// four notes ask for the USB driver while it is missing.
#include <string>
#include <string_view>

#include "core/install_request.h"
#include "core/wizard_page.h"
#include "ports/desktop.h"
#include "ports/files.h"
#include "ports/profile.h"
#include "ports/system_info.h"
#include "ports/usb_library.h"

namespace setup {

class OsPage;

// What the page holds besides the port's name.
struct PortValues {
    SerialSettings serial;
    int rasterGraphic = 0;
};

struct PortPageServices {
    plat::Profile& profile;
    plat::UsbLibrary& usb;
    plat::Desktop& desktop;
    plat::FilesInstall& files;
    plat::SystemInfo& system;
};

class PortPage : public WizardPage {
public:
    // `osPage` tells the system the page runs on; `configFolder` is the
    // package folder the module files are read from.
    PortPage(PortPageServices services, const OsPage& osPage, std::string configFolder)
        : services_(services), osPage_(osPage), configFolder_(std::move(configFolder)) {}

    void OnInit(plat::Controls& controls) override;
    void OnCommand(plat::Controls& controls, int id, int notifyCode) override;
    bool SaveValues(plat::Controls& controls) override;

    // The model's preset: held as read, shown as the equal list entry or
    // "38400" when none is equal.
    void ApplyBaudPreset(plat::Controls& controls, int baudRate);
    void SetInstallType(int installType) { installType_ = installType; }

    // Builds the port list for the model, unless neither the model nor the
    // install type changed since the last fill (the user's choice then stays).
    void FillPortListTypical(plat::Controls& controls, std::string_view modelName, OsCode osCode, int module);
    void FillPortListAdvanced(plat::Controls& controls, std::string_view modelName, OsCode osCode, int module);

    const std::string& portName() const { return portName_; }
    const SerialSettings& serial() const { return values_.serial; }
    int rasterGraphic() const { return values_.rasterGraphic; }
    int installType() const { return installType_; }
    // The UsbDeviceId of the printer seen at the last fill; -1 until one was seen.
    int usbPortNumber() const { return usbPortNumber_; }

    // Blue "Arial" 14 px on pink: the USB driver notes.
    static plat::LabelStyle NoteStyle();
    // Fields hold at most 49 characters of a port name.
    static constexpr std::size_t kPortNameLength = 49;

private:
    void FillPortList(plat::Controls& controls, std::string_view modelName, OsCode osCode, int module);
    // Shows the USB driver notes while the bulk driver is missing.
    void ShowDriverNotes(plat::Controls& controls);
    void HideDriverNotes(plat::Controls& controls);
    void EnableSerialLists(plat::Controls& controls, bool enabled);
    void TakePortSelection(plat::Controls& controls);
    void OnPortChanged(plat::Controls& controls);
    // Shows the held values in the controls.
    void ShowValues(plat::Controls& controls);

    PortPageServices services_;
    const OsPage& osPage_;
    std::string configFolder_;
    std::string portName_;
    PortValues values_;
    int installType_ = kInstallTypical;
    std::string rememberedModel_ = "PRINTER";
    int rememberedType_ = kInstallTypical;
    int usbPortNumber_ = -1;
};

}  // namespace setup

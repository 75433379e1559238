#include "core/port_page.h"

#include <array>

#include "control_exchange.h"
#include "core/config_files.h"
#include "core/os_page.h"
#include "core/setup_text.h"
#include "core/usb_identity.h"
#include "resource.h"
#include "text.h"

namespace setup {

namespace {
constexpr plat::Choice kBaudRates[] = {{"110", 110},     {"300", 300},      {"1200", 1200},   {"2400", 2400},
                                       {"4800", 4800},   {"9600", 9600},    {"19200", 19200}, {"38400", 38400},
                                       {"57600", 57600}, {"115200", 115200}};
constexpr int kBaudFallback = 7;  // "38400"
constexpr plat::Choice kDataBits[] = {{"5", 5}, {"6", 6}, {"7", 7}, {"8", 8}};
constexpr plat::Choice kParities[] = {{"Even", 'e'}, {"Mark", 'm'}, {"None", 'n'}, {"Odd", 'o'}, {"Space", 's'}};
constexpr plat::Choice kStopBits[] = {{"1", 1}, {"1.5", 1.5}, {"2", 2}};
constexpr plat::Choice kFlows[] = {{"None", ' '}, {"Xon/Xoff", 'x'}, {"Hardware", 'p'}};

// The serial lists hold what was chosen in them, never what they merely show
// (a baud rate no entry has shows as "38400" but is kept as read); the raster
// choice is taken when the page is left.
constexpr plat::ExchangeRow kPortRows[] = {
    plat::Choices(IDC_BAUD, PLAT_FIELD(PortValues, serial.baudRate), kBaudRates, kBaudFallback)
        .StoredWhen(plat::OnChangeOnly),
    plat::Choices(IDC_DATA_BITS, PLAT_FIELD(PortValues, serial.dataBits), kDataBits).StoredWhen(plat::OnChangeOnly),
    plat::Choices(IDC_PARITY, PLAT_FIELD(PortValues, serial.parity), kParities).StoredWhen(plat::OnChangeOnly),
    plat::Choices(IDC_STOP_BITS, PLAT_FIELD(PortValues, serial.stopBits), kStopBits).StoredWhen(plat::OnChangeOnly),
    plat::Choices(IDC_FLOW, PLAT_FIELD(PortValues, serial.flow), kFlows).StoredWhen(plat::OnChangeOnly),
    plat::Check(IDC_RASTER, PLAT_FIELD(PortValues, rasterGraphic), plat::kLastEntry),
};

constexpr std::array<int, 5> kSerialLists{IDC_BAUD, IDC_DATA_BITS, IDC_PARITY, IDC_STOP_BITS, IDC_FLOW};
constexpr std::array<int, 4> kNotes{IDC_NOTE1, IDC_NOTE2, IDC_NOTE3, IDC_NOTE4};
constexpr std::array<int, 4> kNoteTexts{IDS_USB_NOTE1, IDS_USB_NOTE2, IDS_USB_NOTE3, IDS_USB_NOTE4};

// The parallel and virtual serial ports every list offers.
constexpr std::array<std::string_view, 3> kWin98Ports{"COM1:", "COM2:", "LPT1:"};
constexpr std::array<std::string_view, 11> kNtPorts{
    "MDCOM1:", "MDCOM2:", "MDCOM3:", "MDCOM4:", "MDCOM5:", "MDCOM6:", "MDCOM7:", "MDCOM8:", "LPT1:", "LPT2:", "LPT3:"};

template <std::size_t N>
void Fill(plat::Controls& controls, int id, const std::array<std::string_view, N>& items) {
    for (std::string_view item : items) controls.AddItem(id, item);
}

// The first entry whose text contains every one of `parts`, or -1.
int FindEntry(plat::Controls& controls, std::initializer_list<std::string_view> parts) {
    for (int index = 0; index < controls.ItemCount(IDC_PORTS); ++index) {
        const std::string text = controls.ItemText(IDC_PORTS, index);
        bool all = true;
        for (std::string_view part : parts) all = all && plat::Contains(text, part);
        if (all) return index;
    }
    return -1;
}

bool ShowsUsbNotes(OsCode osCode) {
    return osCode != OsCode::kWin98Me && osCode != OsCode::kNt4;
}
}  // namespace

plat::LabelStyle PortPage::NoteStyle() {
    return {plat::Rgb(0, 0, 255), plat::Rgb(255, 202, 253), "Arial", 14};
}

void PortPage::OnInit(plat::Controls& controls) {
    plat::SetUpControls(controls, kPortRows);
    values_.serial = SerialSettings{};  // 8 data bits, 1 stop bit, no parity, hardware flow
    ShowValues(controls);
    controls.SetTooltip(IDC_RASTER, SetupString(IDS_HELP_HINT));
    for (int note : kNotes) controls.SetLabelStyle(note, NoteStyle());
    rememberedModel_ = "PRINTER";
    rememberedType_ = kInstallTypical;
    installType_ = kInstallTypical;
    usbPortNumber_ = -1;
}

void PortPage::OnCommand(plat::Controls& controls, int id, int notifyCode) {
    if (notifyCode != plat::kCbnSelChange) return;
    if (id == IDC_PORTS) {
        OnPortChanged(controls);
    } else {
        plat::StoreControl(controls, kPortRows, &values_, id);
    }
}

void PortPage::FillPortListTypical(plat::Controls& controls, std::string_view modelName, OsCode osCode, int module) {
    FillPortList(controls, modelName, osCode, module);
}

void PortPage::FillPortListAdvanced(plat::Controls& controls, std::string_view modelName, OsCode osCode, int module) {
    FillPortList(controls, modelName, osCode, module);
}

void PortPage::FillPortList(plat::Controls& controls, std::string_view modelName, OsCode osCode, int module) {
    if (modelName == rememberedModel_ && installType_ == rememberedType_) return;
    rememberedModel_ = modelName;
    rememberedType_ = installType_;
    const bool typical = installType_ == kInstallTypical;

    controls.ClearItems(IDC_PORTS);
    if (osCode == OsCode::kWin98Me) {
        Fill(controls, IDC_PORTS, kWin98Ports);
    } else {
        Fill(controls, IDC_PORTS, kNtPorts);
    }

    std::string setupIni, moduleIni;
    BuildConfigPaths(configFolder_, module, &setupIni, &moduleIni);
    const bool usbSupported = ReadModelPortNumber(services_.profile, moduleIni, modelName, "USBSUPPORTED") != 0;
    const bool lptDefault = ReadModelPortNumber(services_.profile, moduleIni, modelName, "LPTDEFAULT") != 0;
    // Asked on every fill, whatever the model says: the messages about the
    // library and about several printers are shown here.
    const int deviceValue = ReadUsbDeviceId(
        {services_.usb, services_.desktop, controls.Window(), UsbLibraryPaths(configFolder_, services_.system)});

    int selected = -1;
    if (usbSupported) {
        if (osCode != OsCode::kNt4) {
            const std::string model(modelName);
            const int names = typical ? 1 : 4;
            for (int n = 1; n <= names; ++n) controls.AddItem(IDC_PORTS, "USB_" + model + "_" + std::to_string(n));
        }
        if (deviceValue != kNoUsbPrinter) {
            const int n = UsbDeviceIdOf(deviceValue);
            usbPortNumber_ = n;
            if (typical) {
                selected = FindEntry(controls, {"USB"});
            } else {
                selected = n > 4 ? 0 : FindEntry(controls, {"USB", "_" + std::to_string(n)});
            }
            EnableSerialLists(controls, false);
        }
    }
    // No USB printer, or no USB entry for it (NT 4.0 lists none; several
    // printers name no port): the model's default port.
    if (selected < 0) selected = lptDefault ? FindEntry(controls, {"LPT"}) : 0;
    controls.Select(IDC_PORTS, selected);
    TakePortSelection(controls);

    switch (PortKindOf(portName_)) {
        case kPortUsb:
            if (ShowsUsbNotes(osCode)) {
                ShowDriverNotes(controls);
            } else {
                HideDriverNotes(controls);
            }
            controls.Enable(IDC_RASTER, true);
            values_.rasterGraphic = 1;
            break;
        case kPortLpt:
            HideDriverNotes(controls);
            controls.Enable(IDC_RASTER, true);
            values_.rasterGraphic = 1;
            EnableSerialLists(controls, false);
            break;
        default:
            HideDriverNotes(controls);
            controls.Enable(IDC_RASTER, false);
            values_.rasterGraphic = 0;
            if (typical) EnableSerialLists(controls, true);
            break;
    }
    controls.Show(IDC_RASTER, !typical);
    ShowValues(controls);
}

void PortPage::ShowDriverNotes(plat::Controls& controls) {
    if (FileVersion(services_.files, InstalledBulkDriverPath(services_.system)) != kMissingVersion) {
        return HideDriverNotes(controls);
    }
    for (std::size_t i = 0; i < kNotes.size(); ++i) {
        controls.SetText(kNotes[i], SetupString(kNoteTexts[i]));
        controls.Show(kNotes[i], true);
    }
}

void PortPage::HideDriverNotes(plat::Controls& controls) {
    for (int note : kNotes) controls.Show(note, false);
}

void PortPage::EnableSerialLists(plat::Controls& controls, bool enabled) {
    for (int list : kSerialLists) controls.Enable(list, enabled);
}

void PortPage::TakePortSelection(plat::Controls& controls) {
    const int index = controls.Selection(IDC_PORTS);
    if (index >= 0) portName_ = controls.ItemText(IDC_PORTS, index).substr(0, kPortNameLength);
}

void PortPage::OnPortChanged(plat::Controls& controls) {
    TakePortSelection(controls);
    if (plat::Contains(portName_, "COM")) {
        EnableSerialLists(controls, true);
        controls.Enable(IDC_RASTER, false);
        HideDriverNotes(controls);
        values_.rasterGraphic = 0;
    } else {
        EnableSerialLists(controls, false);
        controls.Enable(IDC_RASTER, true);
        values_.rasterGraphic = 1;
        if (plat::Contains(portName_, "USB") && ShowsUsbNotes(osPage_.osCode())) {
            ShowDriverNotes(controls);
        } else {
            HideDriverNotes(controls);
        }
    }
    ShowValues(controls);
}

void PortPage::ShowValues(plat::Controls& controls) {
    plat::LoadControls(controls, kPortRows, &values_);
}

bool PortPage::SaveValues(plat::Controls& controls) {
    TakePortSelection(controls);
    plat::StoreControls(controls, kPortRows, &values_);
    return true;
}

void PortPage::ApplyBaudPreset(plat::Controls& controls, int baudRate) {
    values_.serial.baudRate = baudRate;
    ShowValues(controls);
}

}  // namespace setup

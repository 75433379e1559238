#include "core/port_page.h"

#include <array>
#include <cstdlib>

#include "core/config_files.h"
#include "core/os_page.h"
#include "core/setup_text.h"
#include "core/usb_identity.h"
#include "resource.h"
#include "text.h"

namespace setup {

namespace {
constexpr std::array<std::string_view, 10> kBaudRates{"110",  "300",   "1200",  "2400",  "4800",
                                                      "9600", "19200", "38400", "57600", "115200"};
constexpr int kBaudFallback = 7;  // "38400"
constexpr std::array<std::string_view, 4> kDataBits{"5", "6", "7", "8"};
constexpr std::array<std::string_view, 5> kParities{"Even", "Mark", "None", "Odd", "Space"};
constexpr std::array<char, 5> kParityLetters{'e', 'm', 'n', 'o', 's'};
constexpr std::array<std::string_view, 3> kStopBits{"1", "1.5", "2"};
constexpr std::array<double, 3> kStopValues{1, 1.5, 2};
constexpr std::array<std::string_view, 3> kFlows{"None", "Xon/Xoff", "Hardware"};
constexpr std::array<char, 3> kFlowLetters{' ', 'x', 'p'};

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

template <typename T, std::size_t N>
int IndexOf(const std::array<T, N>& values, T value, int fallback) {
    for (std::size_t i = 0; i < N; ++i) {
        if (values[i] == value) return static_cast<int>(i);
    }
    return fallback;
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
    Fill(controls, IDC_BAUD, kBaudRates);
    Fill(controls, IDC_DATA_BITS, kDataBits);
    Fill(controls, IDC_PARITY, kParities);
    Fill(controls, IDC_STOP_BITS, kStopBits);
    Fill(controls, IDC_FLOW, kFlows);
    serial_ = SerialSettings{};  // 8 data bits, 1 stop bit, no parity, hardware flow
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
        TakeSerialSelection(controls, id);
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
            rasterGraphic_ = 1;
            break;
        case kPortLpt:
            HideDriverNotes(controls);
            controls.Enable(IDC_RASTER, true);
            rasterGraphic_ = 1;
            EnableSerialLists(controls, false);
            break;
        default:
            HideDriverNotes(controls);
            controls.Enable(IDC_RASTER, false);
            rasterGraphic_ = 0;
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
        rasterGraphic_ = 0;
    } else {
        EnableSerialLists(controls, false);
        controls.Enable(IDC_RASTER, true);
        rasterGraphic_ = 1;
        if (plat::Contains(portName_, "USB") && ShowsUsbNotes(osPage_.osCode())) {
            ShowDriverNotes(controls);
        } else {
            HideDriverNotes(controls);
        }
    }
    ShowValues(controls);
}

void PortPage::TakeSerialSelection(plat::Controls& controls, int id) {
    const int index = controls.Selection(id);
    if (index < 0) return;
    const std::string text = controls.ItemText(id, index);
    switch (id) {
        case IDC_BAUD:
            serial_.baudRate = plat::AsciiToInt(text);
            break;
        case IDC_DATA_BITS:
            serial_.dataBits = plat::AsciiToInt(text);
            break;
        case IDC_STOP_BITS:
            serial_.stopBits = std::strtod(text.c_str(), nullptr);
            break;
        case IDC_PARITY:
            if (!text.empty()) serial_.parity = plat::ToLowerAscii(text[0]);
            break;
        case IDC_FLOW:
            if (index < static_cast<int>(kFlowLetters.size())) serial_.flow = kFlowLetters[index];
            break;
    }
}

void PortPage::ShowValues(plat::Controls& controls) {
    int baud = kBaudFallback;
    for (int i = 0; i < static_cast<int>(kBaudRates.size()); ++i) {
        if (i != kBaudFallback && plat::AsciiToInt(kBaudRates[i]) == serial_.baudRate) baud = i;
    }
    controls.Select(IDC_BAUD, baud);
    controls.Select(IDC_DATA_BITS, IndexOf(kDataBits, std::string_view(std::to_string(serial_.dataBits)), -1));
    controls.Select(IDC_PARITY, IndexOf(kParityLetters, serial_.parity, -1));
    controls.Select(IDC_STOP_BITS, IndexOf(kStopValues, serial_.stopBits, -1));
    controls.Select(IDC_FLOW, IndexOf(kFlowLetters, serial_.flow, -1));
    controls.SetCheck(IDC_RASTER, rasterGraphic_ != 0);
}

bool PortPage::SaveValues(plat::Controls& controls) {
    TakePortSelection(controls);
    rasterGraphic_ = controls.IsChecked(IDC_RASTER) ? 1 : 0;
    return true;
}

void PortPage::ApplyBaudPreset(plat::Controls& controls, int baudRate) {
    serial_.baudRate = baudRate;
    ShowValues(controls);
}

}  // namespace setup

#include "core/port_page.h"

#include <array>
#include <cstdlib>

#include "resource.h"
#include "text.h"

namespace setup {

namespace {
constexpr std::array<std::string_view, 10> kBaudRates{"110",  "300",   "1200",  "2400",  "4800",
                                                      "9600", "19200", "38400", "57600", "115200"};
constexpr std::array<std::string_view, 4> kDataBits{"5", "6", "7", "8"};
constexpr std::array<std::string_view, 5> kParities{"Even", "Mark", "None", "Odd", "Space"};
constexpr std::array<char, 5> kParityLetters{'e', 'm', 'n', 'o', 's'};
constexpr std::array<std::string_view, 3> kStopBits{"1", "1.5", "2"};
constexpr std::array<std::string_view, 3> kFlows{"None", "Xon/Xoff", "Hardware"};
constexpr std::array<char, 3> kFlowLetters{' ', 'x', 'p'};

template <std::size_t N>
void Fill(plat::Controls& controls, int id, const std::array<std::string_view, N>& items, int selected) {
    for (std::string_view item : items) controls.AddItem(id, item);
    controls.Select(id, selected);
}
}  // namespace

void PortPage::OnInit(plat::Controls& controls) {
    Fill(controls, IDC_BAUD, kBaudRates, -1);
    Fill(controls, IDC_DATA_BITS, kDataBits, 3);  // 8
    Fill(controls, IDC_PARITY, kParities, 2);     // None
    Fill(controls, IDC_STOP_BITS, kStopBits, 0);  // 1
    Fill(controls, IDC_FLOW, kFlows, 2);          // Hardware
    installType_ = kInstallTypical;
}

void PortPage::OnCommand(plat::Controls& controls, int id, int notifyCode) {
    if (notifyCode == plat::kCbnSelChange) TakeSelection(controls, id);
}

void PortPage::TakeSelection(plat::Controls& controls, int id) {
    const int index = controls.Selection(id);
    if (index < 0) return;
    const std::string text = controls.ItemText(id, index);
    switch (id) {
        case IDC_PORTS:
            portName_ = text.substr(0, 49);
            break;
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
            if (index < static_cast<int>(kParityLetters.size())) serial_.parity = kParityLetters[index];
            break;
        case IDC_FLOW:
            if (index < static_cast<int>(kFlowLetters.size())) serial_.flow = kFlowLetters[index];
            break;
    }
}

bool PortPage::SaveValues(plat::Controls& controls) {
    TakeSelection(controls, IDC_PORTS);
    rasterGraphic_ = controls.IsChecked(IDC_RASTER) ? 1 : 0;
    return true;
}

void PortPage::ApplyBaudPreset(plat::Controls& controls, int baudRate) {
    serial_.baudRate = baudRate;
    int shown = 7;  // "38400"
    for (int i = 0; i < static_cast<int>(kBaudRates.size()); ++i) {
        if (i != 7 && plat::AsciiToInt(kBaudRates[i]) == baudRate) shown = i;
    }
    controls.Select(IDC_BAUD, shown);
}

void PortPage::FillPortListTypical(std::string_view modelName, int osCode, int module) {
    fillCalls_.push_back({false, std::string(modelName), osCode, module});
}

void PortPage::FillPortListAdvanced(std::string_view modelName, int osCode, int module) {
    fillCalls_.push_back({true, std::string(modelName), osCode, module});
}

}  // namespace setup

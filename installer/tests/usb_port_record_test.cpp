#include "core/usb_port_record.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "sim/sim_machine.h"
#include "tests/sample_package.h"

namespace {

using namespace setup;
using plat::RootKey;

constexpr const char* kSetupIni =
    "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\DRVCONFIG\\setup.ini";
// setup.ini's SUPPORTED-USB-DEVICE list of the sample package.
const std::vector<std::string> kListed{"USB_KTR-P410_1",   "USB_KTR-P410_2",   "USB_KTR-P410_3",   "USB_KTR-P410_4",
                                       "USB_KTR-P410II_1", "USB_KTR-P410II_2", "USB_KTR-P410II_3", "USB_KTR-P410II_4",
                                       "USB_KTR-D9_1",     "USB_KTR-D9_2",     "USB_KTR-D9_3",     "USB_KTR-D9_4"};

std::optional<std::uint32_t> Dword(const sim::SimRegistry& registry, std::string_view key, std::string_view name) {
    const auto value = registry.Value(RootKey::LocalMachine, key, name);
    if (!value || value->type != plat::kRegDword || value->data.size() != 4) return std::nullopt;
    return value->data[0] | value->data[1] << 8 | value->data[2] << 16 |
           static_cast<std::uint32_t>(value->data[3]) << 24;
}

TEST(UsbPortRecord, PortNameOfInstalledPrinter) {
    struct Case {
        const char* valueName;
        const char* port;
    } cases[] = {
        {"KTR-P410(U) 3", "USB_KTR-P410_3"},
        {"KTR-D9(U) 2 copy", "USB_KTR-D9_2"},
        {"KTR-D9", "USB_KTR-D9"},
        {"KTR(U", "USB_KTR_"},
        {"KTR(U) ", "USB_KTR_"},
        {"(U) 1", "USB__1"},
        {"", "USB_"},
    };
    for (const auto& c : cases) EXPECT_EQ(PortNameOfInstalledPrinter(c.valueName), c.port) << '"' << c.valueName << '"';
}

TEST(UsbPortRecord, RecordsThePortAndRefreshesTheListedPorts) {
    using Values = std::map<std::string, std::uint32_t>;
    struct Case {
        const char* what;
        const char* port;
        std::vector<const char*> installed;  // INSTALLPRINTER value names
        Values existing;                     // PRINTERPORT values before
        const char* failingKey;              // CreateKey fails on it; nullptr: none
        Values portNames;                    // PORTNAME afterwards
        Values printerPorts;                 // PRINTERPORT afterwards, besides the 255s
        bool printerPortsWritten;
    } cases[] = {
        {"listed port", "USB_KTR-P410_2", {}, {}, nullptr, {{"USB_KTR-P410_2", 1}}, {}, true},
        {"unlisted port", "USB_OTHER_1", {}, {}, nullptr, {}, {}, true},
        {"existing values kept, D values reset",
         "USB_KTR-D9_2",
         {},
         {{"USB_KTR-D9_3", 7}, {"D3", 5}},
         nullptr,
         {{"USB_KTR-D9_2", 9}},
         {{"USB_KTR-D9_3", 7}},
         true},
        {"installed printers",
         "USB_KTR-D9_1",
         {"KTR-P410(U) 3", "KTR(U", "KTR-Q350(S)"},
         {},
         nullptr,
         {{"USB_KTR-D9_1", 8}, {"USB_KTR-P410_3", 2}},
         {},
         true},
        {"PRINTERPORT cannot be created",
         "USB_KTR-P410_4",
         {"KTR-P410II(U) 1"},
         {},
         "PRINTERPORT",
         {{"USB_KTR-P410_4", 3}, {"USB_KTR-P410II_1", 4}},
         {},
         false},
        {"PORTNAME cannot be created", "USB_KTR-P410_4", {"KTR-P410II(U) 1"}, {}, "PORTNAME", {}, {}, true},
    };
    for (const auto& c : cases) {
        sim::SimMachine machine;
        setup_test::LoadSamplePackage(machine.files);
        sim::SimRegistry& registry = machine.registry;
        for (const auto& [name, value] : c.existing)
            registry.PutDword(RootKey::LocalMachine, kPrinterPortKey, name, value);
        for (const char* name : c.installed) registry.PutString(RootKey::LocalMachine, kInstallPrinterKey, name, "x");
        if (c.failingKey) registry.Fail(sim::RegistryOp::CreateKey, 5, c.failingKey);

        RecordUsbPort(machine.profile, registry, kSetupIni, c.port);

        for (const std::string& name : kListed) {
            const auto it = c.portNames.find(name);
            EXPECT_EQ(Dword(registry, kPortNameKey, name),
                      it == c.portNames.end() ? std::nullopt : std::optional<std::uint32_t>(it->second))
                << c.what << ": PORTNAME " << name;
            std::optional<std::uint32_t> port;
            if (c.printerPortsWritten) port = c.printerPorts.count(name) ? c.printerPorts.at(name) : 255;
            EXPECT_EQ(Dword(registry, kPrinterPortKey, name), port) << c.what << ": PRINTERPORT " << name;
        }
        EXPECT_FALSE(registry.Value(RootKey::LocalMachine, kPortNameKey, c.port) && !c.portNames.count(c.port))
            << c.what << ": unlisted port recorded";
        for (int d = 1; d <= 8; ++d) {
            const std::string name = "D" + std::to_string(d);
            std::optional<std::uint32_t> expected;
            if (c.printerPortsWritten) expected = 0;
            EXPECT_EQ(Dword(registry, kPrinterPortKey, name), expected) << c.what << ": " << name;
        }
        EXPECT_EQ(registry.OpenHandleCount(), 0u) << c.what;
    }
}

}  // namespace

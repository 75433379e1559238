// The serial settings of a COM port where each system reads them.
#include "core/serial_port_settings.h"

#include <gtest/gtest.h>

#include "core/os_code.h"
#include "tests/install_fixture.h"

namespace {

using namespace setup;
using plat::RootKey;
using setup_test::InstallFixture;

std::uint32_t DwordAt(const DcbRecord& dcb, std::size_t at) {
    return dcb[at] | dcb[at + 1] << 8 | dcb[at + 2] << 16 | static_cast<std::uint32_t>(dcb[at + 3]) << 24;
}

TEST(SerialDcb, TheSettingsDecideTheRecordsMembers) {
    struct Case {
        SerialSettings serial;
        std::uint32_t flags;  // the bit fields of the third member
        std::uint8_t parity, stopBits, xon, xoff;
    } cases[] = {
        {{9600, 8, 1, 'n', 'p'}, 0x1 | 0x4 | 0x1000, 0, 0, 0, 0},
        {{19200, 7, 1.5, 'o', 'x'}, 0x1 | 0x2 | 0x400 | 0x100 | 0x200, 1, 1, 17, 19},
        {{115200, 8, 2, 'e', ' '}, 0x1 | 0x2 | 0x400, 2, 2, 0, 0},
        {{4800, 7, 1, 'm', 'p'}, 0x1 | 0x2 | 0x400 | 0x4 | 0x1000, 3, 0, 0, 0},
        {{300, 8, 1, 's', 'x'}, 0x1 | 0x2 | 0x400 | 0x100 | 0x200, 4, 0, 17, 19},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(PortSettingsText(c.serial));
        const DcbRecord dcb = SerialDcb(c.serial);
        EXPECT_EQ(DwordAt(dcb, 0), 28u);
        EXPECT_EQ(DwordAt(dcb, 4), static_cast<std::uint32_t>(c.serial.baudRate));
        EXPECT_EQ(DwordAt(dcb, 8), c.flags);
        EXPECT_EQ(dcb[18], c.serial.dataBits);
        EXPECT_EQ(dcb[19], c.parity);
        EXPECT_EQ(dcb[20], c.stopBits);
        EXPECT_EQ(dcb[21], c.xon);
        EXPECT_EQ(dcb[22], c.xoff);
        for (std::size_t at : {12u, 13u, 14u, 15u, 16u, 17u, 23u, 24u, 25u, 26u, 27u}) EXPECT_EQ(dcb[at], 0) << at;
    }
}

TEST(WriteSerialSettings, TheNtFamilyKeepsATextValueUnderThePortsKey) {
    struct Case {
        const char* port;
        SerialSettings serial;
        const char* key;
        const char* text;
    } cases[] = {
        {"MDCOM2:", {9600, 8, 1, 'n', 'x'}, "COM2:", "9600,n,8,1,x"},
        {"COM1:", {19200, 7, 1.5, 'E', 'p'}, "COM1:", "19200,e,7,1.5,p"},
        {"MDCOM8:", {115200, 8, 2, 'o', ' '}, "COM8:", "115200,o,8,2, "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port);
        InstallFixture fixture(OsCode::kWin7);
        fixture.machine.registry.PutString(RootKey::LocalMachine, kNtPortsKey, "COM1:", "9600,n,8,1");
        InstallSession session{fixture.Services(), OsCode::kWin7, {}};
        EXPECT_TRUE(WriteSerialSettings(session, c.port, c.serial));
        EXPECT_EQ(fixture.Text(kNtPortsKey, c.key), c.text);
        EXPECT_FALSE(fixture.Text(kNtPortsKey, c.port).has_value() && std::string_view(c.port) != c.key);
        EXPECT_TRUE(fixture.machine.desktop.broadcasts.empty());
    }
}

TEST(WriteSerialSettings, Windows98StoresTheDcbOfTheFirstTwoSerialPortsAndTheProfileText) {
    struct Case {
        const char* port;
        const char* dcbKey;  // the class key that receives the DCB, if any
    } cases[] = {
        {"COM1:", "System\\CurrentControlSet\\Services\\Class\\Ports\\0001"},
        {"MDCOM2:", "System\\CurrentControlSet\\Services\\Class\\Ports\\0003"},
        {"COM3:", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port);
        InstallFixture fixture(OsCode::kWin98Me);
        // 0000 a parallel port, 0001 and 0003 serial ones, 0002 missing.
        const auto subClass = [&](const char* key, std::uint8_t value) {
            fixture.machine.registry.Put(RootKey::LocalMachine, key, "PortSubClass",
                                         plat::RegistryValue{plat::kRegBinary, {value}});
        };
        subClass("System\\CurrentControlSet\\Services\\Class\\Ports\\0000", 0);
        subClass("System\\CurrentControlSet\\Services\\Class\\Ports\\0001", 1);
        subClass("System\\CurrentControlSet\\Services\\Class\\Ports\\0003", 1);
        InstallSession session{fixture.Services(), OsCode::kWin98Me, {}};
        const SerialSettings serial{9600, 8, 1, 'n', 'p'};
        EXPECT_TRUE(WriteSerialSettings(session, c.port, serial));

        const std::string portKey = SerialPortKey(c.port);
        for (const char* index : {"0000", "0001", "0002", "0003"}) {
            const std::string key = std::string("System\\CurrentControlSet\\Services\\Class\\Ports\\") + index;
            const auto dcb = fixture.machine.registry.Value(RootKey::LocalMachine, key, "DCB");
            if (c.dcbKey && key == c.dcbKey) {
                ASSERT_TRUE(dcb.has_value());
                EXPECT_EQ(dcb->type, plat::kRegNone);
                const DcbRecord expected = SerialDcb(serial);
                EXPECT_EQ(dcb->data, std::vector<std::uint8_t>(expected.begin(), expected.end()));
            } else {
                EXPECT_FALSE(dcb.has_value()) << key;
            }
        }
        EXPECT_EQ(fixture.machine.profile.GetString(sim::SimProfile::kWinIni, "Ports", portKey, "", 100),
                  "9600,n,8,1,p");
        ASSERT_EQ(fixture.machine.desktop.broadcasts.size(), 1u);
        EXPECT_EQ(fixture.machine.desktop.broadcasts[0].section, "Ports");
        EXPECT_TRUE(fixture.machine.desktop.broadcasts[0].posted);
        EXPECT_EQ(fixture.machine.profile.flushes, 1);
        EXPECT_EQ(fixture.machine.registry.OpenHandleCount(), 0u);
    }
}

}  // namespace

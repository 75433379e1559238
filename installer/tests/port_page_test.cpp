#include "core/port_page.h"
#include "core/usb_identity.h"

#include <gtest/gtest.h>

#include <optional>

#include "core/os_page.h"
#include "core/printer_module.h"
#include "core/serial_settings.h"
#include "core/setup_text.h"
#include "resource.h"
#include "sim/sim_machine.h"
#include "tests/exchange_round_trip.h"
#include "tests/sample_package.h"

namespace {

using namespace setup;
using Items = std::vector<std::string>;

constexpr plat::OsVersion kWin98{plat::kPlatformWindows, 4, 10};
constexpr plat::OsVersion kNt4{plat::kPlatformNt, 4, 0};
constexpr plat::OsVersion kXp{plat::kPlatformNt, 5, 1};
constexpr int kSerialLists[] = {IDC_BAUD, IDC_DATA_BITS, IDC_PARITY, IDC_STOP_BITS, IDC_FLOW};
constexpr int kNotes[] = {IDC_NOTE1, IDC_NOTE2, IDC_NOTE3, IDC_NOTE4};
constexpr const char* kInstalledDriver = "C:\\WINDOWS\\system32\\drivers\\bulkusb.sys";

// The port page on its own, started as the wizard starts it, on a machine
// with the sample package.
struct PortPageFixture {
    explicit PortPageFixture(plat::OsVersion version) {
        machine.system.version = version;
        setup_test::LoadSamplePackage(machine.files);
        osPage.OnInit(osControls);
        // What the template says.
        controls.controls[IDC_PORTS].sorted = true;
        controls.controls[IDC_RASTER].enabled = false;
        for (int note : kNotes) controls.controls[note].visible = false;
        page.OnInit(controls);
    }
    void Fill(int installType, int module, std::string_view model) {
        page.SetInstallType(installType);
        if (installType == kInstallTypical) {
            page.FillPortListTypical(controls, model, osPage.osCode(), module);
        } else {
            page.FillPortListAdvanced(controls, model, osPage.osCode(), module);
        }
    }
    void Choose(int list, std::string_view item) {
        int index = -1;
        for (int i = 0; i < controls.ItemCount(list); ++i) {
            if (controls.ItemText(list, i) == item) index = i;
        }
        ASSERT_GE(index, 0) << item;
        controls.Select(list, index);
        page.OnCommand(controls, list, plat::kCbnSelChange);
    }
    bool NotesVisible() {
        const bool first = controls.IsVisible(IDC_NOTE1);
        for (int note : kNotes) EXPECT_EQ(controls.IsVisible(note), first) << "note " << note;
        return first;
    }
    bool SerialEnabled() {
        const bool first = controls.IsEnabled(IDC_BAUD);
        for (int list : kSerialLists) EXPECT_EQ(controls.IsEnabled(list), first) << "list " << list;
        return first;
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& box : machine.desktop.boxes) texts.push_back(box.text);
        return texts;
    }

    sim::SimMachine machine;
    sim::SimControls osControls, controls;
    OsPage osPage{machine.system, machine.registry, machine.desktop};
    PortPage page{{machine.profile, machine.usb, machine.desktop, machine.files, machine.system},
                  osPage,
                  "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\"};
};

const Items kNtFixed{
    "LPT1:", "LPT2:", "LPT3:", "MDCOM1:", "MDCOM2:", "MDCOM3:", "MDCOM4:", "MDCOM5:", "MDCOM6:", "MDCOM7:", "MDCOM8:"};

Items With(Items items, std::initializer_list<const char*> more) {
    items.insert(items.end(), more.begin(), more.end());
    return items;
}

TEST(PortPage, FillsSelectsAndSetsTheControls) {
    const Items ntTypical = With(kNtFixed, {"USB_KTR-P410_1"});
    const Items ntAdvanced = With(kNtFixed, {"USB_KTR-P410_1", "USB_KTR-P410_2", "USB_KTR-P410_3", "USB_KTR-P410_4"});
    const Items ntEmbedded = With(kNtFixed, {"USB_KTR-D9_1"});
    const Items win98Fixed{"COM1:", "COM2:", "LPT1:"};
    const Items win98Typical = With(win98Fixed, {"USB_KTR-P410_1"});
    const Items win98Advanced =
        With(win98Fixed, {"USB_KTR-P410_1", "USB_KTR-P410_2", "USB_KTR-P410_3", "USB_KTR-P410_4"});
    constexpr int kTyp = kInstallTypical, kAdv = kInstallAdvanced;
    constexpr int kRec = kModuleReceipt, kLab = kModuleLabel;
    // No printer, two printers; one printer with the USB library not beside
    // Setup.exe but in the system directory (where the maker's tool may put
    // it), or only in the Windows folder (on the search path, where a bare
    // name would find it).
    constexpr int kNone = -1, kTwo = -2, kLibraryInSystem = -3, kLibraryOnPath = -4;
    struct Case {
        const char* what;
        plat::OsVersion version;
        int type, module;
        const char* model;
        int attached;  // device value, kNone or kTwo
        const Items* items;
        const char* selected;
        int usbPortNumber;
        bool serialEnabled;
        int raster;
        bool notes;
    } cases[] = {
        {"XP typical, value 13", kXp, kTyp, kRec, "KTR-P410", 13, &ntTypical, "USB_KTR-P410_1", 6, false, 1, true},
        {"XP advanced, value 13", kXp, kAdv, kRec, "KTR-P410", 13, &ntAdvanced, "LPT1:", 6, false, 1, false},
        {"XP advanced, value 2", kXp, kAdv, kRec, "KTR-P410", 2, &ntAdvanced, "USB_KTR-P410_3", 3, false, 1, true},
        {"XP typical, no printer", kXp, kTyp, kRec, "KTR-P410", kNone, &ntTypical, "LPT1:", -1, false, 1, false},
        {"98 typical, value 13", kWin98, kTyp, kRec, "KTR-P410", 13, &win98Typical, "USB_KTR-P410_1", 6, false, 1,
         false},
        {"98 advanced, value 1", kWin98, kAdv, kRec, "KTR-P410", 1, &win98Advanced, "USB_KTR-P410_2", 2, false, 1,
         false},
        {"98 typical, no printer", kWin98, kTyp, kRec, "KTR-P410", kNone, &win98Typical, "COM1:", -1, true, 0, false},
        {"98 LPTDEFAULT, no printer", kWin98, kTyp, kLab, "KTR-L60", kNone, &win98Fixed, "LPT1:", -1, false, 1, false},
        {"NT 4.0, no printer", kNt4, kTyp, kRec, "KTR-P410", kNone, &kNtFixed, "LPT1:", -1, false, 1, false},
        {"NT 4.0 with a printer", kNt4, kAdv, kRec, "KTR-P410", 2, &kNtFixed, "LPT1:", 3, false, 1, false},
        {"XP embedded, value 3", kXp, kTyp, kModuleEmbedded, "KTR-D9", 3, &ntEmbedded, "USB_KTR-D9_1", 4, false, 1,
         true},
        {"two printers, advanced", kXp, kAdv, kRec, "KTR-P410", kTwo, &ntAdvanced, "LPT1:", -1, false, 1, false},
        {"two printers, typical", kXp, kTyp, kRec, "KTR-P410", kTwo, &ntTypical, "USB_KTR-P410_1", -1, false, 1, true},
        {"two printers, model without USB", kXp, kTyp, kLab, "KTR-L60", kTwo, &kNtFixed, "LPT1:", -1, false, 1, false},
        {"library in the system directory", kXp, kTyp, kRec, "KTR-P410", kLibraryInSystem, &ntTypical, "USB_KTR-P410_1",
         6, false, 1, true},
        {"library only on the search path", kXp, kTyp, kRec, "KTR-P410", kLibraryOnPath, &ntTypical, "LPT1:", -1, false,
         1, false},
    };
    for (const auto& c : cases) {
        PortPageFixture f(c.version);
        if (c.attached == kTwo) {
            f.machine.usb.slots[2] = 1;
            f.machine.usb.slots[5] = 2;
        } else if (c.attached == kLibraryInSystem || c.attached == kLibraryOnPath) {
            f.machine.usb.slots[0] = 13;
            f.machine.files.Remove(std::string(setup_test::kPackageFolder) + "MdUsbInt.dll");
            f.machine.files.Write(
                c.attached == kLibraryInSystem ? "C:\\WINDOWS\\system32\\MdUsbInt.dll" : "C:\\WINDOWS\\MdUsbInt.dll",
                "MdUsbInt");
        } else if (c.attached != kNone) {
            f.machine.usb.slots[0] = static_cast<std::uint32_t>(c.attached);
        }
        f.Fill(c.type, c.module, c.model);

        EXPECT_EQ(f.controls.Get(IDC_PORTS).items, *c.items) << c.what;
        EXPECT_EQ(f.controls.SelectedText(IDC_PORTS), c.selected) << c.what;
        EXPECT_EQ(f.page.portName(), c.selected) << c.what;
        EXPECT_EQ(f.page.usbPortNumber(), c.usbPortNumber) << c.what;
        EXPECT_EQ(f.SerialEnabled(), c.serialEnabled) << c.what;
        EXPECT_EQ(f.page.rasterGraphic(), c.raster) << c.what;
        EXPECT_EQ(f.controls.IsChecked(IDC_RASTER), c.raster == 1) << c.what;
        EXPECT_EQ(f.controls.IsEnabled(IDC_RASTER), c.raster == 1) << c.what;
        EXPECT_EQ(f.controls.IsVisible(IDC_RASTER), c.type == kAdv) << c.what;
        EXPECT_EQ(f.NotesVisible(), c.notes) << c.what;
        std::vector<std::string> messages;
        if (c.attached == kTwo) messages.emplace_back(SetupString(IDS_ONE_USB_PRINTER));
        if (c.attached == kLibraryOnPath) messages.emplace_back(kUsbLibraryMissing);
        EXPECT_EQ(f.Messages(), messages) << c.what;
        EXPECT_TRUE(f.machine.usb.openDevices.empty()) << c.what;
        EXPECT_FALSE(f.machine.usb.loaded) << c.what;
    }
}

TEST(PortPage, TemplateDefaultsTooltipAndNoteStyle) {
    PortPageFixture f(kXp);
    EXPECT_EQ(f.controls.Get(IDC_RASTER).tooltip, "Pressione \"F1\" para ajuda");
    const plat::LabelStyle style{plat::Rgb(0, 0, 255), plat::Rgb(255, 202, 253), "Arial", 14};
    for (int note : kNotes) EXPECT_EQ(f.controls.Get(note).labelStyle, style) << "note " << note;
    f.page.ApplyBaudPreset(f.controls, 19200);
    EXPECT_EQ(f.controls.SelectedText(IDC_BAUD), "19200");
    EXPECT_EQ(f.controls.SelectedText(IDC_DATA_BITS), "8");
    EXPECT_EQ(f.controls.SelectedText(IDC_STOP_BITS), "1");
    EXPECT_EQ(f.controls.SelectedText(IDC_PARITY), "None");
    EXPECT_EQ(f.controls.SelectedText(IDC_FLOW), "Hardware");
    EXPECT_EQ(PortSettingsText(f.page.serial()), "19200,n,8,1,p");
}

TEST(PortPage, DriverNotesFollowTheInstalledDriver) {
    struct Case {
        const char* what;
        const char* installedVersion;  // nullptr: not installed
        bool visible;
    } cases[] = {{"driver absent", nullptr, true}, {"driver present", "1.0.0.3", false}};
    const int texts[] = {148, 151, 153, 152};
    for (const auto& c : cases) {
        PortPageFixture f(kXp);
        if (c.installedVersion) f.machine.files.SetVersion(kInstalledDriver, c.installedVersion);
        f.machine.usb.slots[0] = 13;
        f.Fill(kInstallTypical, kModuleReceipt, "KTR-P410");
        ASSERT_EQ(f.page.portName(), "USB_KTR-P410_1") << c.what;
        EXPECT_EQ(f.NotesVisible(), c.visible) << c.what;
        for (int i = 0; i < 4 && c.visible; ++i) {
            EXPECT_EQ(f.controls.Text(kNotes[i]), SetupString(texts[i])) << c.what << ", note " << i;
            EXPECT_FALSE(f.controls.Text(kNotes[i]).empty()) << c.what << ", note " << i;
        }
    }
}

TEST(PortPage, PortChoiceSwitchesSerialRasterAndNotes) {
    struct Step {
        const char* port;
        bool serialEnabled;
        int raster;
        bool notes;
    };
    struct Case {
        const char* what;
        plat::OsVersion version;
        std::vector<Step> steps;
    } cases[] = {
        {"XP",
         kXp,
         {{"MDCOM1:", true, 0, false},
          {"USB_KTR-P410_2", false, 1, true},
          {"MDCOM8:", true, 0, false},
          {"LPT2:", false, 1, false},
          {"USB_KTR-P410_4", false, 1, true}}},
        {"98", kWin98, {{"COM2:", true, 0, false}, {"USB_KTR-P410_3", false, 1, false}}},
    };
    for (const auto& c : cases) {
        PortPageFixture f(c.version);
        f.Fill(kInstallAdvanced, kModuleReceipt, "KTR-P410");
        for (const Step& step : c.steps) {
            f.Choose(IDC_PORTS, step.port);
            const std::string what = std::string(c.what) + ", " + step.port;
            EXPECT_EQ(f.page.portName(), step.port) << what;
            EXPECT_EQ(f.SerialEnabled(), step.serialEnabled) << what;
            EXPECT_EQ(f.page.rasterGraphic(), step.raster) << what;
            EXPECT_EQ(f.controls.IsEnabled(IDC_RASTER), step.raster == 1) << what;
            EXPECT_EQ(f.controls.IsChecked(IDC_RASTER), step.raster == 1) << what;
            EXPECT_EQ(f.NotesVisible(), step.notes) << what;
        }
    }
}

TEST(PortPage, SerialChoicesGiveTheSettingsText) {
    struct Case {
        std::vector<std::pair<int, const char*>> choices;
        const char* text;
    } cases[] = {
        {{{IDC_STOP_BITS, "1.5"},
          {IDC_PARITY, "Odd"},
          {IDC_BAUD, "9600"},
          {IDC_DATA_BITS, "7"},
          {IDC_FLOW, "Xon/Xoff"}},
         "9600,o,7,1.5,x"},
        {{{IDC_BAUD, "115200"}, {IDC_DATA_BITS, "5"}, {IDC_PARITY, "Space"}, {IDC_STOP_BITS, "2"}, {IDC_FLOW, "None"}},
         "115200,s,5,2, "},
        {{{IDC_BAUD, "110"}, {IDC_PARITY, "Mark"}, {IDC_PARITY, "Even"}, {IDC_FLOW, "Hardware"}}, "110,e,8,1,p"},
    };
    for (const auto& c : cases) {
        PortPageFixture f(kXp);
        f.Fill(kInstallTypical, kModuleReceipt, "KTR-P410");
        f.Choose(IDC_PORTS, "MDCOM2:");
        for (const auto& [list, item] : c.choices) f.Choose(list, item);
        EXPECT_EQ(PortSettingsText(f.page.serial()), c.text) << c.text;
    }
}

TEST(PortPage, SecondFillKeepsOrRebuildsTheList) {
    struct Case {
        const char* what;
        int type;
        const char* model;
        bool kept;
        std::size_t items;
    } cases[] = {
        {"same model and type", kInstallAdvanced, "KTR-P410", true, 15},
        {"type changed", kInstallTypical, "KTR-P410", false, 12},
        {"model changed", kInstallAdvanced, "KTR-P410II", false, 15},
    };
    for (const auto& c : cases) {
        PortPageFixture f(kXp);
        f.Fill(kInstallAdvanced, kModuleReceipt, "KTR-P410");
        f.Choose(IDC_PORTS, "MDCOM5:");
        f.Choose(IDC_BAUD, "4800");
        f.machine.usb.slots[0] = 1;  // attached meanwhile: read only by a rebuild
        f.Fill(c.type, kModuleReceipt, c.model);

        EXPECT_EQ(f.controls.Get(IDC_PORTS).items.size(), c.items) << c.what;
        EXPECT_EQ(f.controls.SelectedText(IDC_PORTS) == "MDCOM5:", c.kept) << c.what;
        EXPECT_EQ(f.page.portName() == "MDCOM5:", c.kept) << c.what;
        EXPECT_EQ(f.page.usbPortNumber(), c.kept ? -1 : 2) << c.what;
        EXPECT_EQ(f.page.serial().baudRate, 4800) << c.what << ": serial choices are held";
        EXPECT_EQ(f.controls.SelectedText(IDC_BAUD), "4800") << c.what;
    }
}

TEST(PortPage, ExchangesEveryControlWithItsField) {
    using S = PortValues;
    using namespace exchange_test;
    // A preset no list entry has is held as read; LPT1: takes the raster choice.
    S sample;
    sample.serial.baudRate = 12345;
    sample.rasterGraphic = 1;
    const Edit edits[] = {
        Pick(IDC_BAUD, 5, PLAT_FIELD(S, serial.baudRate), 9600),
        Pick(IDC_DATA_BITS, 2, PLAT_FIELD(S, serial.dataBits), 7),
        Pick(IDC_PARITY, 3, PLAT_FIELD(S, serial.parity), 'o'),
        Pick(IDC_STOP_BITS, 1, PLAT_FIELD(S, serial.stopBits), 1.5),
        Pick(IDC_FLOW, 1, PLAT_FIELD(S, serial.flow), 'x'),
        Tick(IDC_RASTER, false, PLAT_FIELD(S, rasterGraphic), 0),
    };
    std::optional<PortPageFixture> f;
    const DialogSteps<S> steps{
        .show = [&](const S& shown) -> sim::SimControls& {
            f.emplace(kXp);
            f->page.ApplyBaudPreset(f->controls, shown.serial.baudRate);
            f->Fill(kInstallAdvanced, kModuleReceipt, "KTR-P410");
            return f->controls;
        },
        .command = [&](sim::SimControls& controls, int id, int code) { f->page.OnCommand(controls, id, code); },
        .apply = [&](sim::SimControls& controls) { EXPECT_TRUE(f->page.SaveValues(controls)); },
        .held =
            [&] {
                return S{f->page.serial(), f->page.rasterGraphic()};
            },
    };
    ExpectRoundTrip(steps, sample, edits);
}

}  // namespace

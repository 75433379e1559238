#include "core/usb_identity.h"

#include <gtest/gtest.h>

#include "core/install_type_page.h"
#include "core/setup_text.h"
#include "sim/sim_machine.h"

namespace {

using namespace setup;

constexpr plat::WindowRef kOwner = 0x2001;
constexpr const char* kPackageDriver =
    "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\USBDRV\\bulkusb.sys";
constexpr const char* kInstalledDriver = "C:\\WINDOWS\\system32\\drivers\\bulkusb.sys";

constexpr const char* kLibrary = "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\MdUsbInt.dll";

struct Usb {
    Usb() { machine.files.Write(kLibrary, "MdUsbInt"); }
    sim::SimMachine machine;
    UsbContext context{machine.usb, machine.desktop, kOwner, {kLibrary}};

    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& box : machine.desktop.boxes) texts.push_back(box.text);
        return texts;
    }
    // Whatever the path, the library is left as it was found.
    void ExpectReleased(const std::string& what) const {
        EXPECT_TRUE(machine.usb.openDevices.empty()) << what << ": a device stays open";
        EXPECT_FALSE(machine.usb.loaded) << what << ": the library stays loaded";
        EXPECT_EQ(machine.usb.unboundCalls, 0) << what;
        for (const auto& box : machine.desktop.boxes) {
            EXPECT_EQ(box.owner, kOwner) << what;
            EXPECT_EQ(box.caption, kWizardCaption) << what;
        }
    }
};

using Texts = std::vector<std::string>;
const std::string kOneOnly(SetupString(IDS_ONE_USB_PRINTER));

// How the attached printers and the library misbehave.
enum Fault {
    kFine,
    kEmptyIsMinus1,
    kNotInstalled,
    kNoOpen,
    kNoDescriptor,
    kNoClose,
    kNoWrite,
    kReadFails,
    kWriteFails
};

// Printers with `value` in `slot` and `second` (-1: none), and `fault`.
void Attach(sim::SimUsbLibrary& usb, int slot, std::uint32_t value, int second, Fault fault) {
    if (slot >= 0) usb.slots[slot] = value;
    if (second >= 0) usb.slots[second] = value + 1;
    usb.noDevice = fault == kEmptyIsMinus1 ? plat::kInvalidUsbDevice : plat::kNoUsbDevice;
    usb.installed = fault != kNotInstalled;
    if (fault == kNoOpen) usb.missing = {plat::UsbEntry::OpenDeviceX};
    if (fault == kNoDescriptor) usb.missing = {plat::UsbEntry::GetDescriptor};
    if (fault == kNoClose) usb.missing = {plat::UsbEntry::CloseDevice};
    if (fault == kNoWrite) usb.missing = {plat::UsbEntry::UWrite};
    usb.descriptorFails = fault == kReadFails;
    usb.writeFails = fault == kWriteFails;
}

Texts MessagesOf(const char* text) {
    return text ? Texts{text} : Texts{};
}

TEST(ReadUsbDeviceId, ResultsAndMessages) {
    const char* const kMissing = kUsbEntryMissing.data();
    struct Case {
        const char* what;
        int slot;
        std::uint32_t value;
        int second;
        Fault fault;
        int result;
        const char* message;
    } cases[] = {
        {"one printer", 0, 13, -1, kFine, 13, nullptr},
        {"32-bit value keeps its low 16 bits", 3, 0x1000D, -1, kFine, 13, nullptr},
        {"two printers", 1, 5, 6, kFine, kSeveralUsbPrinters, kOneOnly.c_str()},
        {"two printers, empty slots open as -1", 0, 1, 7, kEmptyIsMinus1, kSeveralUsbPrinters, kOneOnly.c_str()},
        {"no printer", -1, 0, -1, kFine, kNoUsbPrinter, nullptr},
        {"no printer, empty slots open as -1", -1, 0, -1, kEmptyIsMinus1, kNoUsbPrinter, nullptr},
        {"printer behind slots opening as -1", 4, 7, -1, kEmptyIsMinus1, 7, nullptr},
        {"library missing", 0, 1, -1, kNotInstalled, kNoUsbPrinter, kUsbLibraryMissing.data()},
        {"OpenDeviceX missing", 0, 1, -1, kNoOpen, kNoUsbPrinter, kMissing},
        {"GetDescriptor missing", 0, 1, -1, kNoDescriptor, kNoUsbPrinter, kMissing},
        {"CloseDevice missing", 0, 1, -1, kNoClose, kNoUsbPrinter, kMissing},
        {"GetDescriptor fails", 2, 1, -1, kReadFails, kNoUsbPrinter, kUsbReadFailed.data()},
    };
    for (const auto& c : cases) {
        Usb f;
        Attach(f.machine.usb, c.slot, c.value, c.second, c.fault);
        EXPECT_EQ(ReadUsbDeviceId(f.context), c.result) << c.what;
        EXPECT_EQ(f.Messages(), MessagesOf(c.message)) << c.what;
        f.ExpectReleased(c.what);
    }
}

TEST(WriteUsbDeviceId, SendsTheIdentityCommand) {
    const auto& p = kIdentityVendorPrefix;
    const std::vector<std::uint8_t> command3{0x1B, p[0], p[1], p[2], p[3], p[4], 0x1D, 0x49, 0x20, 0x02};
    struct Case {
        const char* what;
        int id;
        int slot;
        Fault fault;
        bool result;
        const char* message;
        int loads;
    } cases[] = {
        {"id 0 refused", 0, 0, kFine, false, nullptr, 0},
        {"id 9 refused", 9, 0, kFine, false, nullptr, 0},
        {"id 3", 3, 2, kFine, true, nullptr, 1},
        {"id 3 behind slots opening as -1", 3, 5, kEmptyIsMinus1, true, nullptr, 1},
        {"no printer", 3, -1, kFine, false, kUsbDeviceNotFound.data(), 1},
        {"write fails", 3, 0, kWriteFails, false, kUsbWriteFailed.data(), 1},
        {"uWrite missing", 3, 0, kNoWrite, false, kUsbEntryMissing.data(), 1},
        {"library missing", 3, 0, kNotInstalled, false, kUsbLibraryMissing.data(), 0},
    };
    for (const auto& c : cases) {
        Usb f;
        Attach(f.machine.usb, c.slot, 1, -1, c.fault);
        EXPECT_EQ(WriteUsbDeviceId(f.context, c.id), c.result) << c.what;
        EXPECT_EQ(f.Messages(), MessagesOf(c.message)) << c.what;
        EXPECT_EQ(f.machine.usb.loads, c.loads) << c.what;
        if (!c.result) {
            EXPECT_TRUE(f.machine.usb.writes.empty()) << c.what;
        } else {
            ASSERT_EQ(f.machine.usb.writes.size(), 1u) << c.what;
            EXPECT_EQ(f.machine.usb.writes[0].slot, c.slot) << c.what;
            EXPECT_EQ(f.machine.usb.writes[0].bytes, command3) << c.what;
        }
        f.ExpectReleased(c.what);
    }
}

TEST(BulkUsbVersionCheck, ComparesInstalledAndPackageDrivers) {
    struct Case {
        const char* what;
        const char* package;    // nullptr: no version resource
        const char* installed;  // nullptr: not installed
        std::string installedVersion;
        int installedKey;
        int check;
    } cases[] = {
        {"installed one below", "1.0.0.3", "1.0.0.2", "1.0.0.2", 1002, 1},
        {"equal texts", "1.0.0.3", "1.0.0.3", "1.0.0.3", 1003, 0},
        {"installed absent", "1.0.0.3", nullptr, "0.0.0.0", 0, -1},
        {"installed with an empty version", "1.0.0.3", "", "0.0.0.0", 0, -1},
        {"installed newer", "1.0.0.3", "2.0.0.0", "2.0.0.0", 2000, 0},
        {"both absent", nullptr, nullptr, "0.0.0.0", 0, 0},
        {"package absent", nullptr, "1.0.0.3", "1.0.0.3", 1003, 0},
    };
    for (const auto& c : cases) {
        sim::SimMachine machine;
        if (c.package) machine.files.SetVersion(kPackageDriver, c.package);
        if (c.installed) machine.files.SetVersion(kInstalledDriver, c.installed);
        EXPECT_EQ(InstalledBulkDriverPath(machine.system), kInstalledDriver) << c.what;
        EXPECT_EQ(FileVersion(machine.files, kInstalledDriver), c.installedVersion) << c.what;
        EXPECT_EQ(VersionKey(c.installedVersion), c.installedKey) << c.what;
        EXPECT_EQ(BulkUsbVersionCheck(machine.files, machine.system), c.check) << c.what;
    }
}

TEST(RunUsbDriverStep, StartsTheToolAndWaitsForItsWindow) {
    const std::vector<unsigned> hundreds(50, 100);
    std::vector<unsigned> forever{500};
    forever.insert(forever.end(), hundreds.begin(), hundreds.end());
    struct Case {
        const char* what;
        const char* installed;
        // When the tool's window appears (at start) and goes; -1: never.
        int appears, goes;
        std::vector<unsigned> waits;
    } cases[] = {
        {"versions equal", "1.0.0.3", -1, -1, {}},
        {"window never appears", nullptr, -1, -1, {500, 100}},
        {"window present for 1 s", "1.0.0.2", 0, 1000, {500, 100, 100, 100, 100, 100, 100}},
        {"window never goes", nullptr, 0, -1, forever},
    };
    for (const auto& c : cases) {
        sim::SimMachine machine;
        machine.files.SetVersion(kPackageDriver, "1.0.0.3");
        if (c.installed) machine.files.SetVersion(kInstalledDriver, c.installed);
        if (c.appears >= 0) {
            machine.desktop.onStart = [&](const auto&) {
                machine.desktop.windows.push_back({std::string(kUsbToolWindow), 0x77});
            };
        }
        if (c.goes >= 0) machine.clock.At(c.goes, [&] { machine.desktop.RemoveWindow(kUsbToolWindow); });

        RunUsbDriverStep(machine.files, machine.system, machine.desktop, machine.clock);

        EXPECT_EQ(machine.clock.waits, c.waits) << c.what;
        if (c.waits.empty()) {
            EXPECT_TRUE(machine.desktop.started.empty()) << c.what;
            EXPECT_TRUE(machine.files.archived.empty()) << c.what;
            continue;
        }
        ASSERT_EQ(machine.desktop.started.size(), 1u) << c.what;
        EXPECT_EQ(machine.desktop.started[0].path,
                  "C:\\Documents and Settings\\João\\Área de Trabalho\\Driver Impressora\\USBDrv\\Install.exe")
            << c.what;
        EXPECT_EQ(machine.desktop.started[0].parameters, "2") << c.what;
        EXPECT_EQ(machine.files.archived, (std::vector<std::string>{kInstalledDriver, "C:\\WINDOWS\\inf\\bulkusb.inf"}))
            << c.what;
    }
}

TEST(ReconcileUsbIdentity, MatchesTheIdentityToThePort) {
    const std::string A(SetupString(IDS_CHANGE_USB_ID)), N(SetupString(IDS_NO_USB_DEVICE)), O(kOneOnly);
    const std::string W(kUsbWriteFailed), F(kUsbIdNotSet);
    constexpr int kAdv = kInstallAdvanced, kTyp = kInstallTypical;
    constexpr int kNone = -1, kTwo = -2;  // no printer, two printers
    constexpr int kYes = plat::kIdYes, kNo = plat::kIdNo, kNoAnswer = 0;
    struct Case {
        const char* what;
        int installType;
        int attached;  // device value, kNone or kTwo
        const char* port;
        int answer;
        bool writeFails;
        bool result;
        Texts messages;
        int lastByte;  // -1: nothing written
    } cases[] = {
        {"advanced _3 with V=10: no question no write", kAdv, 10, "USB_KTR-P410_3", kNoAnswer, false, true, {}, -1},
        {"advanced _2 with identity 3: Yes writes 1", kAdv, 10, "USB_KTR-P410_2", kYes, false, true, {A}, 1},
        {"advanced No stays", kAdv, 10, "USB_KTR-P410_2", kNo, false, false, {A}, -1},
        {"advanced no printer", kAdv, kNone, "USB_KTR-P410_1", kNoAnswer, false, false, {N}, -1},
        {"advanced write fails", kAdv, 10, "USB_KTR-P410_4", kYes, true, false, {A, W, F}, -1},
        {"typical V=0: no question", kTyp, 0, "USB_KTR-P410_1", kNoAnswer, false, true, {}, -1},
        {"typical V=5 Yes writes id 1", kTyp, 5, "USB_KTR-P410_1", kYes, false, true, {A}, 0},
        {"typical V=5 No stays", kTyp, 5, "USB_KTR-P410_1", kNo, false, false, {A}, -1},
        {"typical write fails", kTyp, 5, "USB_KTR-P410_1", kYes, true, false, {A, W}, -1},
        {"typical no printer goes on", kTyp, kNone, "USB_KTR-P410_1", kNoAnswer, false, true, {}, -1},
        {"two printers advanced", kAdv, kTwo, "USB_KTR-P410_1", kYes, false, false, {O}, -1},
        {"two printers typical", kTyp, kTwo, "USB_KTR-P410_1", kYes, false, false, {O}, -1},
    };
    for (const auto& c : cases) {
        Usb f;
        sim::SimUsbLibrary& usb = f.machine.usb;
        const int slot = c.attached == kNone ? -1 : 0;
        const std::uint32_t value = c.attached < 0 ? 1 : static_cast<std::uint32_t>(c.attached);
        Attach(usb, slot, value, c.attached == kTwo ? 1 : -1, c.writeFails ? kWriteFails : kFine);
        if (c.answer != kNoAnswer) f.machine.desktop.answers = {c.answer};

        EXPECT_EQ(ReconcileUsbIdentity(f.context, c.installType, c.port), c.result) << c.what;
        EXPECT_EQ(f.Messages(), c.messages) << c.what;
        if (c.lastByte < 0) {
            EXPECT_TRUE(usb.writes.empty()) << c.what;
        } else {
            ASSERT_EQ(usb.writes.size(), 1u) << c.what;
            const auto command = IdentityCommand(c.lastByte + 1);
            EXPECT_EQ(usb.writes[0].bytes, std::vector<std::uint8_t>(command.begin(), command.end())) << c.what;
            EXPECT_EQ(usb.writes[0].bytes.back(), c.lastByte) << c.what;
        }
        f.ExpectReleased(c.what);
    }
}

}  // namespace

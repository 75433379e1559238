#include "core/usb_identity.h"

#include <string>

#include "core/config_files.h"
#include "core/install_type_page.h"
#include "core/setup_text.h"
#include "scoped_usb.h"
#include "text.h"

namespace setup {

namespace {
constexpr int kSlots = 8;

bool IsDevice(plat::UsbDevice device) {
    return device != plat::kNoUsbDevice && device != plat::kInvalidUsbDevice;
}

void Tell(const UsbContext& usb, std::string_view text) {
    usb.desktop.ShowMessage(usb.owner, text, kWizardCaption, plat::kMbOk);
}

// The library loaded (for one use, freed on every way out) with `entries`
// bound; empty (message shown) otherwise.
plat::LoadedUsbLibrary Prepare(const UsbContext& usb, std::initializer_list<plat::UsbEntry> entries) {
    plat::LoadedUsbLibrary loaded = plat::LoadUsbLibrary(usb.library, usb.libraryPaths);
    if (!loaded) {
        Tell(usb, kUsbLibraryMissing);
        return loaded;
    }
    for (plat::UsbEntry entry : entries) {
        if (!usb.library.Bind(entry)) {
            Tell(usb, kUsbEntryMissing);
            loaded.reset();
            break;
        }
    }
    return loaded;
}

// The first device a slot opens, closed when its owner goes; empty when none.
plat::ScopedUsbDevice OpenFirstDevice(plat::UsbLibrary& library) {
    for (int slot = 0; slot < kSlots; ++slot) {
        const plat::UsbDevice device = library.OpenDeviceX(slot);
        if (IsDevice(device)) return plat::OwnedUsbDevice(library, device);
    }
    return plat::OwnedUsbDevice(library, plat::kNoUsbDevice);
}
}  // namespace

std::vector<std::string> UsbLibraryPaths(std::string_view configFolder, plat::SystemInfo& system) {
    std::vector<std::string> paths{std::string(configFolder) + "MdUsbInt.dll"};
    std::string systemDirectory;
    if (system.SystemDirectory(&systemDirectory) == 0) paths.push_back(systemDirectory + "\\MdUsbInt.dll");
    return paths;
}

int ReadUsbDeviceId(const UsbContext& usb) {
    plat::UsbLibrary& library = usb.library;
    const plat::LoadedUsbLibrary loaded =
        Prepare(usb, {plat::UsbEntry::OpenDeviceX, plat::UsbEntry::GetDescriptor, plat::UsbEntry::CloseDevice});
    if (!loaded) return kNoUsbPrinter;
    int count = 0;
    for (int slot = 0; slot < kSlots; ++slot) {
        const plat::UsbDevice device = library.OpenDeviceX(slot);
        if (IsDevice(device)) ++count;
        library.CloseDevice(device);
        if (count == 2) {
            Tell(usb, SetupString(IDS_ONE_USB_PRINTER));
            return kSeveralUsbPrinters;
        }
    }
    std::uint32_t value = 0;
    bool read = false;
    {
        const plat::ScopedUsbDevice device = OpenFirstDevice(library);
        if (!device) return kNoUsbPrinter;
        read = library.GetDescriptor(device.get(), &value) != 0;
    }
    if (!read) {
        Tell(usb, kUsbReadFailed);
        return kNoUsbPrinter;
    }
    return static_cast<int>(value & 0xFFFF);
}

std::array<std::uint8_t, 10> IdentityCommand(int id) {
    std::array<std::uint8_t, 10> command{0x1B};
    for (std::size_t i = 0; i < kIdentityVendorPrefix.size(); ++i) command[1 + i] = kIdentityVendorPrefix[i];
    command[6] = 0x1D;
    command[7] = 'I';
    command[8] = 0x20;
    command[9] = static_cast<std::uint8_t>(id - 1);
    return command;
}

bool WriteUsbDeviceId(const UsbContext& usb, int id) {
    if (id < 1 || id > kSlots) return false;
    plat::UsbLibrary& library = usb.library;
    const plat::LoadedUsbLibrary loaded =
        Prepare(usb, {plat::UsbEntry::OpenDeviceX, plat::UsbEntry::UWrite, plat::UsbEntry::CloseDevice});
    if (!loaded) return false;
    bool sent = false;
    {
        // The device is closed on failure too: it stays with the library otherwise.
        const plat::ScopedUsbDevice device = OpenFirstDevice(library);
        if (!device) {
            Tell(usb, kUsbDeviceNotFound);
            return false;
        }
        const auto command = IdentityCommand(id);
        sent = library.UWrite(device.get(), 0, command.data(), static_cast<int>(command.size())) > 0;
    }
    if (!sent) Tell(usb, kUsbWriteFailed);
    return sent;
}

std::string FileVersion(plat::FilesInstall& files, std::string_view path) {
    const auto version = files.VersionText(path);
    return version && !version->empty() ? *version : std::string(kMissingVersion);
}

int VersionKey(std::string_view version) {
    std::string key;
    for (std::size_t position = 0; position < version.size() && key.size() < 4; position += 2) {
        key += version[position];
    }
    return plat::AsciiToInt(key);
}

namespace {
// The USB steps only look at files there: an unreadable folder reads as
// empty, and the file is then simply not found.
std::string WindowsFolder(plat::SystemInfo& system) {
    std::string folder;
    (void)system.WindowsDirectory(&folder);
    return folder;
}
std::string SystemFolder(plat::SystemInfo& system) {
    std::string folder;
    (void)system.SystemDirectory(&folder);
    return folder;
}
}  // namespace

std::string InstalledBulkDriverPath(plat::SystemInfo& system) {
    return WindowsFolder(system) + "\\system32\\drivers\\bulkusb.sys";
}

std::string PackageBulkDriverPath(plat::SystemInfo& system) {
    return ConfigFolder(system.ExecutablePath()) + "USBDRV\\bulkusb.sys";
}

int BulkUsbVersionCheck(plat::FilesInstall& files, plat::SystemInfo& system) {
    const std::string package = FileVersion(files, PackageBulkDriverPath(system));
    const std::string installed = FileVersion(files, InstalledBulkDriverPath(system));
    if (package == installed) return 0;
    const int c = VersionKey(package);
    const int d = VersionKey(installed);
    if (d == 0) return -1;
    return d < c ? 1 : 0;
}

void RunUsbDriverStep(plat::FilesInstall& files, plat::SystemInfo& system, plat::Desktop& desktop, plat::Clock& clock) {
    if (BulkUsbVersionCheck(files, system) == 0) return;
    // A read-only copy left by an earlier installation would stop the tool.
    (void)files.SetArchiveAttribute(SystemFolder(system) + "\\drivers\\bulkusb.sys");
    (void)files.SetArchiveAttribute(WindowsFolder(system) + "\\inf\\bulkusb.inf");
    // Whether the tool started is not known here: a tool that never shows its
    // window costs only the waits below, and the USB monitor works without it.
    (void)desktop.StartProgram(ConfigFolder(system.ExecutablePath()) + "USBDrv\\Install.exe", "2");
    clock.Sleep(500);
    for (int look = 0; look < 50; ++look) {
        if (!desktop.FindTopLevelWindow(kUsbToolWindow)) {
            clock.Sleep(100);
            break;
        }
        clock.Sleep(100);
    }
}

namespace {
// The number of a USB port name: 4, 3, 2 or 1 for the first of "_4", "_3",
// "_2", "_1" it contains, else 0.
int PortNumberOf(std::string_view portName) {
    for (int number = 4; number >= 1; --number) {
        if (plat::Contains(portName, "_" + std::to_string(number))) return number;
    }
    return 0;
}

bool AskToChangeIdentity(const UsbContext& usb) {
    return usb.desktop.ShowMessage(usb.owner, SetupString(IDS_CHANGE_USB_ID), kWizardCaption, plat::kMbYesNo) ==
           plat::kIdYes;
}
}  // namespace

bool ReconcileUsbIdentity(const UsbContext& usb, int installType, std::string_view portName) {
    const int value = ReadUsbDeviceId(usb);
    // Several printers: the user was just asked to attach only one, and an
    // identity written now would go to whichever answers first.
    if (value == kSeveralUsbPrinters) return false;
    if (installType == kInstallAdvanced) {
        if (value == kNoUsbPrinter) {
            Tell(usb, SetupString(IDS_NO_USB_DEVICE));
            return false;
        }
        const int id = UsbDeviceIdOf(value);
        if (plat::Contains(portName, "_" + std::to_string(id))) return true;
        const int wanted = PortNumberOf(portName);
        if (wanted == id) return true;
        if (!AskToChangeIdentity(usb)) return false;
        if (!WriteUsbDeviceId(usb, wanted)) {
            Tell(usb, kUsbIdNotSet);
            return false;
        }
        return true;
    }
    if (value == kNoUsbPrinter || UsbDeviceIdOf(value) == 1) return true;
    if (!AskToChangeIdentity(usb)) return false;
    return WriteUsbDeviceId(usb, 1);
}

}  // namespace setup

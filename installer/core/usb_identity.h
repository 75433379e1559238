#pragma once
// The attached USB printer's identity, read and written through the maker's
// USB library, and the package's USB bulk driver: its version test and the
// run of the driver tool.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ports/clock.h"
#include "ports/desktop.h"
#include "ports/files.h"
#include "ports/system_info.h"
#include "ports/usb_library.h"

namespace setup {

// What the identity functions work with: the library, and the desktop and
// window that own their messages.
struct UsbContext {
    plat::UsbLibrary& library;
    plat::Desktop& desktop;
    plat::WindowRef owner;
    // Where the library may lie, by full path, in the order tried
    // (UsbLibraryPaths).
    std::vector<std::string> libraryPaths;
};

// The maker's USB library ships beside Setup.exe, and the maker's own tool
// may have put it in the system directory: those two full paths, in that
// order (the second only when the system directory can be read). Never a bare
// name: the current folder and the search path are not looked in.
std::vector<std::string> UsbLibraryPaths(std::string_view configFolder, plat::SystemInfo& system);

// ReadUsbDeviceId results besides a device value 0..65535.
constexpr int kNoUsbPrinter = -1;
constexpr int kSeveralUsbPrinters = -2;

// The device value V of the one attached printer (the low 16 bits of what the
// library reports), kNoUsbPrinter (none, or an error already shown) or
// kSeveralUsbPrinters (message already shown).
int ReadUsbDeviceId(const UsbContext& usb);
// Gives the attached printer identity `id` (1..8); true when it took the
// command. An id outside 1..8 is refused without a message.
bool WriteUsbDeviceId(const UsbContext& usb, int id);

// The UsbDeviceId (1..8) of a device value: (V mod 8) + 1. A negative result
// of ReadUsbDeviceId keeps its sign in the remainder (-2 gives -1).
constexpr int UsbDeviceIdOf(int deviceValue) {
    return deviceValue % 8 + 1;
}

// The identity command for `id`: ESC, the printer's five-byte vendor prefix,
// GS 'I' blank, id - 1.
std::array<std::uint8_t, 10> IdentityCommand(int id);
// The vendor prefix the printer's firmware requires before the identity
// command: three letters and two bytes above 0x7F. It belongs to the printer
// family this package serves; change it here to match another firmware.
constexpr std::array<std::uint8_t, 5> kIdentityVendorPrefix{'K', 'T', 'R', 0xA9, 0xB0};

// The version text of a file's version resource; "0.0.0.0" when it has none.
std::string FileVersion(plat::FilesInstall& files, std::string_view path);
// The digits at positions 0, 2, 4 and 6 of a version text read as one
// decimal number ("1.0.0.3" gives 1003).
int VersionKey(std::string_view version);

// The installed bulk driver and the package's copy.
std::string InstalledBulkDriverPath(plat::SystemInfo& system);
std::string PackageBulkDriverPath(plat::SystemInfo& system);
constexpr std::string_view kMissingVersion = "0.0.0.0";

// -1: no usable driver installed; 1: the installed driver is older than the
// package's; 0: nothing to do.
int BulkUsbVersionCheck(plat::FilesInstall& files, plat::SystemInfo& system);

// Installs the bulk driver with the package's tool when the version test asks
// for it, and waits (at most about 5.5 s) for the tool's window to go.
void RunUsbDriverStep(plat::FilesInstall& files, plat::SystemInfo& system, plat::Desktop& desktop, plat::Clock& clock);

// Makes the attached printer's identity match the chosen USB port before the
// installation; false when the wizard must stay on its page.
bool ReconcileUsbIdentity(const UsbContext& usb, int installType, std::string_view portName);

constexpr std::string_view kUsbLibraryMissing = "Não foi possível carregar MdUsbInt.dll";
constexpr std::string_view kUsbEntryMissing = "Erro na função de abertura";
constexpr std::string_view kUsbReadFailed = "Erro ao Ler ID do dispositivo";
constexpr std::string_view kUsbDeviceNotFound = "Impossível encontrar Dispositivo USB";
constexpr std::string_view kUsbWriteFailed = "Erro ao Escrever ID";
constexpr std::string_view kUsbIdNotSet = "Falha ao configurar o ID da Impressora";
constexpr std::string_view kUsbToolWindow = "QTRX print system setup";

}  // namespace setup

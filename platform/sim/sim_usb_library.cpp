#include "sim/sim_usb_library.h"
#include "sim/sim_faults.h"
#include "sim/sim_files.h"

namespace sim {

namespace {
// Handles of attached printers: slot + this base, never 0 or -1.
constexpr plat::UsbDevice kHandleBase = 0x5000;
}  // namespace

bool SimUsbLibrary::Load(std::string_view path) {
    loadPaths.emplace_back(path);
    if (Enter(faults, "Usb.Load", 126 /* ERROR_MOD_NOT_FOUND */, path)) return false;
    if (!installed || (files && !files->Exists(path))) return false;
    ++loads;
    loaded = true;
    return true;
}

void SimUsbLibrary::Unload() {
    loaded = false;
    bound_.clear();
}

bool SimUsbLibrary::Bind(plat::UsbEntry entry) {
    if (Enter(faults, "Usb.Bind", 127 /* ERROR_PROC_NOT_FOUND */)) return false;
    if (!loaded || missing.count(entry)) return false;
    bound_.insert(entry);
    return true;
}

bool SimUsbLibrary::Usable(plat::UsbEntry entry) {
    if (loaded && bound_.count(entry)) return true;
    ++unboundCalls;
    return false;
}

int SimUsbLibrary::SlotOf(plat::UsbDevice device) {
    const plat::UsbDevice slot = device - kHandleBase;
    return slot >= 0 && slot < 8 ? static_cast<int>(slot) : -1;
}

plat::UsbDevice SimUsbLibrary::OpenDeviceX(int slot) {
    if (!Usable(plat::UsbEntry::OpenDeviceX)) return noDevice;
    if (Enter(faults, "Usb.OpenDeviceX", 1)) return noDevice;
    if (slot < 0 || slot >= 8 || !slots[slot]) return noDevice;
    const plat::UsbDevice device = kHandleBase + slot;
    openDevices.insert(device);
    return device;
}

int SimUsbLibrary::GetDescriptor(plat::UsbDevice device, std::uint32_t* value) {
    if (!Usable(plat::UsbEntry::GetDescriptor)) return 0;
    if (Enter(faults, "Usb.GetDescriptor", 1)) return 0;
    const int slot = SlotOf(device);
    if (descriptorFails || slot < 0 || !openDevices.count(device) || !slots[slot]) return 0;
    *value = *slots[slot];
    return 1;
}

int SimUsbLibrary::UWrite(plat::UsbDevice device, int, const std::uint8_t* bytes, int count) {
    if (!Usable(plat::UsbEntry::UWrite)) return 0;
    if (Enter(faults, "Usb.UWrite", 1)) return 0;
    const int slot = SlotOf(device);
    if (writeFails || slot < 0 || !openDevices.count(device) || count <= 0) return 0;
    writes.push_back({slot, std::vector<std::uint8_t>(bytes, bytes + count)});
    return count;
}

void SimUsbLibrary::CloseDevice(plat::UsbDevice device) {
    if (!Usable(plat::UsbEntry::CloseDevice)) return;
    openDevices.erase(device);
}

}  // namespace sim

#pragma once
// The simulated USB access library: up to eight attached printers by slot,
// entry points that are missing or fail, and a record of every write and of
// the handles still open.
#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ports/usb_library.h"

namespace sim {

class FaultPlan;
class SimFiles;

class SimUsbLibrary : public plat::UsbLibrary {
public:
    // The machine's plan of failures, consulted on entry of every call.
    FaultPlan* faults = nullptr;
    // Where the library file has to be for a load to succeed.
    SimFiles* files = nullptr;

    // Loads when the library file lies at `path` in the machine's file tree.
    bool Load(std::string_view path) override;
    void Unload() override;
    bool Bind(plat::UsbEntry entry) override;
    plat::UsbDevice OpenDeviceX(int slot) override;
    int GetDescriptor(plat::UsbDevice device, std::uint32_t* value) override;
    int UWrite(plat::UsbDevice device, int reserved, const std::uint8_t* bytes, int count) override;
    void CloseDevice(plat::UsbDevice device) override;

    // Set-up: the 32-bit value each attached printer reports, by slot.
    std::array<std::optional<std::uint32_t>, 8> slots{};
    bool installed = true;                          // the library can be loaded where it lies
    std::set<plat::UsbEntry> missing;               // entry points it lacks
    plat::UsbDevice noDevice = plat::kNoUsbDevice;  // what an empty slot opens as
    bool descriptorFails = false;
    bool writeFails = false;

    // Inspection.
    struct Write {
        int slot;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Write> writes;
    int loads = 0;
    // The path of every load asked for, in order.
    std::vector<std::string> loadPaths;
    // Loaded and not yet freed.
    bool loaded = false;
    // Device handles opened and not closed.
    std::set<plat::UsbDevice> openDevices;
    // Calls made to an entry point that was never bound, or after the
    // library was freed: a program that does this would crash.
    int unboundCalls = 0;
    // The program has ended: its devices are closed and the library is
    // freed with it.
    void ProcessEnded() {
        loaded = false;
        bound_.clear();
        openDevices.clear();
    }

private:
    bool Usable(plat::UsbEntry entry);
    static int SlotOf(plat::UsbDevice device);
    std::set<plat::UsbEntry> bound_;
};

}  // namespace sim

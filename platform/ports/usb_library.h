#pragma once
// The maker's USB access library (MdUsbInt.dll), loaded at each use and bound
// entry point by entry point, as the installer uses it to read and write the
// attached printer's identity.
#include <cstdint>
#include <string_view>

namespace plat {

// A device handle as the library gives it; 0 and -1 mean no device.
using UsbDevice = std::intptr_t;
constexpr UsbDevice kNoUsbDevice = 0;
constexpr UsbDevice kInvalidUsbDevice = -1;

enum class UsbEntry { OpenDeviceX, GetDescriptor, UWrite, CloseDevice };

class UsbLibrary {
public:
    virtual ~UsbLibrary() = default;

    // LoadLibrary of the library file at its full path (never by bare name:
    // a file of that name elsewhere on the search path must not be taken
    // instead); false when it cannot be loaded.
    [[nodiscard]] virtual bool Load(std::string_view path) = 0;
    // FreeLibrary; the entry points bound so far are gone with it.
    virtual void Unload() = 0;
    // GetProcAddress of one entry point of the loaded library; false when missing.
    [[nodiscard]] virtual bool Bind(UsbEntry entry) = 0;

    // The bound entry points.
    [[nodiscard]] virtual UsbDevice OpenDeviceX(int slot) = 0;
    // Non-zero on success; the low 16 bits of *value are the device value.
    [[nodiscard]] virtual int GetDescriptor(UsbDevice device, std::uint32_t* value) = 0;
    // Greater than 0 when the bytes were sent.
    [[nodiscard]] virtual int UWrite(UsbDevice device, int reserved, const std::uint8_t* bytes, int count) = 0;
    virtual void CloseDevice(UsbDevice device) = 0;
};

}  // namespace plat

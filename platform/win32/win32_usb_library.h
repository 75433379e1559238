#pragma once
// MdUsbInt.dll, loaded by the full path the program gives (the package ships
// it beside Setup.exe) and bound entry point by entry point.
#include <windows.h>

#include <string_view>

#include "ports/usb_library.h"
#include "win32/md_usb_int_abi.h"
#include "win32/scoped_win32.h"

namespace win32 {

class Win32UsbLibrary : public plat::UsbLibrary {
public:
    Win32UsbLibrary() = default;
    ~Win32UsbLibrary() override { Unload(); }
    Win32UsbLibrary(const Win32UsbLibrary&) = delete;
    Win32UsbLibrary& operator=(const Win32UsbLibrary&) = delete;

    bool Load(std::string_view path) override;
    void Unload() override;
    bool Bind(plat::UsbEntry entry) override;
    plat::UsbDevice OpenDeviceX(int slot) override;
    int GetDescriptor(plat::UsbDevice device, std::uint32_t* value) override;
    int UWrite(plat::UsbDevice device, int reserved, const std::uint8_t* bytes, int count) override;
    void CloseDevice(plat::UsbDevice device) override;

private:
    ScopedLibrary library_;
    mdusbint::OpenDeviceXFn openDevice_ = nullptr;
    mdusbint::GetDescriptorFn getDescriptor_ = nullptr;
    mdusbint::UWriteFn write_ = nullptr;
    mdusbint::CloseDeviceFn closeDevice_ = nullptr;
};

}  // namespace win32

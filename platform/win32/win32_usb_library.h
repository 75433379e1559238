#pragma once
// MdUsbInt.dll, loaded by full path from the running program's folder (the
// package ships it there) and bound entry point by entry point.
#include <windows.h>

#include <string>

#include "ports/usb_library.h"
#include "win32/md_usb_int_abi.h"
#include "win32/scoped_win32.h"

namespace win32 {

class Win32UsbLibrary : public plat::UsbLibrary {
public:
    // `folder`, ending in a backslash, is the package folder the library ships in.
    explicit Win32UsbLibrary(std::string folder) : folder_(std::move(folder)) {}
    ~Win32UsbLibrary() override { Unload(); }
    Win32UsbLibrary(const Win32UsbLibrary&) = delete;
    Win32UsbLibrary& operator=(const Win32UsbLibrary&) = delete;

    bool Load() override;
    void Unload() override;
    bool Bind(plat::UsbEntry entry) override;
    plat::UsbDevice OpenDeviceX(int slot) override;
    int GetDescriptor(plat::UsbDevice device, std::uint32_t* value) override;
    int UWrite(plat::UsbDevice device, int reserved, const std::uint8_t* bytes, int count) override;
    void CloseDevice(plat::UsbDevice device) override;

private:
    std::string folder_;
    ScopedLibrary library_;
    mdusbint::OpenDeviceXFn openDevice_ = nullptr;
    mdusbint::GetDescriptorFn getDescriptor_ = nullptr;
    mdusbint::UWriteFn write_ = nullptr;
    mdusbint::CloseDeviceFn closeDevice_ = nullptr;
};

}  // namespace win32

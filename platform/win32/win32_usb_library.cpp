#include "win32/win32_usb_library.h"

#include "win32/encoding.h"

namespace win32 {

namespace {
HANDLE Handle(plat::UsbDevice device) {
    return reinterpret_cast<HANDLE>(device);
}

template <typename Fn>
bool BindName(HMODULE library, const char* name, Fn* fn) {
    *fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    return *fn != nullptr;
}
}  // namespace

bool Win32UsbLibrary::Load(std::string_view path) {
    Unload();
    // The package folder is often a user's own ("...\Área de Trabalho\"):
    // the path reaches LoadLibraryA in the ANSI code page like every other.
    library_.reset(LoadLibraryA(Utf8ToAnsi(path).c_str()));
    return library_.valid();
}

void Win32UsbLibrary::Unload() {
    // The entry points go first: they point into the library.
    openDevice_ = nullptr;
    getDescriptor_ = nullptr;
    write_ = nullptr;
    closeDevice_ = nullptr;
    library_.reset();
}

bool Win32UsbLibrary::Bind(plat::UsbEntry entry) {
    if (!library_) return false;
    switch (entry) {
        case plat::UsbEntry::OpenDeviceX:
            return BindName(library_.get(), "OpenDeviceX", &openDevice_);
        case plat::UsbEntry::GetDescriptor:
            return BindName(library_.get(), "GetDescriptor", &getDescriptor_);
        case plat::UsbEntry::UWrite:
            return BindName(library_.get(), "uWrite", &write_);
        case plat::UsbEntry::CloseDevice:
            return BindName(library_.get(), "CloseDevice", &closeDevice_);
    }
    return false;
}

// The callers bind before they call; an unbound entry point answers as a
// failing one rather than jumping to nowhere.
plat::UsbDevice Win32UsbLibrary::OpenDeviceX(int slot) {
    return openDevice_ ? reinterpret_cast<plat::UsbDevice>(openDevice_(slot)) : plat::kNoUsbDevice;
}

int Win32UsbLibrary::GetDescriptor(plat::UsbDevice device, std::uint32_t* value) {
    if (!getDescriptor_) return 0;
    DWORD read = 0;
    const int result = getDescriptor_(Handle(device), &read);
    if (result != 0) *value = read;
    return result;
}

int Win32UsbLibrary::UWrite(plat::UsbDevice device, int reserved, const std::uint8_t* bytes, int count) {
    return write_ ? write_(Handle(device), reserved, bytes, count) : 0;
}

void Win32UsbLibrary::CloseDevice(plat::UsbDevice device) {
    if (closeDevice_) closeDevice_(Handle(device));
}

}  // namespace win32

#pragma once
// The driver's whole device mode, as the spooler stores it and applications
// pass it around: the public DEVMODEW followed by the plug-in's private part
// (dmDriverExtra bytes). The driver of this package keeps no private data of
// its own, so the plug-in's record follows the public part directly.
#include <windows.h>

#include <vector>

#include "plugin_host.h"

namespace unidrv {

// The public fields the driver keeps, and its version in dmDriverVersion.
inline constexpr DWORD kPublicFields = DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_COPIES;
inline constexpr WORD kDriverVersion = 0x0600;

class DriverDevmode {
public:
    // The defaults: a roll of 80 mm, portrait, one copy, and the plug-in's own.
    DriverDevmode(PluginHost& plugin, const wchar_t* deviceName);

    DWORD size() const { return static_cast<DWORD>(bytes_.size()); }
    DEVMODEW* publicPart() { return reinterpret_cast<DEVMODEW*>(bytes_.data()); }
    BYTE* privatePart() { return extra() ? bytes_.data() + sizeof(DEVMODEW) : nullptr; }

    // Takes the settings of a caller's device mode. Of `in` only what its
    // dmSize and dmDriverExtra claim is read; public fields are taken when
    // dmFields names them and dmSize covers them; a private part the plug-in
    // does not recognise leaves its defaults.
    void MergeFrom(const DEVMODEW& in);
    // Copies the whole record into `out`, which holds `outSize` bytes.
    bool CopyTo(DEVMODEW* out, DWORD outSize) const;

private:
    DWORD extra() const { return plugin_.PrivateSize(); }

    PluginHost& plugin_;
    std::vector<BYTE> bytes_;
};

}  // namespace unidrv

#include "driver_devmode.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace unidrv {
namespace {

// Whether the public part of `in` reaches past `field`, of `size` bytes at `offset`.
bool Covers(const DEVMODEW& in, std::size_t offset, std::size_t size) { return in.dmSize >= offset + size; }

}  // namespace

DriverDevmode::DriverDevmode(PluginHost& plugin, const wchar_t* deviceName)
    : plugin_(plugin), bytes_(sizeof(DEVMODEW) + plugin.PrivateSize()) {
    DEVMODEW* dm = publicPart();
    if (deviceName) lstrcpynW(dm->dmDeviceName, deviceName, CCHDEVICENAME);
    dm->dmSpecVersion = DM_SPECVERSION;
    dm->dmDriverVersion = kDriverVersion;
    dm->dmSize = sizeof(DEVMODEW);
    dm->dmDriverExtra = static_cast<WORD>(extra());
    dm->dmFields = kPublicFields;
    dm->dmOrientation = DMORIENT_PORTRAIT;
    dm->dmPaperSize = DMPAPER_USER;
    dm->dmPaperWidth = 800;    // tenths of a millimetre
    dm->dmPaperLength = 2970;
    dm->dmCopies = 1;
    dm->dmScale = 100;
    if (privatePart()) plugin_.WriteDefaults(privatePart());
}

void DriverDevmode::MergeFrom(const DEVMODEW& in) {
    DEVMODEW* dm = publicPart();
#define PP_TAKE(flag, field)                                                                          \
    if ((in.dmFields & (flag)) && Covers(in, offsetof(DEVMODEW, field), sizeof in.field)) { \
        dm->field = in.field;                                                                         \
    }
    PP_TAKE(DM_ORIENTATION, dmOrientation)
    PP_TAKE(DM_PAPERSIZE, dmPaperSize)
    PP_TAKE(DM_PAPERLENGTH, dmPaperLength)
    PP_TAKE(DM_PAPERWIDTH, dmPaperWidth)
    PP_TAKE(DM_COPIES, dmCopies)
#undef PP_TAKE
    if (!privatePart() || in.dmDriverExtra == 0) return;
    // The caller's private part may be shorter than ours or not ours at all:
    // the plug-in reads a full-length copy, zero beyond what the caller has.
    std::vector<BYTE> theirs(extra());
    std::memcpy(theirs.data(), reinterpret_cast<const BYTE*>(&in) + in.dmSize,
                std::min<DWORD>(in.dmDriverExtra, extra()));
    plugin_.Merge(theirs.data(), privatePart());
}

bool DriverDevmode::CopyTo(DEVMODEW* out, DWORD outSize) const {
    if (!out || outSize < size()) return false;
    std::memcpy(out, bytes_.data(), size());
    return true;
}

}  // namespace unidrv

#pragma once
// The control-font table's file in the spooler's driver folder, through the
// profile functions.
#include <string>

#include "core/control_font_file.h"

namespace plugin_win32 {

class Win32ControlFontFile : public plugin::ControlFontFile {
public:
    std::string Read(std::string_view key) override;
    bool WriteAll(const std::vector<plugin::ControlFontEntry>& entries) override;
};

// "<driver folder of Windows NT x86>\3\7404VXCONTROL.ini"; empty when the
// spooler names no driver folder.
std::wstring ControlFontFilePath();

}  // namespace plugin_win32

#pragma once
#include "ports/desktop.h"

namespace win32 {

class Win32Desktop : public plat::Desktop {
public:
    int ShowMessage(plat::WindowRef owner, std::string_view text, std::string_view caption, unsigned style) override;
};

}  // namespace win32

#pragma once
#include <windows.h>

#include "ports/clock.h"

namespace win32 {

class Win32Clock : public plat::Clock {
public:
    void Sleep(unsigned milliseconds) override { ::Sleep(milliseconds); }
};

}  // namespace win32

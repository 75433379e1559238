#pragma once
// The shared user-interface surface: top-level windows and message boxes.
#include <cstdint>
#include <string_view>

namespace plat {

// Opaque reference to a window; 0 means none (the desktop).
using WindowRef = std::uintptr_t;

// Message-box styles and answers as the platform numbers them.
constexpr unsigned kMbOk = 0x0;
constexpr unsigned kMbYesNo = 0x4;
constexpr unsigned kMbIconError = 0x10;
constexpr unsigned kMbIconInformation = 0x40;
constexpr int kIdOk = 1;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

class Desktop {
public:
    virtual ~Desktop() = default;
    // MessageBox: shows `text` and returns the button pressed.
    virtual int ShowMessage(WindowRef owner, std::string_view text, std::string_view caption, unsigned style) = 0;
};

}  // namespace plat

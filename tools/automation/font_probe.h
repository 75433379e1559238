#pragma once
// What the checker and the font probe it loads into a program under test
// share: the probe message, the mapping its answer goes to, the answer.
#include <windows.h>

#include <string>

namespace automation {

// Sent to a control of the program: wParam the asking process's id, lParam
// the serial the answer must carry.
constexpr const wchar_t* kFontProbeMessage = L"pp-font-probe";

struct FontProbeReply {
    DWORD serial = 0;
    LOGFONTW font{};
};

inline std::wstring FontProbeMapping(DWORD askingProcess) {
    return L"Local\\pp-font-probe-" + std::to_wstring(askingProcess);
}

}  // namespace automation

// Loaded into a program under test by a thread hook (text_fit.cpp): answers
// the probe message sent to one of its controls with the description of the
// font that control draws with, written into the asking process's mapping.
// A font handle means nothing outside the process that made it; its
// description travels.
#include <windows.h>

#include <string>

#include "automation/font_probe.h"

extern "C" __declspec(dllexport) LRESULT CALLBACK FontProbeHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call && call->message == RegisterWindowMessageW(automation::kFontProbeMessage)) {
        const std::wstring name = automation::FontProbeMapping(static_cast<DWORD>(call->wParam));
        if (HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, name.c_str())) {
            if (auto* reply = static_cast<automation::FontProbeReply*>(
                    MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(automation::FontProbeReply)))) {
                HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(call->hwnd, WM_GETFONT, 0, 0));
                // A control that was never given a font draws with the system font.
                if (!font) font = GetStockObject(SYSTEM_FONT);
                if (GetObjectW(font, sizeof reply->font, &reply->font) == sizeof reply->font)
                    reply->serial = static_cast<DWORD>(call->lParam);
                UnmapViewOfFile(reply);
            }
            CloseHandle(mapping);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

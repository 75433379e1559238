#pragma once
// The real Desinstalar.exe driven under Wine as a person would: started in a
// package folder, items ticked, "&Desinstalar" pressed and the restart
// question answered. Shared by the Wine tests that remove what the real
// Setup.exe installed, from the packaged folder or from a copy of it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "automation/automation.h"
#include "uninstaller/resources/resource.h"

namespace desinstalar_walk {

constexpr const wchar_t* kCaption = L"Desinstalar";
constexpr const wchar_t* kRestartCaption = L"Reiniciar o computador";
constexpr const wchar_t* kSelectPrinters = L"Favor selecionar as impressoras a serem desinstaladas";

// Lines for a test's output, one quoted line each.
inline std::string Joined(const std::vector<std::wstring>& lines) {
    std::string text;
    for (const auto& line : lines) text += "\n    \"" + automation::Narrow(line) + "\"";
    return text.empty() ? " (none)" : text;
}

// Starts Desinstalar.exe of `folder` with that folder as its current one, as
// a double click in it does (Uninstall.ini lies there); the start's result.
inline bool Start(const std::wstring& folder, automation::Process* process) {
    return process->Start(folder + L"\\Desinstalar.exe", folder);
}

// What one "&Desinstalar" showed.
struct Removal {
    bool exitDisabled = false;      // "&Sair" went disabled while the worker ran
    HWND restart = nullptr;         // the restart question, null when none came within a minute
    DWORD milliseconds = 0;         // from the press to the question
    std::vector<std::wstring> log;  // the log when the question came
};

// Presses "&Desinstalar" in `dialog` of process `pid`, with the items ticked
// as they are, and waits for the restart question.
inline Removal PressUninstall(HWND dialog, DWORD pid) {
    Removal removal;
    const DWORD start = GetTickCount();
    automation::Click(dialog, IDC_UNINSTALL);
    removal.exitDisabled = automation::WaitUntil([&] { return !automation::IsEnabled(dialog, IDCANCEL); }, 5000);
    removal.restart = automation::WaitForDialog(pid, kRestartCaption, 60000);
    removal.milliseconds = GetTickCount() - start;
    removal.log = automation::ListBoxLines(dialog, IDC_LOG);
    return removal;
}

// Answers the restart question "&Não"; whether the dialog then takes a new
// choice (its three buttons usable again) within ten seconds.
inline bool DeclineRestart(HWND dialog, HWND restart, bool byEscape = false) {
    if (byEscape) {
        automation::PressKey(restart, VK_ESCAPE);
    } else {
        automation::Click(restart, IDC_RESTART_NO);
    }
    return automation::WaitUntil(
        [&] {
            return automation::IsEnabled(dialog, IDC_UNINSTALL) && automation::IsEnabled(dialog, IDC_SELECT_ALL) &&
                   automation::IsEnabled(dialog, IDCANCEL);
        },
        10000);
}

// Answers the restart question "&Não" and leaves with "&Sair": the dialog is
// usable again and the program ends with 0.
inline void DeclineRestartAndLeave(HWND dialog, HWND restart, automation::Process& uninstaller) {
    EXPECT_TRUE(DeclineRestart(dialog, restart)) << "\"&Não\" leaves the dialog usable";
    // The removal's thread gives the dialog back a moment after it has made
    // the buttons usable again; a click in between is not taken, so
    // "&Sair" is pressed again until the program ends.
    DWORD exitCode = 1;
    bool ended = false;
    for (int attempt = 0; attempt < 20 && !ended; ++attempt) {
        automation::Click(dialog, IDCANCEL);
        ended = uninstaller.WaitForExit(500, &exitCode);
    }
    EXPECT_TRUE(ended) << "\"&Sair\" ends the program";
    EXPECT_EQ(exitCode, 0u);
}

}  // namespace desinstalar_walk

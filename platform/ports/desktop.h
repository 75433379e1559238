#pragma once
// The shared user-interface surface: top-level windows, message boxes, the
// program's single-instance mutex, the shell, the session.
#include <cstdint>
#include <string_view>

#include "ports/errors.h"

namespace plat {

class DialogHandler;

// Opaque reference to a window; 0 means none (the desktop).
using WindowRef = std::uintptr_t;

// Message-box styles and answers as the platform numbers them.
constexpr unsigned kMbOk = 0x0;
constexpr unsigned kMbYesNo = 0x4;
constexpr unsigned kMbIconError = 0x10;
constexpr unsigned kMbIconInformation = 0x40;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

class Desktop {
public:
    virtual ~Desktop() = default;
    // MessageBox: shows `text` and returns the button pressed.
    virtual int ShowMessage(WindowRef owner, std::string_view text, std::string_view caption, unsigned style) = 0;

    // Creates the named mutex, owned by the program until it ends; false when
    // it existed already (another instance runs).
    [[nodiscard]] virtual bool CreateSingleInstanceMutex(std::string_view name) = 0;
    // The top-level window with this caption, or 0.
    [[nodiscard]] virtual WindowRef FindTopLevelWindow(std::string_view caption) = 0;
    // Brings a window to the foreground, restoring it when minimised.
    virtual void BringToFront(WindowRef window) = 0;
    // Minimises a window and keeps it above the others.
    virtual void MinimizeTopmost(WindowRef window) = 0;

    // Whether the user's token holds the built-in Administrators group.
    [[nodiscard]] virtual bool IsAdministrator() = 0;
    // ShellExecute "open" of a file, shown normally; false when it failed.
    [[nodiscard]] virtual bool OpenDocument(std::string_view path) = 0;
    // ShellExecute "open" of a program with its parameters, an empty working
    // folder, shown normally, the desktop window as parent; the system's
    // error when it could not be started (2 for a program that is not there).
    virtual Error StartProgram(std::string_view path, std::string_view parameters) = 0;
    // WM_WININICHANGE to every top-level window, naming `section` (none when
    // empty): sent with a 1000 ms time-out, or posted (SendNotifyMessage)
    // when `post` is set.
    virtual void BroadcastSettingChange(std::string_view section, bool post) = 0;
    // Asks Windows to restart the computer; false when the request failed.
    [[nodiscard]] virtual bool RestartWindows() = 0;

    // Runs the program's dialog `templateId` modally, its messages handled by
    // `handler`; returns the result the handler closed it with.
    virtual int RunDialog(int templateId, WindowRef owner, DialogHandler& handler) = 0;
};

}  // namespace plat

#pragma once
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "ports/desktop.h"
#include "ports/errors.h"
#include "sim/sim_faults.h"

namespace sim {

// The simulated desktop. Message boxes are recorded; each is answered by the
// next scripted answer, or by its first button when none is left.
class SimDesktop : public plat::Desktop {
public:
    // The machine's plan of failures, consulted by the desktop's polls; a
    // program that has died starts no program and restarts nothing.
    FaultPlan* faults = nullptr;

    struct Box {
        plat::WindowRef owner;
        std::string text;
        std::string caption;
        unsigned style;
    };

    int ShowMessage(plat::WindowRef owner, std::string_view text, std::string_view caption, unsigned style) override;
    bool CreateSingleInstanceMutex(std::string_view name) override { return mutexes.insert(std::string(name)).second; }
    plat::WindowRef FindTopLevelWindow(std::string_view caption) override;
    void BringToFront(plat::WindowRef window) override { broughtToFront.push_back(window); }
    void MinimizeTopmost(plat::WindowRef window) override { minimizedTopmost.push_back(window); }
    bool IsAdministrator() override { return administrator; }
    bool OpenDocument(std::string_view path) override {
        opened.emplace_back(path);
        return openSucceeds;
    }
    plat::Error StartProgram(std::string_view path, std::string_view parameters) override {
        if (Dead(faults)) return plat::kErrorAccessDenied;
        started.push_back({std::string(path), std::string(parameters)});
        if (startError == 0 && onStart) onStart(started.back());
        return startError;
    }
    void BroadcastSettingChange(std::string_view section, bool post) override {
        broadcasts.push_back({std::string(section), post});
    }
    bool RestartWindows() override {
        if (Dead(faults)) return false;
        ++restartRequests;
        return restartSucceeds;
    }
    // Starts the dialog, then delivers its timers, as a message loop would,
    // until it closes (or no timer is left to wake it).
    int RunDialog(int templateId, plat::WindowRef owner, plat::DialogHandler& handler) override;

    // Set-up and inspection.
    struct TopLevel {
        std::string caption;
        plat::WindowRef window;
    };
    std::vector<TopLevel> windows;
    std::vector<Box> boxes;
    std::deque<int> answers;
    std::set<std::string> mutexes;
    std::vector<plat::WindowRef> broughtToFront, minimizedTopmost;
    std::vector<std::string> opened;
    struct Broadcast {
        std::string section;
        bool posted;
    };
    std::vector<Broadcast> broadcasts;
    struct Started {
        std::string path;
        std::string parameters;
    };
    std::vector<Started> started;
    // What a started program does on the machine (opens windows, say).
    std::function<void(const Started&)> onStart;
    // The error every start fails with (2: the program is not there); 0
    // starts it.
    long startError = 0;
    void RemoveWindow(std::string_view caption) {
        std::erase_if(windows, [&](const TopLevel& w) { return w.caption == caption; });
    }
    bool administrator = true;
    bool openSucceeds = true;
    bool restartSucceeds = true;
    int restartRequests = 0;
    struct RunDialogCall {
        int templateId;
        plat::WindowRef owner;
    };
    std::vector<RunDialogCall> dialogsRun;
    // Buttons pressed in the dialogs RunDialog shows, one per dialog, in order.
    std::deque<int> dialogClicks;
};

}  // namespace sim

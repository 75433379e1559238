#include "sim/sim_desktop.h"

#include "ports/errors.h"
#include "sim/sim_faults.h"

#include "sim/sim_controls.h"

namespace sim {

int SimDesktop::ShowMessage(plat::WindowRef owner, std::string_view text, std::string_view caption, unsigned style) {
    boxes.push_back({owner, std::string(text), std::string(caption), style});
    if (!answers.empty()) {
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return (style & 0xF) == plat::kMbYesNo ? plat::kIdYes : plat::kIdOk;
}

// A poll of the desktop: failing, it finds nothing.
plat::WindowRef SimDesktop::FindTopLevelWindow(std::string_view caption) {
    if (Enter(faults, "Desktop.FindTopLevelWindow", plat::kErrorAccessDenied, caption)) return 0;
    for (const auto& window : windows) {
        if (window.caption == caption) return window.window;
    }
    return 0;
}

int SimDesktop::RunDialog(int templateId, plat::WindowRef owner, plat::DialogHandler& handler) {
    dialogsRun.push_back({templateId, owner});
    SimControls controls;
    controls.window = 0x3000 + static_cast<plat::WindowRef>(dialogsRun.size());
    handler.OnInit(controls);
    if (!controls.closed && !dialogClicks.empty()) {
        const int button = dialogClicks.front();
        dialogClicks.pop_front();
        handler.OnCommand(controls, button, plat::kBnClicked);
    }
    while (!controls.closed && !controls.timers.empty()) handler.OnTimer(controls, controls.timers.begin()->first);
    return controls.closeResult;
}

}  // namespace sim

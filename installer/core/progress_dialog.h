#pragma once
// The small window shown while the worker installs: a bar that creeps towards
// 90 % and then runs to 100 % on success or back to 0 on failure.
#include "core/install_request.h"
#include "ports/clock.h"
#include "ports/controls.h"

namespace setup {

class ProgressDialog : public plat::DialogHandler {
public:
    ProgressDialog(plat::Clock& clock, const InstallProgress& progress, OsCode osCode)
        : clock_(clock), progress_(progress), osCode_(osCode) {}

    void OnInit(plat::Controls& controls) override;
    // The first tick runs the whole loop; it holds the thread until the window
    // closes, as the installer always has.
    void OnTimer(plat::Controls& controls, int timerId) override;

    static constexpr int kTimerId = 1;
    static constexpr unsigned kTimerMs = 100;
    static constexpr const char* kText = "Instalando impressora, favor aguardar... ";

private:
    void RunDown(plat::Controls& controls, int from);
    void RunUp(plat::Controls& controls, int from);

    plat::Clock& clock_;
    const InstallProgress& progress_;
    OsCode osCode_;
    bool ran_ = false;
};

}  // namespace setup

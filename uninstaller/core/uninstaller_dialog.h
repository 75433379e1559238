#pragma once
// Dialog 102 of Desinstalar: the list of the package's printers, monitors and
// print processors found on the machine, the log, and the removal of the
// ticked items by the RemovalWorker on its own thread.
#include <atomic>
#include <string>

#include "core/removal.h"
#include "core/uninstaller_services.h"
#include "ports/controls.h"
#include "worker_thread.h"

namespace uninstall {

class UninstallerDialog : public plat::DialogHandler {
public:
    explicit UninstallerDialog(UninstallerServices services) : io_(services) {}
    // Waits for a worker that still runs (the window cannot close while it
    // does, but the program must never end under it).
    ~UninstallerDialog() override;

    void OnInit(plat::Controls& controls) override;
    void OnCommand(plat::Controls& controls, int id, int notifyCode) override;
    bool OnSysCommand(plat::Controls& controls, int command) override;
    void OnHelp(plat::Controls& controls) override;

    // The worker's whole run, as its thread runs it; public for the tests,
    // which run it on their own thread.
    void RemovalWorker(plat::Controls& controls);
    bool workerRunning() const { return running_.load(); }
    // Waits until the worker started by "&Desinstalar" has ended.
    void WaitForWorker();

    const RemovalSetup& setup() const { return setup_; }

private:
    // Settles the system, Uninstall.ini and the list; false (after its
    // message) when the dialog must close.
    bool Initialise(plat::Controls& controls);
    void StartRemoval(plat::Controls& controls);

    UninstallerServices io_;
    RemovalSetup setup_;
    std::atomic<bool> running_{false};
    plat::WorkerThread worker_;
};

}  // namespace uninstall

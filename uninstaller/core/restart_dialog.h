#pragma once
// Dialog 129, "Reiniciar o computador": "&Sim" restarts Windows, "&Não" closes.
#include "ports/controls.h"
#include "ports/desktop.h"

namespace uninstall {

class RestartDialog : public plat::DialogHandler {
public:
    explicit RestartDialog(plat::Desktop& desktop) : desktop_(desktop) {}
    void OnInit(plat::Controls&) override {}
    void OnCommand(plat::Controls& controls, int id, int notifyCode) override;

private:
    plat::Desktop& desktop_;
};

}  // namespace uninstall

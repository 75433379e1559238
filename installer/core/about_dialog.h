#pragma once
// The about box of the system menu: the program's name and version.
#include "ports/controls.h"

namespace setup {

class AboutDialog : public plat::DialogHandler {
public:
    void OnInit(plat::Controls& controls) override;
    void OnCommand(plat::Controls& controls, int id, int notifyCode) override;
};

}  // namespace setup

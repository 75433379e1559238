#pragma once
// The controls of one dialog, addressed by their resource ids.
#include "ports/desktop.h"

namespace plat {

class Controls {
public:
    virtual ~Controls() = default;
    // The dialog itself, as owner of the message boxes it shows.
    virtual WindowRef Window() = 0;
    virtual void SetCheck(int id, bool checked) = 0;
    virtual void Enable(int id, bool enabled) = 0;
};

// What a dialog class offers the generic dialog binding of each platform.
class DialogHandler {
public:
    virtual ~DialogHandler() = default;
    virtual void OnInit(Controls& controls) = 0;
    virtual void OnCommand(Controls&, int /*id*/, int /*notifyCode*/) {}
};

}  // namespace plat

#pragma once
#include <map>

#include "ports/controls.h"

namespace sim {

// The controls of one simulated dialog. Controls spring into existence when
// first touched, enabled and unchecked, as a template's defaults would have them.
class SimControls : public plat::Controls {
public:
    struct State {
        bool checked = false;
        bool enabled = true;
    };

    plat::WindowRef Window() override { return window; }
    void SetCheck(int id, bool checked) override { controls[id].checked = checked; }
    void Enable(int id, bool enabled) override { controls[id].enabled = enabled; }

    bool IsChecked(int id) const { return Get(id).checked; }
    bool IsEnabled(int id) const { return Get(id).enabled; }

    plat::WindowRef window = 0x2001;
    std::map<int, State> controls;

private:
    State Get(int id) const {
        auto it = controls.find(id);
        return it == controls.end() ? State{} : it->second;
    }
};

}  // namespace sim

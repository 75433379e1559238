#pragma once
// A page of the wizard: a child dialog whose values the wizard collects.
#include "ports/controls.h"

namespace setup {

class WizardPage : public plat::DialogHandler {
public:
    // Moves the control values into the page's fields; false keeps the page
    // current (its values do not validate).
    virtual bool SaveValues(plat::Controls&) { return true; }
};

}  // namespace setup

#pragma once
#include <deque>
#include <string>
#include <vector>

#include "ports/desktop.h"

namespace sim {

// Message boxes are recorded; each is answered by the next scripted answer,
// or by its first button when none is left.
class SimDesktop : public plat::Desktop {
public:
    struct Box {
        plat::WindowRef owner;
        std::string text;
        std::string caption;
        unsigned style;
    };

    int ShowMessage(plat::WindowRef owner, std::string_view text, std::string_view caption, unsigned style) override {
        boxes.push_back({owner, std::string(text), std::string(caption), style});
        if (!answers.empty()) {
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return (style & 0xF) == plat::kMbYesNo ? plat::kIdYes : plat::kIdOk;
    }

    std::vector<Box> boxes;
    std::deque<int> answers;
};

}  // namespace sim

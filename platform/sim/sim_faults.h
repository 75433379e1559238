#pragma once
// One plan of failures for a whole simulated machine: every port call of the
// sims passes through Enter, which records the call's name (and what it works
// on) in order and fails the one call the plan names. A fault sweep first
// records the calls of a successful run, then runs again once per recorded
// call with exactly that call failing.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

class FaultPlan {
public:
    struct Call {
        std::string op;      // "Spooler.AddPrinter"
        std::string detail;  // what it works on: a path, a key, a name
    };

    // Records the call; the error it must fail with (0: it goes through).
    // `natural` is what the platform answers when this call fails; the
    // plan's own error, when it has one, wins.
    long Enter(std::string_view op, long natural, std::string_view detail = {}) {
        if (!recording_) return 0;
        calls_.push_back({std::string(op), std::string(detail)});
        if (calls_.size() - 1 != failAt_) return 0;
        injected_ = error_ != 0 ? error_ : natural;
        return injected_;
    }

    // Records from now on with nothing failing.
    void Record() { Arm(kNever, 0); }
    // Records from now on and fails call number `index` (from 0) with
    // `error`, or with the call's own natural error when 0.
    void FailAt(std::size_t index, long error = 0) { Arm(index, error); }
    // Stops recording; later calls pass unseen.
    void Stop() { recording_ = false; }

    const std::vector<Call>& calls() const { return calls_; }
    // The error the chosen call failed with; 0 while it has not been made.
    long injected() const { return injected_; }

private:
    static constexpr std::size_t kNever = static_cast<std::size_t>(-1);
    void Arm(std::size_t index, long error) {
        calls_.clear();
        failAt_ = index;
        error_ = error;
        injected_ = 0;
        recording_ = true;
    }

    std::vector<Call> calls_;
    std::size_t failAt_ = kNever;
    long error_ = 0;
    long injected_ = 0;
    bool recording_ = false;
};

// The plan's answer for one call, for sims that may have no plan.
inline long Enter(FaultPlan* plan, std::string_view op, long natural, std::string_view detail = {}) {
    return plan ? plan->Enter(op, natural, detail) : 0;
}

}  // namespace sim

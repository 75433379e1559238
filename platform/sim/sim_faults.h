#pragma once
// One plan of failures for a whole simulated machine: every port call of the
// sims passes through Enter, which records the call's name (and what it works
// on) in order and fails the one call the plan names. A fault sweep first
// records the calls of a successful run, then runs again once per recorded
// call with exactly that call failing. A crash sweep instead lets the program
// die at one call: from there on every call fails and changes nothing, as if
// the program were gone.
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
        const std::size_t index = calls_.size() - 1;
        if (index >= dieAt_) {
            dead_ = true;
            return natural != 0 ? natural : kErrorGenFailure;
        }
        if (index != failAt_) return 0;
        injected_ = error_ != 0 ? error_ : natural;
        return injected_;
    }

    // Records from now on with nothing failing.
    void Record() { Arm(kNever, 0); }
    // Records from now on and fails call number `index` (from 0) with
    // `error`, or with the call's own natural error when 0.
    void FailAt(std::size_t index, long error = 0) { Arm(index, error); }
    // Records from now on and lets the program die at call number `index`
    // (from 0): that call and every later one fail.
    void DieAt(std::size_t index) {
        Arm(kNever, 0);
        dieAt_ = index;
    }
    // Stops recording; later calls pass unseen, and a program that died is
    // gone: a new one runs.
    void Stop() {
        recording_ = false;
        dead_ = false;
        dieAt_ = kNever;
    }

    // The program has died: what it would still do changes nothing. Calls
    // that do not pass through Enter ask this before they act.
    bool dead() const { return dead_; }

    const std::vector<Call>& calls() const { return calls_; }
    // The error the chosen call failed with; 0 while it has not been made.
    long injected() const { return injected_; }

private:
    static constexpr std::size_t kNever = static_cast<std::size_t>(-1);
    // ERROR_GEN_FAILURE, for a call whose platform answer to a failure is no
    // error code of its own.
    static constexpr long kErrorGenFailure = 31;
    void Arm(std::size_t index, long error) {
        calls_.clear();
        failAt_ = index;
        error_ = error;
        injected_ = 0;
        recording_ = true;
        dieAt_ = kNever;
        dead_ = false;
    }

    std::vector<Call> calls_;
    std::size_t failAt_ = kNever;
    long error_ = 0;
    long injected_ = 0;
    bool recording_ = false;
    std::size_t dieAt_ = kNever;
    bool dead_ = false;
};

// The plan's answer for one call, for sims that may have no plan.
inline long Enter(FaultPlan* plan, std::string_view op, long natural, std::string_view detail = {}) {
    return plan ? plan->Enter(op, natural, detail) : 0;
}

// Whether the program a sim serves has died, for sims that may have no plan.
inline bool Dead(const FaultPlan* plan) {
    return plan && plan->dead();
}

}  // namespace sim

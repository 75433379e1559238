#pragma once
// The loop of a fault sweep: one run that records every call, then one run
// per recorded call with exactly that call failing with its natural error,
// and once more with a second error where the programs tell codes apart. And
// the loop of a crash sweep: the program dies at each recorded call in turn
// and runs again on what it left.
#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "sim/sim_faults.h"

namespace sim {

// One failed call of a sweep: its number in the run, what it was, and the
// error it fails with.
struct Fault {
    std::size_t index = 0;
    FaultPlan::Call call;
    // The call's own detail, or that of the next call that names what it
    // works on: a directory read belongs to the copy that follows it.
    std::string subject;
    // Which call of its operation it is in the run, from 1.
    std::size_t occurrence = 0;
    long error = 0;  // 0: the call's natural error
};

struct SweepResult {
    std::size_t calls = 0;
    std::size_t runs = 0;
    std::vector<std::string> problems;  // one line per run that ended otherwise than expected
    std::string Summary(const std::string& name) const {
        return "fault sweep: " + name + ": " + std::to_string(calls) + " calls, " + std::to_string(runs) + " runs, " +
               (problems.empty() ? "all as expected, no handle left open"
                                 : std::to_string(problems.size()) + " not as expected");
    }
};

// `run` sets up a fresh machine, arms its plan (FailAt(fault->index,
// fault->error) or, without a fault, Record()), runs the code under test,
// hands back the calls recorded and returns what was wrong with the end (""
// when it is as expected). `secondErrors` names the operations that get a
// second run, with that error, besides the one with their natural error.
inline SweepResult Sweep(const std::function<std::string(const Fault*, std::vector<FaultPlan::Call>*)>& run,
                         const std::map<std::string, long>& secondErrors) {
    SweepResult result;
    std::vector<FaultPlan::Call> recorded;
    if (std::string problem = run(nullptr, &recorded); !problem.empty()) {
        result.problems.push_back("without a fault: " + problem);
        return result;
    }
    result.calls = recorded.size();
    for (std::size_t i = 0; i < recorded.size(); ++i) {
        Fault fault{i, recorded[i], {}, 0, 0};
        for (std::size_t j = i; j < recorded.size() && fault.subject.empty(); ++j) fault.subject = recorded[j].detail;
        for (std::size_t j = 0; j <= i; ++j) fault.occurrence += recorded[j].op == recorded[i].op ? 1 : 0;
        std::vector<long> errors{0};
        if (auto second = secondErrors.find(recorded[i].op); second != secondErrors.end()) {
            errors.push_back(second->second);
        }
        for (long error : errors) {
            fault.error = error;
            std::vector<FaultPlan::Call> calls;
            ++result.runs;
            if (std::string problem = run(&fault, &calls); !problem.empty()) {
                result.problems.push_back("call " + std::to_string(i) + " " + fault.call.op + " (" + fault.subject +
                                          ") error " + std::to_string(error) + ": " + problem);
            }
        }
    }
    return result;
}

// A crash sweep: one run that records every call, then per recorded call k a
// run in which the program dies at call k, the machine closes what it held
// (SimMachine::ProcessEnded) and the same program runs again from the start
// on what was left. `outcome` names what a rerun must not leave the machine
// ("unable to print").
struct CrashSweepResult {
    std::size_t calls = 0;
    std::size_t crashPoints = 0;
    std::size_t reruns = 0;
    std::vector<std::string> problems;  // one line per rerun that left the machine worse off
    std::string Summary(const std::string& name, const std::string& outcome) const {
        return "crash sweep: " + name + ": " + std::to_string(calls) + " calls, " + std::to_string(crashPoints) +
               " crash points, " + std::to_string(reruns) + " reruns, " +
               (problems.empty()
                    ? "no machine"
                    : std::to_string(problems.size()) + (problems.size() == 1 ? " machine" : " machines")) +
               " left " + outcome;
    }
};

// `run` sets up a fresh machine; without a crash point it records the calls
// of one run (Record()) and hands them back; with one it arms the plan
// (DieAt(*crashAt)), runs the program, ends its process and, once the program
// has died there, runs it again (`reran`). It returns what was wrong with the
// end ("" when a user can live with it).
inline CrashSweepResult CrashSweep(
    const std::function<std::string(const std::size_t* crashAt, std::vector<FaultPlan::Call>*, bool* reran)>& run) {
    CrashSweepResult result;
    std::vector<FaultPlan::Call> recorded;
    bool reran = false;
    if (std::string problem = run(nullptr, &recorded, &reran); !problem.empty()) {
        result.problems.push_back("without a crash: " + problem);
        return result;
    }
    result.calls = recorded.size();
    for (std::size_t k = 0; k < recorded.size(); ++k) {
        std::vector<FaultPlan::Call> calls;
        ++result.crashPoints;
        reran = false;
        const std::string problem = run(&k, &calls, &reran);
        result.reruns += reran ? 1 : 0;
        if (!problem.empty()) {
            result.problems.push_back("died at call " + std::to_string(k) + " " + recorded[k].op + " (" +
                                      recorded[k].detail + "): " + problem);
        }
    }
    return result;
}

}  // namespace sim

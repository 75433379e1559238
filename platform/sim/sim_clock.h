#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <vector>

#include "ports/clock.h"

namespace sim {

// A virtual clock: waits cost no real time, are recorded, and move the clock
// on, running whatever a test scheduled for the moments passed. The
// installation worker and the progress window wait on it from two threads.
class SimClock : public plat::Clock {
public:
    void Sleep(unsigned milliseconds) override {
        const std::lock_guard<std::recursive_mutex> lock(mutex_);
        waits.push_back(milliseconds);
        now += milliseconds;
        while (!events.empty() && events.begin()->first <= now) {
            auto event = std::move(events.begin()->second);
            events.erase(events.begin());
            event();
        }
    }
    // Runs `event` once the clock has reached `at` milliseconds.
    void At(std::uint64_t at, std::function<void()> event) {
        const std::lock_guard<std::recursive_mutex> lock(mutex_);
        events.emplace(at, std::move(event));
    }

    std::uint64_t now = 0;
    std::vector<unsigned> waits;
    std::multimap<std::uint64_t, std::function<void()>> events;

private:
    // Recursive: a scheduled event may itself wait.
    std::recursive_mutex mutex_;
};

}  // namespace sim

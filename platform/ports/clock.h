#pragma once
// Fixed waits and elapsed time. Every wait the programs make goes through
// here, so tests can check them on a virtual clock without sleeping.
#include <cstdint>

namespace plat {

class Clock {
public:
    virtual ~Clock() = default;
    virtual void Sleep(unsigned milliseconds) = 0;
};

}  // namespace plat

#pragma once
// How the tests print a Windows version code in their messages: its number.
#include <ostream>

#include "programs/os_code.h"

namespace programs {

inline std::ostream& operator<<(std::ostream& out, OsCode code) {
    return out << OsIndex(code);
}

}  // namespace programs

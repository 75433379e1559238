// Arbitrary bytes as a profile file: the reader must find or miss a value
// without reading past the text, and what it finds must fit the buffer.
#include <cstddef>
#include <cstdint>
#include <string>

#include "sim/sim_files.h"
#include "sim/sim_profile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    sim::SimFiles files;
    files.Write("C:\\f.ini", text);
    sim::SimProfile profile(files);
    for (std::size_t buffer : {std::size_t{0}, std::size_t{1}, std::size_t{5}, std::size_t{200}}) {
        const std::string value = profile.GetString("C:\\f.ini", "DEVICENAME", "DEVICENAME1", "0", buffer);
        if (value.size() > (buffer ? buffer - 1 : 0)) __builtin_trap();
    }
    return 0;
}

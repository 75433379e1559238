#include "win32/win32_profile.h"

#include <windows.h>
// <windows.h> maps WriteProfileString to its A or W function; here it names
// the port's operation.
#undef WriteProfileString

#include <vector>

#include "win32/encoding.h"

namespace win32 {

std::string Win32Profile::GetString(std::string_view path, std::string_view section, std::string_view key,
                                    std::string_view defaultText, std::size_t bufferSize) {
    if (bufferSize == 0) return {};
    std::vector<char> buffer(bufferSize, '\0');
    const DWORD length =
        GetPrivateProfileStringA(Utf8ToAnsi(section).c_str(), Utf8ToAnsi(key).c_str(), Utf8ToAnsi(defaultText).c_str(),
                                 buffer.data(), static_cast<DWORD>(bufferSize), Utf8ToAnsi(path).c_str());
    return AnsiToUtf8(std::string_view(buffer.data(), length));
}

bool Win32Profile::WriteProfileString(std::string_view section, std::string_view key, std::string_view value) {
    return WriteProfileStringA(Utf8ToAnsi(section).c_str(), Utf8ToAnsi(key).c_str(), Utf8ToAnsi(value).c_str()) !=
           FALSE;
}

bool Win32Profile::FlushProfile() {
    return WriteProfileStringA(nullptr, nullptr, nullptr) != FALSE;
}

}  // namespace win32

#include "core/uninstaller_text.h"

namespace uninstall {

std::string_view UninstallerString(int id) {
    switch (id) {
#define UNINSTALLER_STRING(name, number, text) \
    case number:                               \
        return text;
#include "uninstaller_strings.inc"
#undef UNINSTALLER_STRING
    }
    return {};
}

std::string WithItem(std::string_view text, std::string_view itemName) {
    std::string line(text);
    const std::size_t at = line.find("%s");
    if (at != std::string::npos) line.replace(at, 2, itemName);
    return line;
}

}  // namespace uninstall

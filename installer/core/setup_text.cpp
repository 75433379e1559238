#include "core/setup_text.h"

namespace setup {

std::string_view SetupString(int id) {
    switch (id) {
#define SETUP_STRING(name, number, text) \
    case number:                         \
        return text;
#include "setup_strings.inc"
#undef SETUP_STRING
    }
    return {};
}

}  // namespace setup

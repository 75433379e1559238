#include "core/os_code.h"

namespace setup {

bool MakeSectionName(std::string_view base, std::string_view suffix, std::string* section) {
    section->clear();
    if (base.size() + 1 + suffix.size() > kMaxSectionName) return false;
    section->append(base).append(".").append(suffix);
    return true;
}

}  // namespace setup

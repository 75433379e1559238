#include "sim/sim_profile.h"

#include "text.h"

namespace sim {

std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section, std::string_view key) {
    bool inSection = false;
    bool sectionSeen = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = plat::Trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            // Only the first section of a name counts, as on the platform.
            if (inSection) return std::nullopt;
            std::string_view name = line.substr(1);
            name = name.substr(0, name.find(']'));
            inSection = !sectionSeen && plat::EqualsNoCase(plat::Trim(name), section);
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        if (!inSection) continue;
        const std::size_t equals = line.find('=');
        const std::string_view name = plat::Trim(line.substr(0, equals));
        if (!plat::EqualsNoCase(name, key)) continue;
        if (equals == std::string_view::npos) return std::string();
        std::string_view value = plat::Trim(line.substr(equals + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        return std::string(value);
    }
    return std::nullopt;
}

std::string SimProfile::GetString(std::string_view path, std::string_view section, std::string_view key,
                                  std::string_view defaultText, std::size_t bufferSize) {
    if (bufferSize == 0) return {};
    std::optional<std::string> value;
    if (auto text = files_.Read(path)) value = FindProfileValue(*text, section, key);
    std::string result;
    if (value) {
        result = std::move(*value);
    } else {
        const auto last = defaultText.find_last_not_of(' ');
        result = std::string(defaultText.substr(0, last == std::string_view::npos ? 0 : last + 1));
    }
    if (result.size() > bufferSize - 1) result.resize(bufferSize - 1);
    return result;
}

}  // namespace sim

#include "sim/sim_profile.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "sim/sim_code_page.h"
#include "sim/sim_faults.h"

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
    // A file that cannot be read gives the default text, as a missing one does.
    const bool unreadable = Enter(faults, "Profile.GetString", plat::kErrorAccessDenied, key) != 0;
    if (auto text = files_.Read(path); text && !unreadable)
        value = FindProfileValue(*text, ToAnsi(section), ToAnsi(key));
    std::string result;
    if (value) {
        result = std::move(*value);
    } else {
        const std::string ansiDefault = ToAnsi(defaultText);
        const auto last = ansiDefault.find_last_not_of(' ');
        result = ansiDefault.substr(0, last == std::string::npos ? 0 : last + 1);
    }
    if (result.size() > bufferSize - 1) result.resize(bufferSize - 1);
    return FromAnsi(result);
}

namespace {
// One line of a profile file with its own line end, so that lines the write
// does not touch keep their bytes.
struct Line {
    std::string text;
    std::string end;
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) {
            lines.push_back({std::string(text.substr(pos)), ""});
            break;
        }
        const bool crlf = end > pos && text[end - 1] == '\r';
        lines.push_back({std::string(text.substr(pos, end - pos - (crlf ? 1 : 0))), crlf ? "\r\n" : "\n"});
        pos = end + 1;
    }
    return lines;
}

// The section a line opens, if it opens one.
std::optional<std::string_view> SectionOf(std::string_view text) {
    const std::string_view line = plat::Trim(text);
    if (line.empty() || line.front() != '[') return std::nullopt;
    std::string_view name = line.substr(1);
    return plat::Trim(name.substr(0, name.find(']')));
}

// Whether a line of a section holds `key`.
bool HoldsKey(std::string_view text, std::string_view key) {
    const std::string_view line = plat::Trim(text);
    if (line.empty() || line.front() == ';') return false;
    return plat::EqualsNoCase(plat::Trim(line.substr(0, line.find('='))), key);
}
}  // namespace

// The profile's own files are written with CRLF line ends, so new lines get
// them too.
bool SimProfile::FlushProfile() {
    if (Enter(faults, "Profile.FlushProfile", plat::kErrorAccessDenied)) return false;
    ++flushes;
    return true;
}

bool SimProfile::WriteProfileString(std::string_view utf8Section, std::string_view utf8Key,
                                    std::string_view utf8Value) {
    if (Enter(faults, "Profile.WriteProfileString", plat::kErrorAccessDenied, utf8Key)) return false;
    if (!writesSucceed) return false;
    const std::string section = ToAnsi(utf8Section), key = ToAnsi(utf8Key), value = ToAnsi(utf8Value);
    std::vector<Line> lines = SplitLines(files_.Read(kWinIni).value_or(std::string()));
    Line entry{std::string(key) + "=" + std::string(value), "\r\n"};

    // Only the first section of a name counts, as when reading.
    auto first = lines.begin();
    for (; first != lines.end(); ++first) {
        auto name = SectionOf(first->text);
        if (name && plat::EqualsNoCase(*name, section)) break;
    }
    if (first == lines.end()) {
        if (!lines.empty() && lines.back().end.empty()) lines.back().end = "\r\n";
        lines.push_back({"[" + std::string(section) + "]", "\r\n"});
        lines.push_back(std::move(entry));
    } else {
        auto next = std::next(first);
        while (next != lines.end() && !SectionOf(next->text)) ++next;
        auto existing =
            std::find_if(std::next(first), next, [&](const Line& line) { return HoldsKey(line.text, key); });
        if (existing != next) {
            existing->text = std::move(entry.text);
        } else {
            // After the section's last entry, before the blank lines that
            // part it from the next section.
            auto at = next;
            while (std::prev(at) != first && plat::Trim(std::prev(at)->text).empty()) --at;
            if (std::prev(at)->end.empty()) std::prev(at)->end = "\r\n";
            lines.insert(at, std::move(entry));
        }
    }

    std::string text;
    for (const Line& line : lines) text += line.text + line.end;
    files_.Write(kWinIni, std::move(text));
    return true;
}

}  // namespace sim

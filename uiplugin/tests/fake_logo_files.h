#pragma once
// Files for the download page's tests: a folder of files held in memory, the
// open-file dialog answered from a script, and failures chosen per path.
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "core/logo_files.h"

namespace plugin_test {

// What the user picks in the next open-file dialog, from a script of full
// paths; nothing for Cancel or when the script has run out.
inline std::optional<plugin::ChosenFile> NextChoice(std::deque<std::optional<std::string>>& answers) {
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> path = answers.front();
    answers.pop_front();
    if (!path) return std::nullopt;
    const std::size_t slash = path->find_last_of("\\/");
    return plugin::ChosenFile{*path, slash == std::string::npos ? *path : path->substr(slash + 1)};
}

class FakeLogoFiles : public plugin::LogoFiles {
public:
    std::optional<plugin::ChosenFile> ChooseFile(plat::WindowRef, const plugin::FileChoice& choice) override {
        titles.emplace_back(choice.title);
        return NextChoice(answers);
    }
    std::optional<std::uint64_t> Size(std::string_view path) override {
        auto file = files.find(std::string(path));
        if (file == files.end()) return std::nullopt;
        // A file whose read call fails still has a size.
        auto failure = failures.find(std::string(path));
        if (failure != failures.end() && failure->second != plugin::FileReadError::kReadFailed) return std::nullopt;
        return file->second.size();
    }
    plugin::FileRead Read(std::string_view path, std::uint64_t maxBytes) override {
        auto failure = failures.find(std::string(path));
        if (failure != failures.end()) return {failure->second, {}};
        auto file = files.find(std::string(path));
        if (file == files.end()) return {plugin::FileReadError::kOpenFailed, {}};
        if (file->second.size() > maxBytes) return {plugin::FileReadError::kTooLarge, {}};
        return {plugin::FileReadError::kNone, file->second};
    }

    std::map<std::string, std::vector<std::uint8_t>> files;
    std::map<std::string, plugin::FileReadError> failures;
    // What the user picks in each open-file dialog, in turn; nothing for Cancel.
    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> titles;  // every dialog shown
};

}  // namespace plugin_test

#pragma once
// Files for the watermark page's tests: files held in memory with a
// read-only mark, the open-file dialog answered from a script, and writes,
// copies or attribute changes that fail for chosen paths.
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/watermark_files.h"
#include "fake_logo_files.h"

namespace plugin_test {

class FakeWatermarkFiles : public plugin::WatermarkFiles {
public:
    std::optional<plugin::ChosenFile> ChooseBitmap(plat::WindowRef) override {
        ++dialogs;
        return NextChoice(answers);
    }
    plugin::FileRead Read(std::string_view path, std::uint64_t maxBytes) override {
        reads.emplace_back(path);
        auto file = files.find(std::string(path));
        if (file == files.end() || unreadable.count(std::string(path))) return {plugin::FileReadError::kOpenFailed, {}};
        if (file->second.size() > maxBytes) return {plugin::FileReadError::kTooLarge, {}};
        return {plugin::FileReadError::kNone, file->second};
    }
    bool Write(std::string_view path, std::span<const std::uint8_t> bytes) override {
        const std::string key(path);
        if (unwritable.count(key) || readOnly.count(key)) return false;
        files[key].assign(bytes.begin(), bytes.end());
        ++writes;
        return true;
    }
    bool Copy(std::string_view source, std::string_view destination) override {
        auto file = files.find(std::string(source));
        const std::string key(destination);
        if (file == files.end() || unwritable.count(key) || readOnly.count(key)) return false;
        files[key] = file->second;
        // CopyFile carries the source's attributes over.
        if (readOnly.count(file->first)) readOnly.insert(key);
        ++writes;
        return true;
    }
    bool SetArchiveOnly(std::string_view path) override {
        const std::string key(path);
        if (!files.count(key) || attributesFail.count(key)) return false;
        readOnly.erase(key);
        return true;
    }
    std::string TemporaryFolder() override { return temporaryFolder; }

    std::map<std::string, std::vector<std::uint8_t>> files;
    std::set<std::string> readOnly;
    std::set<std::string> unreadable;      // exist but cannot be opened
    std::set<std::string> unwritable;      // cannot be created
    std::set<std::string> attributesFail;  // SetFileAttributes fails
    std::string temporaryFolder = "C:\\TEMP\\";
    // What the user picks in each open-file dialog, in turn; nothing for Cancel.
    std::deque<std::optional<std::string>> answers;
    int dialogs = 0;
    int writes = 0;
    std::vector<std::string> reads;
};

}  // namespace plugin_test

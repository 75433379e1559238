#pragma once
// The file the control-font translation table lives in, "7404VXCONTROL.ini"
// in the spooler's driver folder: one section, one key per character that
// has a command (its code in "%X"), the command's hexadecimal text as value.
// The rendering side of the driver reads it, so its place and format stay.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plugin {

constexpr std::string_view kControlFontFileName = "7404VXCONTROL.ini";
constexpr std::string_view kControlFontSection = "Character Translation Table";

// One key of the section and its value, in the order they are written.
using ControlFontEntry = std::pair<std::string, std::string>;

class ControlFontFile {
public:
    virtual ~ControlFontFile() = default;
    // The value of `key` in the section; empty when the file, the section or
    // the key is missing.
    virtual std::string Read(std::string_view key) = 0;
    // The whole table, written as a new file beside the old one that then
    // takes its place in one step: a failure half-way leaves the old table as
    // it was. No entries leave no file. False when the new table could not
    // be written or put in place.
    [[nodiscard]] virtual bool WriteAll(const std::vector<ControlFontEntry>& entries) = 0;
};

}  // namespace plugin

#pragma once
// The plug-in's pages and dialogs as the Wine tests show them: every text
// fits its control at the screen's DPI, nothing overlaps and the keyboard
// reaches every control (automation/fit_tally.h, which prints the counts
// when the test program ends), with the one overlap the plug-in's screens
// have by design let through: an up-down over its buddy edit's border.
#include <windows.h>

#include <string>

namespace plugin_test {

// Checks the page or dialog `window`, named `screen` in the problem lines;
// each problem fails the running test. `allowedShared` holds the mnemonic
// letters that two fixed texts of the screen may share.
void ExpectScreenFits(HWND window, const std::string& screen, const std::wstring& allowedShared = L"");

}  // namespace plugin_test

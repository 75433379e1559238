#include "tests/screen_fit.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

#include "automation/automation.h"
#include "automation/fit_tally.h"
#include "automation/text_fit.h"

namespace plugin_test {

namespace {

// An up-down control bound to an edit draws over the edit's right border so
// that the two read as one control; that overlap of up to two pixels, as
// comctl32 places it, is no layout fault. The overlap lines CheckTextFit
// writes for such pairs (texts empty: neither shows a text of its own).
std::vector<std::string> SpinOverlaps(HWND window, const std::string& screen) {
    std::vector<std::string> lines;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[64] = {};
        GetClassNameW(child, name, 64);
        if (lstrcmpiW(name, UPDOWN_CLASSW) != 0 || !IsWindowVisible(child)) continue;
        HWND buddy = reinterpret_cast<HWND>(SendMessageW(child, UDM_GETBUDDY, 0, 0));
        RECT spin{}, edit{}, common{};
        if (!buddy || !GetWindowRect(child, &spin) || !GetWindowRect(buddy, &edit) ||
            !IntersectRect(&common, &spin, &edit))
            continue;
        const int width = common.right - common.left, height = common.bottom - common.top;
        if (width > 2 || height != spin.bottom - spin.top) continue;
        const std::string size = std::to_string(width) + "x" + std::to_string(height);
        const std::string spinId = std::to_string(GetDlgCtrlID(child)), editId = std::to_string(GetDlgCtrlID(buddy));
        for (const auto& [first, second] : {std::pair{editId, spinId}, std::pair{spinId, editId}}) {
            lines.push_back(screen + ": control " + first + " \"\" and control " + second + " \"\" overlap by " + size +
                            " pixels");
        }
    }
    return lines;
}

}  // namespace

void ExpectScreenFits(HWND window, const std::string& screen, const std::wstring& allowedShared) {
    ASSERT_NE(window, nullptr) << screen << " is shown";
    const std::string wanted = automation::EnvVar("PP_DPI");
    if (!wanted.empty()) {
        ASSERT_EQ(automation::CurrentDpi(), std::atoi(wanted.c_str())) << "the run's DPI (PP_DPI)";
    }
    // A page fills its lists and texts as it shows.
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    automation::ScreenReport text = automation::CheckTextFit(window, screen);
    const std::vector<std::string> joined = SpinOverlaps(window, screen);
    std::erase_if(text.problems, [&](const std::string& problem) {
        return std::find(joined.begin(), joined.end(), problem) != joined.end();
    });
    const automation::ScreenReport keys = automation::CheckKeyboard(window, screen, allowedShared);
    EXPECT_GT(text.controls, 0) << screen << ": no text found to check";
    for (const std::string& problem : text.problems) ADD_FAILURE() << "text fit: " << problem;
    for (const std::string& problem : keys.problems) ADD_FAILURE() << "keyboard: " << problem;
    automation::FitTally::Instance().Add("plug-in", screen, text, keys);
}

}  // namespace plugin_test

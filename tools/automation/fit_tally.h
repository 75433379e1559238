#pragma once
// The text-fit and keyboard checks (text_fit.h) as the Wine tests use them:
// a screen is checked where a test shows it, each problem fails that test,
// and when the test program ends it prints one pair of summary lines per
// program whose screens it checked. PP_DPI, when set, is the DPI the run
// must be at.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>
#include <string>

#include "automation/automation.h"
#include "automation/text_fit.h"

namespace automation {

class FitTally : public ::testing::Environment {
public:
    static FitTally& Instance() {
        static FitTally* tally = [] {
            auto* made = new FitTally;
            ::testing::AddGlobalTestEnvironment(made);  // owned by GoogleTest from here
            return made;
        }();
        return *tally;
    }
    void Add(const std::string& program, const std::string& screen, const ScreenReport& text,
             const ScreenReport& keys) {
        Program& seen = programs_[program];
        if (seen.screens.insert(screen).second) seen.controls += text.controls;
        seen.textProblems.insert(text.problems.begin(), text.problems.end());
        seen.keyProblems.insert(keys.problems.begin(), keys.problems.end());
    }
    void TearDown() override {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring binary = path;
        binary = binary.substr(binary.find_last_of(L"\\/") + 1);
        binary = binary.substr(0, binary.rfind(L'.'));
        for (const auto& [program, seen] : programs_) {
            PrintFitSummary(program + " (" + Narrow(binary) + ")", CurrentDpi(), static_cast<int>(seen.screens.size()),
                            seen.controls, static_cast<int>(seen.textProblems.size()),
                            static_cast<int>(seen.keyProblems.size()));
        }
    }

private:
    struct Program {
        std::set<std::string> screens;
        int controls = 0;
        std::set<std::string> textProblems, keyProblems;
    };
    std::map<std::string, Program> programs_;
};

// Checks the screen `window` of `program` shows now: its texts fit, nothing
// overlaps, the keyboard reaches everything (`allowedShared`: mnemonic
// letters the program's fixed texts give to more than one control).
inline void ExpectScreenFits(const std::string& program, HWND window, const std::string& screen,
                             const std::wstring& allowedShared = L"") {
    ASSERT_NE(window, nullptr) << screen;
    const std::string wanted = EnvVar("PP_DPI");
    if (!wanted.empty()) {
        ASSERT_EQ(CurrentDpi(), std::atoi(wanted.c_str())) << "the run's DPI (PP_DPI)";
    }
    // Let the screen settle: a page fills its lists and texts as it shows.
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const ScreenReport text = CheckTextFit(window, screen);
    const ScreenReport keys = CheckKeyboard(window, screen, allowedShared);
    EXPECT_GT(text.controls, 0) << screen << ": no text found to check";
    for (const auto& problem : text.problems) ADD_FAILURE() << "text fit: " << problem;
    for (const auto& problem : keys.problems) ADD_FAILURE() << "keyboard: " << problem;
    FitTally::Instance().Add(program, screen, text, keys);
}

}  // namespace automation

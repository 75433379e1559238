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
    void AddTemplates(const std::string& program, int dialogs, int controls, int problems) {
        Program& seen = programs_[program];
        seen.templates = dialogs;
        seen.templateControls = controls;
        seen.templateProblems = problems;
    }
    void TearDown() override {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring binary = path;
        binary = binary.substr(binary.find_last_of(L"\\/") + 1);
        binary = binary.substr(0, binary.rfind(L'.'));
        for (const auto& [program, seen] : programs_) {
            const std::string what = program + " (" + Narrow(binary) + ")";
            if (!seen.screens.empty())
                PrintFitSummary(what, CurrentDpi(), static_cast<int>(seen.screens.size()), seen.controls,
                                static_cast<int>(seen.textProblems.size()), static_cast<int>(seen.keyProblems.size()));
            if (seen.templates > 0)
                PrintTemplateSummary(what, seen.templates, seen.templateControls, seen.templateProblems);
        }
    }

private:
    struct Program {
        std::set<std::string> screens;
        int controls = 0;
        std::set<std::string> textProblems, keyProblems;
        int templates = 0, templateControls = 0, templateProblems = 0;
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

// Checks every dialog template in the module file `path` of `program`, also
// those of dialogs no test opens (CheckTemplateKeyboard). `allowedShared`
// maps a template's number to the mnemonic letters that the program's fixed
// texts give to more than one of its controls.
inline void ExpectTemplatesWork(const std::string& program, const std::wstring& path,
                                const std::map<int, std::wstring>& allowedShared = {}) {
    std::string error;
    const std::vector<DialogTemplate> dialogs = ReadDialogTemplates(path, &error);
    ASSERT_FALSE(dialogs.empty()) << Narrow(path) << ": " << error;
    int controls = 0, problems = 0;
    for (const DialogTemplate& dialog : dialogs) {
        const auto allowed = allowedShared.find(dialog.id);
        const ScreenReport report =
            CheckTemplateKeyboard(dialog, "template " + std::to_string(dialog.id) + " \"" + Narrow(dialog.caption) + "\"",
                                  allowed == allowedShared.end() ? L"" : allowed->second);
        controls += report.controls;
        problems += static_cast<int>(report.problems.size());
        for (const auto& problem : report.problems) ADD_FAILURE() << "keyboard: " << problem;
    }
    FitTally::Instance().AddTemplates(program, static_cast<int>(dialogs.size()), controls, problems);
}

}  // namespace automation

#pragma once
// Whether a dialog of another process reads whole and works from the
// keyboard: every text fits its control, measured with the control's own font
// at the screen's DPI, no two controls cover each other, Tab reaches every
// tab stop and no two controls answer to one mnemonic letter.
#include <windows.h>

#include <string>
#include <vector>

#include "automation/dialog_template.h"

namespace automation {

struct ScreenReport {
    int controls = 0;                   // controls checked
    std::vector<std::string> problems;  // one line each: screen, control id, text, needed vs. available size (pixels)
};

// Every visible control of `window` (and of the child dialogs it holds, such
// as wizard pages) that shows text: static texts, buttons, check boxes, radio
// buttons, group boxes. Its text, measured as the control draws it (word
// wrap where the control wraps, & mnemonics as DrawText takes them, room for
// the check box or radio glyph and the group box's frame), must fit the
// control's client area; and no two visible controls overlap unless one is a
// group box that holds the other. In a message box (a dialog with the static
// 0xFFFF), which the system lays out, only the texts are measured.
// `screen` names the dialog in the problem lines. The fonts of another
// process's controls are read inside that process (font_probe.dll, loaded
// there by a thread hook): a font handle is no use outside its process.
ScreenReport CheckTextFit(HWND window, const std::string& screen);

// Every visible enabled tab stop of `window` is reached by GetNextDlgTabItem
// from the first in reading order; no two controls share a mnemonic letter
// except the letters in `allowedShared`; a dialog with an OK-like button
// (IDOK, IDYES or a default push button) names a default button (DM_GETDEFID);
// not asked of message boxes.
ScreenReport CheckKeyboard(HWND window, const std::string& screen, const std::wstring& allowedShared = L"");

// What the keyboard needs of a dialog template before it is shown: no two
// visible controls share a mnemonic (but the letters in `allowedShared`),
// the tab stops come in the template's order, which is Tab's, in reading
// order; every visible control a person works (an edit box that is not
// read-only, a list, a button, a check box; a group of radio buttons through
// one of them) is a tab stop; at most one default push button, and a dialog
// of its own with OK makes it the default. `screen` names the template.
ScreenReport CheckTemplateKeyboard(const DialogTemplate& dialog, const std::string& screen,
                                   const std::wstring& allowedShared = L"");

// One line each for the test log, on stdout:
//   text fit: <what> at <dpi> DPI: N screens, M controls, K texts cut
//   keyboard: <what> at <dpi> DPI: N screens, K problems
void PrintFitSummary(const std::string& what, int dpi, int screens, int controls, int textProblems,
                     int keyboardProblems);

//   keyboard: <what> templates: N dialogs, M controls, K problems
void PrintTemplateSummary(const std::string& what, int dialogs, int controls, int problems);

// GetDeviceCaps(LOGPIXELSY) of the screen.
int CurrentDpi();

}  // namespace automation

#include "automation/text_fit.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <map>
#include <set>
#include <utility>

#include "automation/automation.h"
#include "automation/font_probe.h"

namespace automation {

namespace {

// How a control shows its text, as far as measuring goes.
enum class Kind { kNone, kStatic, kPush, kCheck, kGroup };

struct Control {
    HWND window = nullptr;
    int id = 0;
    Kind kind = Kind::kNone;
    LONG style = 0;
    std::wstring text;
    RECT screen{};  // the window rectangle on the screen
};

Kind KindOf(const std::wstring& className, LONG style) {
    if (lstrcmpiW(className.c_str(), L"Static") == 0) {
        switch (style & SS_TYPEMASK) {
            case SS_LEFT:
            case SS_CENTER:
            case SS_RIGHT:
            case SS_SIMPLE:
            case SS_LEFTNOWORDWRAP:
                return Kind::kStatic;
        }
        return Kind::kNone;
    }
    if (lstrcmpiW(className.c_str(), L"Button") != 0 || (style & (BS_BITMAP | BS_ICON))) return Kind::kNone;
    switch (style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON:
            return Kind::kPush;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return (style & BS_PUSHLIKE) ? Kind::kPush : Kind::kCheck;
        case BS_GROUPBOX:
            return Kind::kGroup;
    }
    return Kind::kNone;
}

// The visible controls of `parent`, those of the child dialogs it holds
// (wizard pages) included; the child dialogs themselves are no controls.
void Collect(HWND parent, std::vector<Control>* controls) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        wchar_t name[64] = {};
        GetClassNameW(child, name, 64);
        if (lstrcmpiW(name, L"#32770") == 0) {
            Collect(child, controls);
            continue;
        }
        Control control;
        control.window = child;
        control.id = GetDlgCtrlID(child);
        control.style = GetWindowLongW(child, GWL_STYLE);
        control.kind = KindOf(name, control.style);
        if (control.kind != Kind::kNone) control.text = Text(child);
        GetWindowRect(child, &control.screen);
        controls->push_back(std::move(control));
    }
}

std::string Describe(const std::string& screen, const Control& control) {
    return screen + ": control " + std::to_string(control.id) + " \"" + Narrow(control.text) + "\"";
}

std::string Size(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

// The description of the font a control of another process draws with,
// read inside that process: a font handle means nothing outside the process
// that made it (GetObject fails on it, under Wine as under Windows). The
// probe library is loaded into the control's thread by a hook for one
// message and writes the description into a mapping of this process.
bool ProbeFont(HWND control, DWORD thread, LOGFONTW* font) {
    static HMODULE probe = [] {
        const std::string named = EnvVar("PP_FONT_PROBE");
        return LoadLibraryW(named.empty() ? L"" PP_FONT_PROBE : Widen(named).c_str());
    }();
    static FontProbeReply* reply = [] {
        HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(FontProbeReply),
                                            FontProbeMapping(GetCurrentProcessId()).c_str());
        return mapping
                   ? static_cast<FontProbeReply*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(FontProbeReply)))
                   : nullptr;
    }();
    static DWORD serial = 0;
    const auto hookProc =
        probe ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)()>(GetProcAddress(probe, "FontProbeHook")))
              : nullptr;
    if (!hookProc || !reply) return false;
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, hookProc, probe, thread);
    if (!hook) return false;
    reply->serial = 0;
    ++serial;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(control, RegisterWindowMessageW(kFontProbeMessage), GetCurrentProcessId(), serial,
                        SMTO_ABORTIFHUNG, 2000, &ignored);
    UnhookWindowsHookEx(hook);
    if (reply->serial != serial) return false;
    *font = reply->font;
    return true;
}

// A font equal to the one the control draws with, made in this process; null
// when its description cannot be had.
HFONT FontOf(HWND control) {
    DWORD process = 0;
    const DWORD thread = GetWindowThreadProcessId(control, &process);
    LOGFONTW font{};
    if (process != GetCurrentProcessId()) {
        if (!ProbeFont(control, thread, &font)) return nullptr;
        return CreateFontIndirectW(&font);
    }
    DWORD_PTR handle = 0;
    if (!SendMessageTimeoutW(control, WM_GETFONT, 0, 0, SMTO_ABORTIFHUNG, 2000, &handle)) return nullptr;
    if (!handle) handle = reinterpret_cast<DWORD_PTR>(GetStockObject(SYSTEM_FONT));
    if (GetObjectW(reinterpret_cast<HFONT>(handle), sizeof font, &font) != sizeof font) return nullptr;
    return CreateFontIndirectW(&font);
}

// Where the text may go inside the client area, and how it is laid out.
struct Room {
    RECT area{};
    UINT format = 0;
};

Room RoomFor(const Control& control, HDC dc) {
    Room room;
    GetClientRect(control.window, &room.area);
    const LONG style = control.style;
    switch (control.kind) {
        case Kind::kStatic: {
            const LONG type = style & SS_TYPEMASK;
            const bool wraps = (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) && !(style & SS_CENTERIMAGE);
            room.format = DT_EXPANDTABS | (wraps ? DT_WORDBREAK : DT_SINGLELINE);
            if (style & SS_NOPREFIX) room.format |= DT_NOPREFIX;
            if (style & SS_EDITCONTROL) room.format |= DT_EDITCONTROL;
            break;
        }
        case Kind::kPush: {
            // The button's raised edge and the focus rectangle inside it.
            const int x = GetSystemMetrics(SM_CXEDGE) + 1, y = GetSystemMetrics(SM_CYEDGE) + 1;
            InflateRect(&room.area, -x, -y);
            room.format = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
            break;
        }
        case Kind::kCheck: {
            // The glyph, the gap of half a digit after it, and the focus
            // rectangle around the text.
            int digit = 0;
            GetCharWidth32W(dc, L'0', L'0', &digit);
            if (style & BS_LEFTTEXT) {
                room.area.right -= GetSystemMetrics(SM_CXMENUCHECK) + digit / 2;
            } else {
                room.area.left += GetSystemMetrics(SM_CXMENUCHECK) + digit / 2;
            }
            room.area.right -= 1;
            room.format = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
            break;
        }
        case Kind::kGroup: {
            // The caption stands between the frame's corner indents.
            const int indent = MulDiv(8, GetDeviceCaps(dc, LOGPIXELSX), 96);
            InflateRect(&room.area, -indent, 0);
            room.format = DT_SINGLELINE;
            break;
        }
        case Kind::kNone:
            break;
    }
    return room;
}

// A problem line when the control's text does not fit, empty when it does.
std::string MeasureText(const Control& control, const std::string& screen, HDC dc) {
    HFONT font = FontOf(control.window);
    if (!font) return Describe(screen, control) + ": its font cannot be read";
    HGDIOBJ previous = SelectObject(dc, font);
    const Room room = RoomFor(control, dc);
    const int width = room.area.right - room.area.left, height = room.area.bottom - room.area.top;
    RECT needed{0, 0, (room.format & DT_WORDBREAK) ? std::max(width, 1) : 0, 0};
    DrawTextW(dc, control.text.c_str(), -1, &needed, room.format | DT_CALCRECT);
    SelectObject(dc, previous);
    DeleteObject(font);
    if (needed.right <= width && needed.bottom <= height) return {};
    return Describe(screen, control) + ": needs " + Size(needed.right, needed.bottom) + ", has " + Size(width, height) +
           " pixels";
}

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The mnemonic letter of a text as a dialog takes it (the first "&" not
// doubled), upper case; 0 when none.
wchar_t Mnemonic(const Control& control) {
    if (control.kind == Kind::kNone || (control.kind == Kind::kStatic && (control.style & SS_NOPREFIX))) return 0;
    const std::wstring& text = control.text;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&') continue;
        if (text[i + 1] == L'&') {
            ++i;
            continue;
        }
        return static_cast<wchar_t>(std::towupper(text[i + 1]));
    }
    return 0;
}

// Reading order: rows top to bottom (a control whose top lies above the
// middle of a row's first control stands in that row), left to right in a row.
std::vector<const Control*> ReadingOrder(std::vector<const Control*> controls) {
    std::sort(controls.begin(), controls.end(),
              [](const Control* a, const Control* b) { return a->screen.top < b->screen.top; });
    for (std::size_t row = 0; row < controls.size();) {
        const LONG middle = (controls[row]->screen.top + controls[row]->screen.bottom) / 2;
        std::size_t end = row + 1;
        while (end < controls.size() && controls[end]->screen.top < middle) ++end;
        std::sort(controls.begin() + static_cast<std::ptrdiff_t>(row),
                  controls.begin() + static_cast<std::ptrdiff_t>(end),
                  [](const Control* a, const Control* b) { return a->screen.left < b->screen.left; });
        row = end;
    }
    return controls;
}

// One problem line for each mnemonic letter that more than one control
// answers to, but the letters in `allowedShared`.
void ReportSharedMnemonics(const std::vector<Control>& controls, const std::string& screen,
                           const std::wstring& allowedShared, ScreenReport* report) {
    std::map<wchar_t, std::vector<const Control*>> mnemonics;
    for (const Control& control : controls) {
        if (const wchar_t letter = Mnemonic(control)) mnemonics[letter].push_back(&control);
    }
    for (const auto& [letter, sharing] : mnemonics) {
        if (sharing.size() < 2 || allowedShared.find(letter) != std::wstring::npos ||
            allowedShared.find(static_cast<wchar_t>(std::towlower(letter))) != std::wstring::npos)
            continue;
        std::string line = screen + ": mnemonic " + Narrow(std::wstring(1, letter)) + " shared by";
        for (const Control* control : sharing)
            line += " control " + std::to_string(control->id) + " \"" + Narrow(control->text) + "\"";
        report->problems.push_back(line);
    }
}

// Whether a person works the control (types into it, picks from it, presses
// it), so that the keyboard must reach it.
bool IsWorked(const Control& control, const std::wstring& className) {
    if (control.kind == Kind::kPush || control.kind == Kind::kCheck) return true;
    if (lstrcmpiW(className.c_str(), L"Edit") == 0) return !(control.style & ES_READONLY);
    for (const wchar_t* worked : {L"ListBox", L"ComboBox", WC_LISTVIEWW, WC_TREEVIEWW, TRACKBAR_CLASSW})
        if (lstrcmpiW(className.c_str(), worked) == 0) return true;
    return false;
}

bool IsRadio(const Control& control) {
    const LONG type = control.style & BS_TYPEMASK;
    return control.kind == Kind::kCheck && (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
}

// The first button of the radio group `controls[i]` belongs to: a group runs
// from a button with WS_GROUP (or after a control of another kind) up to the
// next such start; `i` itself for a group's first button and for anything
// that is not a radio button.
std::size_t RadioGroupStart(const std::vector<Control>& controls, std::size_t i) {
    if (!IsRadio(controls[i])) return i;
    std::size_t first = i;
    while (first > 0 && !(controls[first].style & WS_GROUP) && IsRadio(controls[first - 1])) --first;
    return first;
}

// An up-down control bound to an edit draws over the edit's right border so
// that the two read as one control: an overlap of up to two pixels over the
// up-down's whole height, as comctl32 places it, is no layout fault.
bool SpinOverItsEdit(const Control& a, const Control& b, const RECT& common) {
    for (const auto& [spin, edit] : {std::pair{&a, &b}, std::pair{&b, &a}}) {
        wchar_t name[64] = {};
        GetClassNameW(spin->window, name, 64);
        if (lstrcmpiW(name, UPDOWN_CLASSW) != 0) continue;
        if (reinterpret_cast<HWND>(SendMessageW(spin->window, UDM_GETBUDDY, 0, 0)) != edit->window) continue;
        return common.right - common.left <= 2 && common.bottom - common.top == spin->screen.bottom - spin->screen.top;
    }
    return false;
}

// A message box: a dialog with the message's static text 0xFFFF.
bool IsMessageBox(HWND window) {
    return GetDlgItem(window, 0xFFFF) != nullptr;
}

}  // namespace

ScreenReport CheckTextFit(HWND window, const std::string& screen) {
    ScreenReport report;
    std::vector<Control> controls;
    Collect(window, &controls);
    HDC dc = GetDC(nullptr);
    for (const Control& control : controls) {
        if (control.kind == Kind::kNone || control.text.empty()) continue;
        ++report.controls;
        std::string problem = MeasureText(control, screen, dc);
        if (!problem.empty()) report.problems.push_back(std::move(problem));
    }
    ReleaseDC(nullptr, dc);
    // A message box is laid out by the system: only its texts are ours.
    if (IsMessageBox(window)) return report;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            const Control &a = controls[i], &b = controls[j];
            RECT common{};
            if (!IntersectRect(&common, &a.screen, &b.screen)) continue;
            if ((a.kind == Kind::kGroup && Contains(a.screen, b.screen)) ||
                (b.kind == Kind::kGroup && Contains(b.screen, a.screen)) || SpinOverItsEdit(a, b, common))
                continue;
            report.problems.push_back(Describe(screen, a) + " and control " + std::to_string(b.id) + " \"" +
                                      Narrow(b.text) + "\" overlap by " +
                                      Size(common.right - common.left, common.bottom - common.top) + " pixels");
        }
    }
    return report;
}

ScreenReport CheckKeyboard(HWND window, const std::string& screen, const std::wstring& allowedShared) {
    ScreenReport report;
    std::vector<Control> controls;
    Collect(window, &controls);

    std::vector<const Control*> stops;
    bool okLike = false;
    for (const Control& control : controls) {
        if ((control.style & WS_TABSTOP) && IsWindowEnabled(control.window)) stops.push_back(&control);
        if (control.kind == Kind::kPush &&
            (control.id == IDOK || control.id == IDYES || (control.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON))
            okLike = true;
    }
    report.controls = static_cast<int>(stops.size());

    if (!stops.empty()) {
        const std::vector<const Control*> ordered = ReadingOrder(stops);
        std::set<HWND> reached{ordered.front()->window};
        HWND current = ordered.front()->window;
        for (std::size_t step = 0; step <= controls.size(); ++step) {
            current = GetNextDlgTabItem(window, current, FALSE);
            if (!current || !reached.insert(current).second) break;
        }
        for (const Control* stop : ordered) {
            if (!reached.count(stop->window))
                report.problems.push_back(Describe(screen, *stop) + ": not reached by Tab from control " +
                                          std::to_string(ordered.front()->id));
        }
    }

    ReportSharedMnemonics(controls, screen, allowedShared, &report);

    // A message box's buttons are the system's (Wine's Yes/No box names no
    // default button; Windows' boxes always do).
    if (okLike && !IsMessageBox(window)) {
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(window, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer);
        if (HIWORD(answer) != DC_HASDEFID || !GetDlgItem(window, LOWORD(answer)))
            report.problems.push_back(screen + ": no default push button");
    }
    return report;
}

ScreenReport CheckTemplateKeyboard(const DialogTemplate& dialog, const std::string& screen,
                                   const std::wstring& allowedShared) {
    ScreenReport report;
    std::vector<Control> controls;
    std::vector<std::wstring> classes;
    for (const TemplateControl& item : dialog.controls) {
        if (!(item.style & WS_VISIBLE)) continue;  // shown by the program, if ever, and checked live then
        Control control;
        control.id = item.id;
        control.style = static_cast<LONG>(item.style);
        control.kind = KindOf(item.className, control.style);
        control.text = item.text;
        control.screen = item.bounds;
        // A drop-down list's template height is that of the open list; shut,
        // it stands one line high (about 12 dialog units) in its row.
        if (lstrcmpiW(item.className.c_str(), L"ComboBox") == 0 && (item.style & 3) != CBS_SIMPLE)
            control.screen.bottom = std::min(control.screen.bottom, control.screen.top + 12);
        controls.push_back(std::move(control));
        classes.push_back(item.className);
    }
    ReportSharedMnemonics(controls, screen, allowedShared, &report);

    // The Tab order is the template's: its tab stops must come in reading
    // order. A group of radio buttons is one stop, where its first button
    // stands; the arrow keys move inside it.
    std::vector<const Control*> stops;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const Control& control = controls[i];
        if ((control.style & WS_TABSTOP) && RadioGroupStart(controls, i) == i) stops.push_back(&control);
    }
    report.controls = static_cast<int>(controls.size());
    const std::vector<const Control*> reading = ReadingOrder(stops);
    if (reading != stops) {
        std::string line = screen + ": Tab goes";
        for (const Control* stop : stops) line += " " + std::to_string(stop->id);
        line += ", reading order is";
        for (const Control* stop : reading) line += " " + std::to_string(stop->id);
        report.problems.push_back(line);
    }

    // Every control a person works is a tab stop; a group of radio buttons
    // through one of them.
    int defaults = 0;
    bool hasOk = false;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const Control& control = controls[i];
        if (control.kind == Kind::kPush) {
            if ((control.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) ++defaults;
            if (control.id == IDOK) hasOk = true;
        }
        if (!IsWorked(control, classes[i]) || (control.style & WS_TABSTOP)) continue;
        if (IsRadio(control)) {
            const std::size_t first = RadioGroupStart(controls, i);
            bool reached = false;
            for (std::size_t j = first; j < controls.size() && IsRadio(controls[j]); ++j) {
                if (j > first && (controls[j].style & WS_GROUP)) break;
                reached = reached || (controls[j].style & WS_TABSTOP);
            }
            if (reached) continue;
        }
        report.problems.push_back(Describe(screen, control) + ": not a tab stop");
    }
    if (defaults > 1) report.problems.push_back(screen + ": " + std::to_string(defaults) + " default push buttons");
    // Enter is the default button: a dialog of its own with OK makes OK the
    // default, or Enter would do nothing there.
    if (!(dialog.style & WS_CHILD) && hasOk && defaults == 0)
        report.problems.push_back(screen + ": no default push button");
    return report;
}

void PrintFitSummary(const std::string& what, int dpi, int screens, int controls, int textProblems,
                     int keyboardProblems) {
    std::printf("text fit: %s at %d DPI: %d screens, %d controls, %d texts cut\n", what.c_str(), dpi, screens, controls,
                textProblems);
    std::printf("keyboard: %s at %d DPI: %d screens, %d problems\n", what.c_str(), dpi, screens, keyboardProblems);
    std::fflush(stdout);
}

void PrintTemplateSummary(const std::string& what, int dialogs, int controls, int problems) {
    std::printf("keyboard: %s templates: %d dialogs, %d controls, %d problems\n", what.c_str(), dialogs, controls,
                problems);
    std::fflush(stdout);
}

int CurrentDpi() {
    HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi;
}

}  // namespace automation

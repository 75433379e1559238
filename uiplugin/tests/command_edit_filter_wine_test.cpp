// The command edit box's filter on a real edit control.
#include <gtest/gtest.h>

#include <string>

#include "win32/command_edit_filter.h"

namespace {

class CommandEdit : public ::testing::Test {
protected:
    void SetUp() override {
        parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
        edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 80, 20, parent, nullptr, nullptr, nullptr);
        ASSERT_NE(edit, nullptr);
        plugin_win32::InstallCommandEditFilter(edit);
        PressOnly({});
    }
    void TearDown() override {
        PressOnly({});
        DestroyWindow(parent);
    }
    static void PressOnly(std::initializer_list<int> keys) {
        BYTE state[256] = {};
        for (int key : keys) state[key] = 0x80;
        SetKeyboardState(state);
    }
    void Type(const std::wstring& text) {
        for (wchar_t c : text) SendMessageW(edit, WM_CHAR, c, 0);
    }
    std::wstring Text() {
        wchar_t text[64] = {};
        GetWindowTextW(edit, text, 64);
        return text;
    }
    bool FocusMovePosted(WPARAM* direction) {
        MSG message;
        if (!PeekMessageW(&message, parent, WM_NEXTDLGCTL, WM_NEXTDLGCTL, PM_REMOVE)) return false;
        *direction = message.wParam;
        return true;
    }

    HWND parent = nullptr;
    HWND edit = nullptr;
};

TEST_F(CommandEdit, KeepsOnlyHexadecimalTyping) {
    Type(L"1D gx#56 42.-zZ00");
    EXPECT_EQ(Text(), L"1D 56 42.-00");
    Type(L"\b\b");
    EXPECT_EQ(Text(), L"1D 56 42.-") << "backspace edits";
    EXPECT_EQ(SendMessageW(edit, WM_GETDLGCODE, 0, 0), DLGC_WANTALLKEYS);
}

TEST_F(CommandEdit, CtrlKeysPassAndTabMovesTheFocus) {
    PressOnly({VK_CONTROL});
    Type(L"q");  // a control shortcut reaches the box untouched
    EXPECT_EQ(Text(), L"q");
    PressOnly({VK_TAB});
    Type(L"\t");
    WPARAM direction = 9;
    ASSERT_TRUE(FocusMovePosted(&direction));
    EXPECT_EQ(direction, 0u);
    EXPECT_EQ(Text(), L"q") << "the tab itself is not typed";
    PressOnly({VK_TAB, VK_SHIFT});
    Type(L"\t");
    ASSERT_TRUE(FocusMovePosted(&direction));
    EXPECT_EQ(direction, 1u) << "Shift+Tab goes back";
}

}  // namespace

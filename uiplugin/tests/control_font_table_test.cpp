#include "core/control_font_table.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/command_text.h"
#include "ports/desktop.h"
#include "resource.h"
#include "sim/sim_controls.h"
#include "tests/fake_control_font_file.h"

namespace {

using plugin::ControlFontEntry;
using plugin::ControlFontTable;
using Entries = std::vector<ControlFontEntry>;

constexpr int kCommandColumn = 2;
constexpr int kRowA = 0x41 - 0x20;

class ControlFontTableTest : public ::testing::Test {
protected:
    void Open() {
        table.OnInit(dialog);
        // The translator, when the table opens it: the test's hand, then
        // whatever button it pressed.
        dialog.onDialog = [this](int templateId, sim::SimControls& translator, plat::DialogHandler& handler) {
            translatorsRun.push_back(templateId);
            shownChar = translator.Text(IDC_CFT_CHAR);
            shownHex = translator.Text(IDC_CFT_HEX);
            shownCommand = translator.Text(IDC_CFT_COMMAND);
            translatorReadOnly = translator.Get(IDC_CFT_CHAR).readOnly && translator.Get(IDC_CFT_HEX).readOnly;
            if (typed) translator.Type(IDC_CFT_COMMAND, *typed);
            handler.OnCommand(translator, button, plat::kBnClicked);
            // A refused OK keeps the translator open: the user gives up.
            if (!translator.closed) handler.OnCommand(translator, plat::kIdCancel, plat::kBnClicked);
            translatorMessages = translator.boxes.size();
        };
    }
    void Click(int id) { table.OnCommand(dialog, id, plat::kBnClicked); }
    void EditRow(int row, std::optional<std::string> text, int pressed = plat::kIdOk) {
        typed = std::move(text);
        button = pressed;
        dialog.Select(IDC_CFONT_LIST, row);
        Click(IDC_CFONT_EDIT);
    }
    std::string Command(int row) { return dialog.ItemText(IDC_CFONT_LIST, row, kCommandColumn); }

    plugin_test::FakeControlFontFile file;
    ControlFontTable table{file};
    sim::SimControls dialog;
    std::vector<int> translatorsRun;
    std::string shownChar, shownHex, shownCommand;
    bool translatorReadOnly = false;
    std::size_t translatorMessages = 0;
    std::optional<std::string> typed;
    int button = plat::kIdOk;
};

TEST_F(ControlFontTableTest, NoFileGivesEveryPrintableCharacterWithoutCommand) {
    Open();
    EXPECT_EQ(dialog.Text(IDC_CFONT_DRIVER), "OLVEN Printer Driver");
    EXPECT_TRUE(dialog.Get(IDC_CFONT_DRIVER).readOnly);
    ASSERT_EQ(dialog.ItemCount(IDC_CFONT_LIST), 96);
    for (int row = 0; row < 96; ++row) {
        SCOPED_TRACE(row);
        const int code = 0x20 + row;
        EXPECT_EQ(dialog.ItemText(IDC_CFONT_LIST, row), std::string(1, static_cast<char>(code)));
        EXPECT_EQ(dialog.ItemText(IDC_CFONT_LIST, row, 1), plugin::ControlFontKey(code));
        EXPECT_EQ(Command(row), "");
    }
    EXPECT_EQ(dialog.ItemText(IDC_CFONT_LIST, 0, 1), "20");
    EXPECT_EQ(dialog.ItemText(IDC_CFONT_LIST, 95, 1), "7F");
}

TEST_F(ControlFontTableTest, StoredTextIsShownUnchangedUntilEdited) {
    file.entries = Entries{{"41", "1b2100"}};
    Open();
    EXPECT_EQ(Command(kRowA), "1b2100");
    EditRow(kRowA, std::nullopt);
    EXPECT_EQ(translatorsRun, std::vector<int>{IDD_CONTROL_FONT_TRANSLATOR});
    EXPECT_EQ(shownChar, "A");
    EXPECT_EQ(shownHex, "41");
    EXPECT_TRUE(translatorReadOnly);
    EXPECT_EQ(shownCommand, "1B 21 00 ");
    EXPECT_EQ(Command(kRowA), "1B 21 00 ");
    EXPECT_EQ(file.writes, 0) << "nothing is stored before OK";
    Click(plat::kIdOk);
    EXPECT_TRUE(dialog.closed);
    EXPECT_EQ(dialog.closeResult, plat::kIdOk);
    EXPECT_EQ(file.entries, (Entries{{"41", "1B 21 00 "}}));
}

TEST_F(ControlFontTableTest, TranslatorOutcomes) {
    const std::string tooLong(2 * (plugin::kMaxCommandBytes + 1), 'a');
    const std::string longest(2 * plugin::kMaxCommandBytes, 'a');
    std::string longestShown;
    for (std::size_t i = 0; i < plugin::kMaxCommandBytes; ++i) longestShown += "AA ";
    struct Case {
        const char* what;
        std::string typed;
        int button;
        std::string shown;  // the row afterwards
        std::size_t messages;
    };
    const Case cases[] = {
        {"typed text is formatted", "1d5642 0", plat::kIdOk, "1D 56 42 00 ", 0},
        {"cancel keeps the row", "1d56", plat::kIdCancel, "0A ", 0},
        {"an emptied box empties the row", "", plat::kIdOk, "", 0},
        {"the longest command is kept", longest, plat::kIdOk, longestShown, 0},
        {"an over-long command is refused", tooLong, plat::kIdOk, "0A ", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // The same table opened afresh on a file of one command.
        file = plugin_test::FakeControlFontFile{};
        file.entries = Entries{{"41", "0A "}};
        dialog = sim::SimControls{};
        Open();
        EditRow(kRowA, c.typed, c.button);
        EXPECT_EQ(Command(kRowA), c.shown);
        EXPECT_EQ(translatorMessages, c.messages);
    }
}

TEST_F(ControlFontTableTest, OverLongStoredCommandOpensNoTranslator) {
    file.entries = Entries{{"41", std::string(2 * (plugin::kMaxCommandBytes + 1), '1')}};
    Open();
    EditRow(kRowA, std::nullopt);
    EXPECT_TRUE(translatorsRun.empty());
    ASSERT_EQ(dialog.boxes.size(), 1u);
    EXPECT_EQ(dialog.boxes[0].text, plugin::kCommandLengthText);
    EXPECT_EQ(dialog.boxes[0].caption, plugin::kCommandLengthCaption);
}

TEST_F(ControlFontTableTest, WithoutSelectionEditAndDeleteDoNothing) {
    file.entries = Entries{{"41", "0A "}};
    Open();
    dialog.Select(IDC_CFONT_LIST, -1);
    Click(IDC_CFONT_EDIT);
    Click(IDC_CFONT_DELETE);
    table.OnCommand(dialog, IDC_CFONT_LIST, plat::kListDoubleClick);
    EXPECT_TRUE(translatorsRun.empty());
    EXPECT_EQ(Command(kRowA), "0A ");
}

TEST_F(ControlFontTableTest, DoubleClickEditsTheRow) {
    Open();
    typed = "07";
    dialog.Select(IDC_CFONT_LIST, 0);
    table.OnCommand(dialog, IDC_CFONT_LIST, plat::kListDoubleClick);
    EXPECT_EQ(Command(0), "07 ");
}

TEST_F(ControlFontTableTest, DeleteRemovesTheKey) {
    file.entries = Entries{{"41", "0A "}, {"42", "0B "}};
    Open();
    dialog.Select(IDC_CFONT_LIST, kRowA);
    Click(IDC_CFONT_DELETE);
    EXPECT_EQ(Command(kRowA), "");
    EXPECT_EQ(dialog.Selection(IDC_CFONT_LIST), kRowA);
    Click(plat::kIdOk);
    EXPECT_EQ(file.entries, (Entries{{"42", "0B "}}));
}

TEST_F(ControlFontTableTest, DeletingEveryCommandLeavesNoFile) {
    file.entries = Entries{{"41", "0A "}};
    Open();
    dialog.Select(IDC_CFONT_LIST, kRowA);
    Click(IDC_CFONT_DELETE);
    Click(plat::kIdOk);
    EXPECT_EQ(file.entries, std::nullopt);
}

TEST_F(ControlFontTableTest, WrittenInCodeOrder) {
    // Keys as someone may have left them: out of order, in lower case.
    file.entries = Entries{{"7e", "7E "}, {"20", "20 "}, {"5A", "5A "}, {"21", "21 "}};
    Open();
    Click(plat::kIdOk);
    EXPECT_EQ(file.entries, (Entries{{"20", "20 "}, {"21", "21 "}, {"5A", "5A "}, {"7E", "7E "}}));
}

TEST_F(ControlFontTableTest, FailedWriteKeepsOldFileAndDialog) {
    file.entries = Entries{{"41", "0A "}};
    Open();
    EditRow(0, "1B 40");
    file.failWrites = true;
    Click(plat::kIdOk);
    EXPECT_FALSE(dialog.closed) << "the user's rows stay for another try";
    EXPECT_EQ(file.entries, (Entries{{"41", "0A "}}));
    ASSERT_EQ(dialog.boxes.size(), 1u);
    EXPECT_EQ(dialog.boxes[0].text, "Favor checar se o usuário tem privilégios de Administrador!");
    EXPECT_EQ(dialog.boxes[0].caption, "Erro");
    EXPECT_EQ(dialog.boxes[0].style, plat::kMbIconError);

    file.failWrites = false;
    Click(plat::kIdOk);
    EXPECT_TRUE(dialog.closed);
    EXPECT_EQ(file.entries, (Entries{{"20", "1B 40 "}, {"41", "0A "}}));
}

TEST_F(ControlFontTableTest, CancelWritesNothing) {
    file.entries = Entries{{"41", "0A "}};
    Open();
    dialog.Select(IDC_CFONT_LIST, kRowA);
    Click(IDC_CFONT_DELETE);
    Click(plat::kIdCancel);
    EXPECT_TRUE(dialog.closed);
    EXPECT_EQ(dialog.closeResult, plat::kIdCancel);
    EXPECT_EQ(file.writes, 0);
}

}  // namespace

#pragma once
// Printer commands typed as hexadecimal text, as in "1D 56 42 00": the
// keystroke rule of the command boxes, text to bytes, bytes back to text, and
// the length rule every dialog applies before it stores a command.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace plugin {

// The most bytes a stored command holds.
constexpr std::size_t kMaxCommandBytes = 128;
// The most characters a command box takes (EM_LIMITTEXT), so that reading it
// into room for 400 units never cuts off text the user can see.
constexpr std::size_t kCommandTextLimit = 399;

// The refusal of an over-long command: message box, OK button only.
constexpr std::string_view kCommandLengthText = "Erro no comprimento do comando";
constexpr std::string_view kCommandLengthCaption = "Erro";

// The bytes of a command text. Blanks (U+0020) separate; within each run of
// other characters the digits pair up from the left, and a run of odd length
// ends in a one-digit byte ("123" gives 12 03). Each character is one UTF-16
// unit; '0'..'9', 'a'..'f' and 'A'..'F' are worth 0..15 and every other
// character, a tab or line break pasted into the box included, is worth 0.
//
// The whole text is parsed, however long: cutting it at the box's size would
// let a longer paste through with its tail silently dropped. The length rule
// (StoreCommand) refuses what does not fit. The result never exceeds
// (text.size() + 1) / 2 bytes.
std::vector<std::uint8_t> ParseCommandText(std::u16string_view text);

// The text of command bytes: two upper-case digits and one blank per byte
// ("1D 56 42 00 " with its trailing blank); no bytes give the empty text.
// Parsing the text gives the same bytes again.
std::u16string FormatCommandBytes(std::span<const std::uint8_t> bytes);

// The length rule: a command of at most kMaxCommandBytes bytes (and no more
// than `home` holds) is stored: `home` zero-filled, the bytes copied to its
// start and their number into `count`. A longer command is refused and
// nothing is touched; the caller shows kCommandLengthText and keeps its
// dialog open.
[[nodiscard]] bool StoreCommand(std::span<const std::uint8_t> bytes, std::span<std::uint8_t> home, std::uint8_t* count);

// What the command box does with a typed character (WM_CHAR).
enum class CommandKeyAction {
    Pass,             // the edit box gets it
    Swallow,          // it has no effect
    NextControl,      // focus moves on (WM_NEXTDLGCTL 0, 0), the character is dropped
    PreviousControl,  // focus moves back (WM_NEXTDLGCTL 1, 0), the character is dropped
};

// Keys held down at the moment the character arrives.
struct CommandKeyState {
    bool tabDown = false;
    bool shiftDown = false;
    bool ctrlDown = false;
};

// The box wants every key (it answers WM_GETDLGCODE with DLGC_WANTALLKEYS), so
// it moves the focus itself when Tab is down: on to the next control, back
// with Shift held. Backspace, '.', '-' and anything typed with Ctrl down
// (clipboard shortcuts) pass; otherwise only hexadecimal digits and the blank
// do. Pasted text is not filtered: the parser copes with any character.
CommandKeyAction FilterCommandKey(char16_t character, CommandKeyState keys);

}  // namespace plugin

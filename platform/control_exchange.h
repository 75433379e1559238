#pragma once
// A dialog's controls and the record they edit, declared once per dialog as a
// table of rows: which control shows which field of the record, how, and
// within which limits. One routine gives the controls their limits and fixed
// entries, one shows the record in them, one takes them all back into the
// record (apply, OK) and one takes the control the user has just changed. A
// dialog's own handlers keep only what follows from a change: enabling, a
// preview, a value another control forces.
//
// Rows are made by the functions below (Check, Radios, List, ...) and hold a
// field as its place in the record (PLAT_FIELD); the routines take the record
// as an untyped pointer, so that one copy of them serves every dialog.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "ports/controls.h"

namespace plat {

// How a numeric field is kept in its record.
enum class FieldType : std::uint8_t { kByte, kChar, kInt, kUnsigned, kDouble };

template <typename T>
constexpr FieldType FieldTypeOf() {
    static_assert(std::is_same_v<T, std::uint8_t> || std::is_same_v<T, char> || std::is_same_v<T, std::int32_t> ||
                      std::is_same_v<T, std::uint32_t> || std::is_same_v<T, double>,
                  "a field of another type has no place in an exchange table");
    if constexpr (std::is_same_v<T, std::uint8_t>) return FieldType::kByte;
    if constexpr (std::is_same_v<T, char>) return FieldType::kChar;
    if constexpr (std::is_same_v<T, std::int32_t>) return FieldType::kInt;
    if constexpr (std::is_same_v<T, std::uint32_t>) return FieldType::kUnsigned;
    return FieldType::kDouble;
}

// A numeric field: where it lies in its record, and its type.
struct FieldRef {
    std::uint16_t offset = 0;
    FieldType type = FieldType::kByte;
};

// The field `member` of `Record` (a member of a member too: `serial.parity`).
// A macro because only offsetof gives a member's place as a constant.
#define PLAT_FIELD(Record, member)                                                                \
    ::plat::FieldRef {                                                                            \
        offsetof(Record, member), ::plat::FieldTypeOf<decltype(std::declval<Record&>().member)>() \
    }

// A text field the record keeps in a form of its own (a fixed UTF-16 array, a
// command's bytes). `write` answers false when the text does not fit, and
// then leaves the field as it was.
struct TextField {
    std::string (*read)(const void* record);
    bool (*write)(void* record, std::string_view text);
};

// An entry of a list that stands for a value of the field.
struct Choice {
    std::string_view text;
    double value;
};

// The number an edit's text holds, within `low`..`high`.
using NumberTake = int (*)(std::string_view text, int low, int high);
// As the C library's atoi reads it, then held within the limits.
int TakeInt(std::string_view text, int low, int high);

enum class Shows : std::uint8_t {
    kCheck,      // a check box: 1 checked, 0 not
    kRadios,     // radio buttons, the first for 0, the next for 1, ...
    kList,       // a drop-down list whose entry's index is the value
    kChoices,    // a drop-down list whose entries stand for values
    kNumber,     // an edit holding a whole number, its up-down and its range text beside it
    kSlider,     // a slider, and the text beside it showing its position
    kText,       // an edit holding a text field
    kComboText,  // a drop-down list with an edit: an entry picked or a text typed
    kItemText,   // a drop-down list the dialog fills: the entry's text is the value
};

// What a radio group, list or check box shows for a value that has no entry.
inline constexpr int kNoEntry = -1;  // nothing (a check box: unchecked)
inline constexpr int kLastEntry = 127;

// Row flags.
inline constexpr std::uint8_t kReadOnly = 1;  // a text shown, not typed into
// A number shown as the record holds it (the up-down set first, so that it
// does not rewrite its edit), not within its limits.
inline constexpr std::uint8_t kShowsStored = 2;
// A number the user types digit by digit: while it is being changed only the
// upper limit holds (never below 0); the lower one when the controls are
// taken as a whole.
inline constexpr std::uint8_t kTypedBelowLow = 4;
// The up-down follows the number taken from a change of its edit.
inline constexpr std::uint8_t kSpinFollows = 8;

struct ExchangeRow {
    Shows kind = Shows::kCheck;
    std::uint8_t flags = 0;
    std::int8_t unlisted = kNoEntry;
    std::uint8_t count = 0;   // entries of `texts`, `choices` or `radios`
    std::uint16_t id = 0;     // the control; radios: the first
    std::uint16_t limit = 0;  // characters an edit takes; 0: as its template says
    std::uint16_t spin = 0;   // a number's up-down, 0 none
    std::uint16_t label = 0;  // a number's range text, a slider's position text; 0 none
    FieldRef field;           // every kind but the texts
    std::int32_t low = 0;     // numbers and sliders
    std::int32_t high = 0;
    union {
        const std::string_view* texts = nullptr;  // lists and edit lists; null: the dialog fills the list
        const Choice* choices;
        const int* radios;
        const char* rangeText;  // a number's, beside it; null: the dialog writes it
    };
    union {
        const TextField* text = nullptr;  // the text kinds
        NumberTake take;                  // numbers; null: TakeInt
    };
    // StoreControls takes the row only while this holds for the record; null:
    // always. The user's own change of the control is always taken.
    bool (*storedWhen)(const void* record) = nullptr;

    constexpr ExchangeRow Flags(std::uint8_t more) const {
        ExchangeRow row = *this;
        row.flags |= more;
        return row;
    }
    constexpr ExchangeRow StoredWhen(bool (*condition)(const void*)) const {
        ExchangeRow row = *this;
        row.storedWhen = condition;
        return row;
    }
};

// A condition a row's record must meet for StoreControls to take the row.
template <typename Record, bool (*Condition)(const Record&)>
bool RecordMeets(const void* record) {
    return Condition(*static_cast<const Record*>(record));
}
// Rows the user's changes alone reach: StoreControls leaves them.
inline bool OnChangeOnly(const void*) {
    return false;
}

// ---- Rows ----

// What every row starts from: its kind, its control and its field.
constexpr ExchangeRow Row(Shows kind, int id, FieldRef field, int unlisted = kNoEntry) {
    ExchangeRow row;
    row.kind = kind;
    row.id = static_cast<std::uint16_t>(id);
    row.field = field;
    row.unlisted = static_cast<std::int8_t>(unlisted);
    return row;
}

constexpr ExchangeRow Check(int id, FieldRef field, int unlisted = kNoEntry) {
    return Row(Shows::kCheck, id, field, unlisted);
}

template <std::size_t N>
constexpr ExchangeRow Radios(const int (&ids)[N], FieldRef field, int unlisted) {
    ExchangeRow row = Row(Shows::kRadios, ids[0], field, unlisted);
    row.radios = ids;
    row.count = N;
    return row;
}

// `texts` fill the list; without them the dialog fills it.
constexpr ExchangeRow List(int id, FieldRef field, std::span<const std::string_view> texts = {},
                           int unlisted = kNoEntry) {
    ExchangeRow row = Row(Shows::kList, id, field, unlisted);
    row.texts = texts.data();
    row.count = static_cast<std::uint8_t>(texts.size());
    return row;
}

constexpr ExchangeRow Choices(int id, FieldRef field, std::span<const Choice> choices, int unlisted = kNoEntry) {
    ExchangeRow row = Row(Shows::kChoices, id, field, unlisted);
    row.choices = choices.data();
    row.count = static_cast<std::uint8_t>(choices.size());
    return row;
}

struct NumberBox {
    int spin = 0;
    int rangeLabel = 0;
    const char* rangeText = nullptr;
    int digits = 0;
    std::int32_t low = 0;
    std::int32_t high = 0;
    NumberTake take = nullptr;
};

constexpr ExchangeRow Number(int edit, FieldRef field, NumberBox box) {
    ExchangeRow row = Row(Shows::kNumber, edit, field);
    row.spin = static_cast<std::uint16_t>(box.spin);
    row.label = static_cast<std::uint16_t>(box.rangeLabel);
    row.rangeText = box.rangeText;
    row.limit = static_cast<std::uint16_t>(box.digits);
    row.low = box.low;
    row.high = box.high;
    row.take = box.take;
    return row;
}

constexpr ExchangeRow Slider(int id, FieldRef field, std::int32_t low, std::int32_t high, int positionLabel) {
    ExchangeRow row = Row(Shows::kSlider, id, field);
    row.low = low;
    row.high = high;
    row.label = static_cast<std::uint16_t>(positionLabel);
    return row;
}

constexpr ExchangeRow Text(int id, const TextField& field, std::size_t limit = 0) {
    ExchangeRow row = Row(Shows::kText, id, {});
    row.text = &field;
    row.limit = static_cast<std::uint16_t>(limit);
    return row;
}

// An empty text shows the first entry; a text no entry holds is shown typed.
constexpr ExchangeRow ComboText(int id, const TextField& field, std::span<const std::string_view> texts,
                                std::size_t limit) {
    ExchangeRow row = Text(id, field, limit);
    row.kind = Shows::kComboText;
    row.texts = texts.data();
    row.count = static_cast<std::uint8_t>(texts.size());
    return row;
}

// Shows the first entry that begins with the field's text, else the list's
// first entry.
constexpr ExchangeRow ItemText(int id, const TextField& field) {
    ExchangeRow row = Text(id, field);
    row.kind = Shows::kItemText;
    return row;
}

// ---- The routines ----

// The limits, range texts and fixed entries of every row's controls.
void SetUpControls(Controls& controls, std::span<const ExchangeRow> rows);
// Every row's controls show its field of `record`.
void LoadControls(Controls& controls, std::span<const ExchangeRow> rows, const void* record);
// Every row's field taken from its controls (see storedWhen); false when a
// text did not fit its field (that field is left, the others are taken).
bool StoreControls(Controls& controls, std::span<const ExchangeRow> rows, void* record);
// The user changed control `id` (an up-down counts as its edit): its row's
// field taken from it. False when no row holds the control, or it holds
// nothing to take (no entry selected, a text that does not fit).
bool StoreControl(Controls& controls, std::span<const ExchangeRow> rows, void* record, int id);

// The row that holds control `id`, or null.
const ExchangeRow* FindRow(std::span<const ExchangeRow> rows, int id);

}  // namespace plat

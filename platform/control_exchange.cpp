#include "control_exchange.h"

#include <algorithm>
#include <cstring>

#include "text.h"

namespace plat {
namespace {

// A numeric field's value, exactly as the record holds it.
double FieldValue(const void* record, FieldRef field) {
    const auto* at = static_cast<const unsigned char*>(record) + field.offset;
    switch (field.type) {
        case FieldType::kByte:
            return *at;
        case FieldType::kChar: {
            char value;
            std::memcpy(&value, at, sizeof value);
            return value;
        }
        case FieldType::kInt: {
            std::int32_t value;
            std::memcpy(&value, at, sizeof value);
            return value;
        }
        case FieldType::kUnsigned: {
            std::uint32_t value;
            std::memcpy(&value, at, sizeof value);
            return value;
        }
        case FieldType::kDouble: {
            double value;
            std::memcpy(&value, at, sizeof value);
            return value;
        }
    }
    return 0;
}

// A numeric field as the rows compare it with their limits and entries. An
// unsigned field past an int's range (a foreign record's) lies past every
// limit and entry either way; a double field counts by its whole part
// (ChoiceIndex compares it exactly).
int ReadField(const void* record, FieldRef field) {
    return static_cast<int>(std::min(FieldValue(record, field), double{INT32_MAX}));
}

// Every value the rows store lies within the field's type: an index, a
// check state, a number within its limits, a choice's value.
void WriteField(void* record, FieldRef field, double value) {
    auto* at = static_cast<unsigned char*>(record) + field.offset;
    switch (field.type) {
        case FieldType::kByte:
            *at = static_cast<std::uint8_t>(value);
            return;
        case FieldType::kChar: {
            const auto letter = static_cast<char>(value);
            std::memcpy(at, &letter, sizeof letter);
            return;
        }
        case FieldType::kInt:
        case FieldType::kUnsigned: {
            const auto number = static_cast<std::int32_t>(value);
            std::memcpy(at, &number, sizeof number);
            return;
        }
        case FieldType::kDouble:
            std::memcpy(at, &value, sizeof value);
            return;
    }
}

// How many entries the row's control offers: a check box's two states, the
// radios, the choices, a list's items.
int EntryCount(Controls& controls, const ExchangeRow& row) {
    switch (row.kind) {
        case Shows::kCheck:
            return 2;
        case Shows::kRadios:
        case Shows::kChoices:
            return row.count;
        default:
            return controls.ItemCount(row.id);
    }
}

// The entry that shows `index`: itself, or what the row shows for a value
// without an entry.
int ShownEntry(Controls& controls, const ExchangeRow& row, int index) {
    const int count = EntryCount(controls, row);
    if (index >= 0 && index < count) return index;
    return row.unlisted == kLastEntry ? count - 1 : row.unlisted;
}

// The choice the field holds, compared with the field's exact value; -1 none.
int ChoiceIndex(const ExchangeRow& row, const void* record) {
    const double value = FieldValue(record, row.field);
    for (int i = 0; i < row.count; ++i) {
        if (row.choices[i].value == value) return i;
    }
    return -1;
}

void WriteChoice(void* record, const ExchangeRow& row, int index) {
    WriteField(record, row.field, row.choices[index].value);
}

void FillList(Controls& controls, const ExchangeRow& row) {
    if (row.kind != Shows::kChoices && row.texts == nullptr) return;
    controls.ClearItems(row.id);
    for (int i = 0; i < row.count; ++i) {
        controls.AddItem(row.id, row.kind == Shows::kChoices ? row.choices[i].text : row.texts[i]);
    }
}

// A selection that names an entry of the list, or -1.
int ListSelection(Controls& controls, const ExchangeRow& row) {
    const int selected = controls.Selection(row.id);
    return selected >= 0 && selected < controls.ItemCount(row.id) ? selected : -1;
}

void LoadRow(Controls& controls, const ExchangeRow& row, const void* record) {
    switch (row.kind) {
        case Shows::kCheck:
            controls.SetCheck(row.id, ShownEntry(controls, row, ReadField(record, row.field)) == 1);
            return;
        case Shows::kRadios: {
            const int shown = ShownEntry(controls, row, ReadField(record, row.field));
            for (int i = 0; i < row.count; ++i) controls.SetCheck(row.radios[i], i == shown);
            return;
        }
        case Shows::kList:
            controls.Select(row.id, ShownEntry(controls, row, ReadField(record, row.field)));
            return;
        case Shows::kChoices:
            controls.Select(row.id, ShownEntry(controls, row, ChoiceIndex(row, record)));
            return;
        case Shows::kNumber: {
            const int stored = ReadField(record, row.field);
            if (row.flags & kShowsStored) {
                if (row.spin != 0) controls.SetPosition(row.spin, stored);
                controls.SetText(row.id, std::to_string(stored));
                return;
            }
            const int shown = std::clamp(stored, row.low, row.high);
            controls.SetText(row.id, std::to_string(shown));
            if (row.spin != 0) controls.SetPosition(row.spin, shown);
            return;
        }
        case Shows::kSlider:
            controls.SetPosition(row.id, std::clamp(ReadField(record, row.field), row.low, row.high));
            if (row.label != 0) controls.SetText(row.label, std::to_string(controls.Position(row.id)));
            return;
        case Shows::kText:
            controls.SetText(row.id, row.text->read(record));
            return;
        case Shows::kComboText: {
            const std::string text = row.text->read(record);
            if (text.empty()) return controls.Select(row.id, 0);
            for (int i = 0; i < row.count; ++i) {
                if (row.texts[i] == text) return controls.Select(row.id, i);
            }
            controls.SetText(row.id, text);
            return;
        }
        case Shows::kItemText: {
            controls.Select(row.id, 0);
            const int found = controls.FindPrefix(row.id, -1, row.text->read(record));
            if (found >= 0) controls.Select(row.id, found);
            return;
        }
    }
}

enum class Stored { kTaken, kNothing, kRefused };

Stored Written(bool fits) {
    return fits ? Stored::kTaken : Stored::kRefused;
}

// The row's field from its controls; `changed` is the control the user
// changed, 0 when every control is taken.
Stored StoreRow(Controls& controls, const ExchangeRow& row, void* record, int changed) {
    switch (row.kind) {
        case Shows::kCheck:
            WriteField(record, row.field, controls.IsChecked(row.id) ? 1 : 0);
            return Stored::kTaken;
        case Shows::kRadios: {
            int chosen = -1;
            for (int i = 0; i < row.count && chosen < 0; ++i) {
                if (changed != 0 ? row.radios[i] == changed : controls.IsChecked(row.radios[i])) chosen = i;
            }
            if (chosen < 0) chosen = row.unlisted == kLastEntry ? row.count - 1 : row.unlisted;
            if (chosen < 0) return Stored::kNothing;
            WriteField(record, row.field, chosen);
            return Stored::kTaken;
        }
        case Shows::kList:
        case Shows::kChoices: {
            const int selected = ListSelection(controls, row);
            if (selected < 0) return Stored::kNothing;
            if (row.kind == Shows::kChoices) {
                WriteChoice(record, row, selected);
            } else {
                WriteField(record, row.field, selected);
            }
            return Stored::kTaken;
        }
        case Shows::kNumber: {
            const std::int32_t low = changed != 0 && (row.flags & kTypedBelowLow) ? 0 : row.low;
            const NumberTake take = row.take != nullptr ? row.take : TakeInt;
            const int number = take(controls.GetText(row.id), low, row.high);
            WriteField(record, row.field, number);
            if (changed != 0 && (row.flags & kSpinFollows)) controls.SetPosition(row.spin, number);
            return Stored::kTaken;
        }
        case Shows::kSlider:
            WriteField(record, row.field, std::clamp(controls.Position(row.id), row.low, row.high));
            if (changed != 0 && row.label != 0) controls.SetText(row.label, std::to_string(controls.Position(row.id)));
            return Stored::kTaken;
        case Shows::kText:
            return Written(row.text->write(record, controls.GetText(row.id)));
        case Shows::kComboText: {
            const int selected = controls.Selection(row.id);
            return Written(row.text->write(
                record, selected >= 0 ? controls.ItemText(row.id, selected) : controls.GetText(row.id)));
        }
        case Shows::kItemText: {
            const int selected = controls.Selection(row.id);
            if (selected < 0) return Stored::kNothing;
            return Written(row.text->write(record, controls.ItemText(row.id, selected)));
        }
    }
    return Stored::kNothing;
}

bool Holds(const ExchangeRow& row, int id) {
    if (row.kind == Shows::kRadios) return std::find(row.radios, row.radios + row.count, id) != row.radios + row.count;
    return row.id == id || (row.kind == Shows::kNumber && row.spin != 0 && row.spin == id);
}

}  // namespace

int TakeInt(std::string_view text, int low, int high) {
    return std::clamp(AsciiToInt(text), low, high);
}

void SetUpControls(Controls& controls, std::span<const ExchangeRow> rows) {
    for (const ExchangeRow& row : rows) {
        switch (row.kind) {
            case Shows::kList:
            case Shows::kChoices:
                FillList(controls, row);
                break;
            case Shows::kNumber:
                if (row.limit != 0) controls.LimitText(row.id, row.limit);
                if (row.spin != 0) controls.SetRange(row.spin, row.low, row.high);
                if (row.rangeText != nullptr) controls.SetText(row.label, row.rangeText);
                break;
            case Shows::kSlider:
                controls.SetRange(row.id, row.low, row.high);
                break;
            case Shows::kText:
            case Shows::kComboText:
                if (row.kind == Shows::kComboText) FillList(controls, row);
                if (row.limit != 0) controls.LimitText(row.id, row.limit);
                if (row.flags & kReadOnly) controls.SetReadOnly(row.id, true);
                break;
            default:
                break;
        }
    }
}

void LoadControls(Controls& controls, std::span<const ExchangeRow> rows, const void* record) {
    for (const ExchangeRow& row : rows) LoadRow(controls, row, record);
}

bool StoreControls(Controls& controls, std::span<const ExchangeRow> rows, void* record) {
    bool all = true;
    for (const ExchangeRow& row : rows) {
        if (row.storedWhen != nullptr && !row.storedWhen(record)) continue;
        if (StoreRow(controls, row, record, 0) == Stored::kRefused) all = false;
    }
    return all;
}

bool StoreControl(Controls& controls, std::span<const ExchangeRow> rows, void* record, int id) {
    const ExchangeRow* row = FindRow(rows, id);
    return row != nullptr && StoreRow(controls, *row, record, id) == Stored::kTaken;
}

const ExchangeRow* FindRow(std::span<const ExchangeRow> rows, int id) {
    for (const ExchangeRow& row : rows) {
        if (Holds(row, id)) return &row;
    }
    return nullptr;
}

}  // namespace plat

#pragma once
// The round trip every dialog with an exchange table passes on the sim's
// controls: a record shown and applied comes back as it was, and each change
// the user makes to a control lands, after apply, in the field the test names
// for it (the test's own list, so that a table that mixes up two rows or a
// limit shows).
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <span>
#include <string>
#include <type_traits>

#include "control_exchange.h"
#include "sim/sim_controls.h"

namespace exchange_test {

// What the user does: picks an entry, types into an edit (and leaves it) or
// into an editable list, ticks a box, chooses a radio button, moves a slider.
enum class Act { kPick, kType, kTypeInList, kTick, kChoose, kSlide };

struct Edit {
    Act act;
    int id;
    int number;         // the entry, the box's state, the slider's position
    const char* typed;  // kType, kTypeInList
    plat::FieldRef field;
    double holds;
    std::string (*text)(const void* record) = nullptr;  // a text field, holding `typed`
};

inline Edit Pick(int id, int index, plat::FieldRef field, double holds) {
    return {Act::kPick, id, index, nullptr, field, holds};
}
inline Edit Type(int id, const char* typed, plat::FieldRef field, double holds) {
    return {Act::kType, id, 0, typed, field, holds};
}
inline Edit Tick(int id, bool checked, plat::FieldRef field, double holds) {
    return {Act::kTick, id, checked ? 1 : 0, nullptr, field, holds};
}
// The other radio buttons of the group are those the test chooses for the
// same field.
inline Edit Choose(int id, plat::FieldRef field, double holds) {
    return {Act::kChoose, id, 0, nullptr, field, holds};
}
inline Edit Slide(int id, int position, plat::FieldRef field, double holds) {
    return {Act::kSlide, id, position, nullptr, field, holds};
}
// An entry picked or a text typed into a list whose field holds the text;
// `holds` is the text the field then reads back as.
inline Edit PickText(int id, int index, std::string (*text)(const void*), const char* holds) {
    return {Act::kPick, id, index, holds, {}, 0, text};
}
inline Edit TypeText(int id, const char* typed, std::string (*text)(const void*)) {
    return {Act::kTypeInList, id, 0, typed, {}, 0, text};
}

// A numeric field's value, exactly as the record holds it.
inline double Value(const void* record, plat::FieldRef field) {
    const auto* at = static_cast<const unsigned char*>(record) + field.offset;
    auto read = [at]<typename T>(T value) {
        std::memcpy(&value, at, sizeof value);
        return static_cast<double>(value);
    };
    switch (field.type) {
        case plat::FieldType::kByte:
            return read(std::uint8_t{});
        case plat::FieldType::kChar:
            return read(char{});
        case plat::FieldType::kInt:
            return read(std::int32_t{});
        case plat::FieldType::kUnsigned:
            return read(std::uint32_t{});
        case plat::FieldType::kDouble:
            return read(double{});
    }
    return 0;
}

// The dialog under test: made anew and shown on a record (the controls it
// lives in), its commands, apply (or OK), and the record as it left it.
template <typename Record>
struct DialogSteps {
    std::function<sim::SimControls&(const Record&)> show;
    std::function<void(sim::SimControls&, int id, int notifyCode)> command;
    std::function<void(sim::SimControls&)> apply;
    std::function<Record()> held;
};

template <typename Record>
void Do(sim::SimControls& controls, const DialogSteps<Record>& dialog, const Edit& edit, std::span<const Edit> edits) {
    switch (edit.act) {
        case Act::kPick:
            // Windows reports a choice twice, as it is made and as it is confirmed.
            controls.Select(edit.id, edit.number);
            dialog.command(controls, edit.id, plat::kCbnSelChange);
            dialog.command(controls, edit.id, plat::kCbnSelEndOk);
            return;
        case Act::kType:
            controls.Type(edit.id, edit.typed);
            dialog.command(controls, edit.id, plat::kEnChange);
            dialog.command(controls, edit.id, plat::kEnKillFocus);
            return;
        case Act::kTypeInList:
            // Typing leaves no entry selected.
            controls.Select(edit.id, -1);
            controls.Type(edit.id, edit.typed);
            dialog.command(controls, edit.id, plat::kCbnEditChange);
            return;
        case Act::kTick:
            controls.SetCheck(edit.id, edit.number != 0);
            dialog.command(controls, edit.id, plat::kBnClicked);
            return;
        case Act::kChoose:
            for (const Edit& other : edits) {
                if (other.act == Act::kChoose && other.field.offset == edit.field.offset) {
                    controls.SetCheck(other.id, false);
                }
            }
            controls.SetCheck(edit.id, true);
            dialog.command(controls, edit.id, plat::kBnClicked);
            return;
        case Act::kSlide:
            controls.SetPosition(edit.id, edit.number);
            dialog.command(controls, edit.id, plat::kSliderScroll);
            return;
    }
}

template <typename Record>
void ExpectRoundTrip(const DialogSteps<Record>& dialog, const Record& sample, std::span<const Edit> edits) {
    {
        SCOPED_TRACE("the record shown and applied");
        dialog.apply(dialog.show(sample));
        const Record held = dialog.held();
        if constexpr (std::has_unique_object_representations_v<Record>) {
            EXPECT_EQ(std::memcmp(&held, &sample, sizeof sample), 0) << "the record's bytes moved";
        }
        for (const Edit& edit : edits) {
            if (edit.text != nullptr) {
                EXPECT_EQ(edit.text(&held), edit.text(&sample)) << "control " << edit.id;
            } else {
                EXPECT_EQ(Value(&held, edit.field), Value(&sample, edit.field)) << "control " << edit.id;
            }
        }
    }
    for (const Edit& edit : edits) {
        SCOPED_TRACE(testing::Message() << "control " << edit.id << " " << (edit.typed ? edit.typed : "") << " "
                                        << edit.number);
        sim::SimControls& controls = dialog.show(sample);
        Do(controls, dialog, edit, edits);
        dialog.apply(controls);
        const Record held = dialog.held();
        if (edit.text != nullptr) {
            EXPECT_EQ(edit.text(&held), edit.typed);
        } else {
            EXPECT_EQ(Value(&held, edit.field), edit.holds);
        }
    }
}

}  // namespace exchange_test

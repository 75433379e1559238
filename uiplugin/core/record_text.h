#pragma once
// Text fields of the private device mode: UTF-16, zero-terminated inside a
// fixed number of units and zero-filled after the terminator. The pages work
// in UTF-8; these two routines cross over.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace plugin {

// The field's text up to its terminator (or its end, when a foreign record
// left it unterminated). Unpaired surrogates come out as U+FFFD.
std::string ReadRecordText(std::span<const char16_t> field);

// Replaces the whole field: the text, its terminator, zeros after it. A text
// longer than the field is cut to field.size() - 1 units, never inside a
// surrogate pair, so the terminator always fits and nothing is written past
// the field. Malformed UTF-8 bytes are stored as U+FFFD.
void StoreRecordText(std::span<char16_t> field, std::string_view text);

// As StoreRecordText, for fields whose readers stop at the field's end: a
// text of exactly the field's length fills it with no terminator; a longer
// one is cut to the field's length.
void StoreRecordTextFilling(std::span<char16_t> field, std::string_view text);

// How many UTF-16 units the text takes in a field.
std::size_t RecordTextUnits(std::string_view text);

}  // namespace plugin

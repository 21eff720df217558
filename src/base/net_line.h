#pragma once

#include "base/field_array.h"

#include <string>
#include <string_view>

namespace lintora {

// writeNetLine: builds a net line from a net record, "GND; 2: U1.7, U2.7, " (no line end). The
// number of pins written is the value of slot 1, whatever the other slots hold.
void writeNetLine(const FieldArray& fields, std::string& line);
// The same net line appended to `text` (which keeps what it held).
void appendNetLine(const FieldArray& fields, std::string& text);

// writePartsLine: builds a parts line from a parts record, "! 74HC00; U1: DIP14? " (no line end).
void writePartsLine(const FieldArray& fields, std::string& line);
// The same parts line appended to `text`.
void appendPartLine(const FieldArray& fields, std::string& text);

// splitNetLine: splits a net line into a record: ";" ends the name, ":" the count, "," each pin;
// one character after ";" and after ":" is skipped (the writer puts a blank there), and
// every blank is dropped. Slots it does not reach keep what they held. Returns the index
// after the last slot written, so that callers never take a pin the line does not have.
std::size_t splitNetLine(FieldArray& fields, std::string_view line);

// Pins a split line really holds: the count of slot 1, but never more than were split.
std::size_t splitPinCount(const FieldArray& fields, std::size_t slotsWritten);

} // namespace lintora

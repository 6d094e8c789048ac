// Small helpers shared by the text-based IQ readers: the call-stack wrapper,
// C-locale number scanning and header-key lookup.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/call_stack.h"
#include "core/error.h"

namespace lv_iq {

using lv::Named;

// The number that starts at the first digit or minus sign after the first
// occurrence of key in line (the sign is kept), or nothing.
std::optional<double> NumberAfterKey(std::string_view line, const char* key);

// Scans up to maxValues numbers separated by white space (and by commas when
// commasAreSpace) from the start of line, in the C locale, the way a scanf
// format of that many conversions does: stops at the first text that is not a
// number. Returns how many were converted.
int ScanNumbers(std::string_view line, double* values, int maxValues, bool commasAreSpace);

// Refuses a header field whose value cannot be used (it does not parse
// completely, is not finite or is out of range): a CQError naming the file
// and the field.
[[noreturn]] void RefuseHeaderField(const std::string& file, const char* field);

// The value of the header field key in text: the number after the key (and
// any white space, ':' or '=' after it) that must fill the text up to the
// closing brace, quote or line end. Nothing when the key is absent; a value
// that is not a complete, finite number is refused naming file and field.
std::optional<double> FieldNumber(std::string_view text, const char* key, const std::string& file,
                                  const char* field);

// A sample count field: a whole number from 0 to 2^53 (larger counts are then
// refused as longer than the file); anything else is refused.
int64_t SampleCountField(double value, const std::string& file, const char* field);

// Refuses value (of field) unless it is finite and greater than zero.
double PositiveField(double value, const std::string& file, const char* field);

}  // namespace lv_iq

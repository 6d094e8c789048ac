// Small helpers shared by the text-based IQ readers: the call-stack wrapper,
// C-locale number scanning and header-key lookup.
#pragma once

#include <cstddef>
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

}  // namespace lv_iq

#pragma once
// Reading numbers the way every command and file reader of the program does: leading digits.
#include <cstdint>
#include <string_view>

namespace kestrova {

// Optional sign and leading decimal digits; 0 when there are none. Saturates instead of
// overflowing.
long leadingInteger(std::string_view text);

// Leading decimal digits as an unsigned 64-bit value, wrapping modulo 2^64 like strtoull's callers
// expect of oversized input; 0 when there are none.
std::uint64_t leadingUnsigned64(std::string_view text);

// "st", "nd", "rd" or "th", as English writes the ordinal of the number (1st, 12th, 22nd).
const char* ordinalSuffix(long number);

}  // namespace kestrova

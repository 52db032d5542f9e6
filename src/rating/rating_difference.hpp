#pragma once
// The rating difference that a percentage score implies (the FIDE table, ends at +-677).

namespace kestrova {

// perMille is a score in per mille (0..1000); values between whole percents are interpolated,
// truncating towards zero; values outside 0..1000 give the table's ends.
int ratingDifference(int perMille);

}  // namespace kestrova

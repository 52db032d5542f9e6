// Configuration values found by fuzzing.
#include <gtest/gtest.h>

#include <limits>

#include "shell/settings.hpp"

namespace kestrova {
namespace {

TEST(SettingsValues, AValueBeyondTheIntegerRangeStopsAtTheTopInsteadOfTurningNegative) {
  constexpr int kTop = std::numeric_limits<int>::max();
  Settings s;
  applySettingsLine(s, "maxIterations=2147483648");
  applySettingsLine(s, "startElo=99999999999999999999");
  applySettingsLine(s, "validGmDelta=4294967297");
  EXPECT_EQ(s.maxIterations, kTop);
  EXPECT_EQ(s.startElo, kTop);
  EXPECT_EQ(s.validGmDelta, kTop);
  // The largest int itself is kept, a negative value is still ignored.
  applySettingsLine(s, "minNbGm=2147483647");
  applySettingsLine(s, "lang=-1");
  EXPECT_EQ(s.minNbGm, kTop);
  EXPECT_EQ(s.lang, 0);
}

}  // namespace
}  // namespace kestrova

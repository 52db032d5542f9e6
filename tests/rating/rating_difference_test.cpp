#include "rating/rating_difference.hpp"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

struct DifferenceCase {
  int perMille;
  int expected;
};

// Expected values read from the FIDE table (ends at 677) and interpolated by hand; the
// truncation makes interpolated values slightly asymmetric (755 -> 197 but 245 -> -198).
TEST(RatingDifference, FollowsTheFideTableAndInterpolatesBetweenPercents) {
  const DifferenceCase cases[] = {
      {500, 0},     {505, 3},     {510, 7},    {750, 193},  {250, -193},
      {755, 197},   {245, -198},  {640, 102}, {360, -102}, {980, 589},
      {985, 633},   {15, -633},   {990, 677},  {995, 677},  {1000, 677},
      {10, -677},   {0, -677},    {5, -677},   {1500, 677}, {-20, -677},
      {917, 395},
  };
  for (const DifferenceCase& c : cases) {
    EXPECT_EQ(ratingDifference(c.perMille), c.expected) << "per mille " << c.perMille;
  }
}

TEST(RatingDifference, IsSymmetricAroundFiftyPercent) {
  for (int x = 0; x <= 1000; x += 10) {
    EXPECT_EQ(ratingDifference(x), -ratingDifference(1000 - x)) << "per mille " << x;
  }
}

}  // namespace
}  // namespace kestrova

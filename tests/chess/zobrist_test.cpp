// Zobrist keys: the generator and the draw order, the same on every machine.
#include "chess_support.hpp"

namespace kestrova::test {
namespace {

TEST(Zobrist, GeneratorRepeatsTheRuntimeLibrarySequenceAndFillsPrimaryFirst) {
  RuntimeRandom random(1);  // the C run-time library's rand() after srand(1)
  for (int expected : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464}) {
    EXPECT_EQ(random.draw(), expected);
  }
  // Five draws a key: r1 << 60 ^ r2 << 45 ^ r3 << 30 ^ r4 << 15 ^ r5.
  const auto keys = generateZobristKeys(1);
  EXPECT_EQ(keys->pieces[0][0][0].primary, 41ull << 60 ^ 18467ull << 45 ^ 6334ull << 30 ^ 26500ull << 15 ^ 19169);
  EXPECT_EQ(keys->pieces[0][0][0].secondary, 15724ull << 60 ^ 11478ull << 45 ^ 29358ull << 30 ^ 26962ull << 15 ^ 24464);
}

}  // namespace
}  // namespace kestrova::test

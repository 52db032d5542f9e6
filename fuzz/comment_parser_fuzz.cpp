// The comment parser on any comment text, for any half-move, after neighbours that may hold mate
// scores (the neighbour correction reads them).
//
// Input: two bytes of the ply (0..799), one byte choosing the neighbours' evaluations, then the
// comment from its opening bracket on (the first character is made a "{" or a "(").
#include <cstdint>

#include "fuzz_support.hpp"
#include "pgn/comment_parser.hpp"
#include "pgn/game.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestrova;
  using namespace kestrova::fuzz;
  if (size < 4) return 0;
  const int ply = ((data[0] << 8) | data[1]) % Game::kSlots;
  const std::uint8_t neighbours = data[2];
  ExactBuffer text(data + 3, size - 3);
  text.data()[0] = text.data()[0] & 1 ? '(' : '{';

  static Game& game = *new Game();
  static constexpr int kEvaluations[] = {0, 35, -120, 9500, -9500, 9700, -9700, 10000};
  for (int n = 0; n < Game::kSlots; n += 1) game.plies[n] = PlyRecord{};
  if (ply >= 1) game.plies[ply - 1].evaluation = kEvaluations[neighbours & 7];
  if (ply >= 2) game.plies[ply - 2].evaluation = kEvaluations[(neighbours >> 3) & 7];
  game.evaluationCount = game.depthCount = game.timeCount = 0;

  const std::size_t end = parseComment(game, ply, text.view());
  if (end < 1 || end > text.size()) fail("parseComment ended outside the text");
  if (end < text.size() && text.view()[end - 1] != '}' && text.view()[end - 1] != ')') {
    fail("parseComment stopped neither after a closing bracket nor at the end");
  }
  const PlyRecord& record = game.plies[ply];
  if (record.evaluationPresent > 1) fail("evaluation flag beyond 1");
  if (game.evaluationCount < 0 || game.depthCount < 0 || game.timeCount < 0) fail("negative counts");

  return 0;
}

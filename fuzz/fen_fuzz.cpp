// Position strings: parseFen on any text, the position written back and read again, the short
// form into texts of every size, the diagram, and a game started from a FEN header line.
//
// Input: one byte (the side written back, the diagram's language and the room of the short form),
// then the position string.
#include <cstdint>
#include <string>
#include <vector>

#include "chess/chess_core.hpp"
#include "chess/fen.hpp"
#include "chess/position_check.hpp"
#include "chess/zobrist.hpp"
#include "fuzz_support.hpp"
#include "pgn/board_view.hpp"
#include "pgn/game.hpp"
#include "pgn/header_lines.hpp"
#include "pgn/replay.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestrova;
  using namespace kestrova::fuzz;
  if (size < 1) return 0;
  const std::uint8_t options = data[0];
  ExactBuffer fen(data + 1, size - 1);
  App& app = sharedApp();
  ChessCore& core = app.chess;

  Board board;
  parseFen(board, fen.view());
  checkBoard(board);
  if (board.side < -1 || board.side > 1) fail("side neither -1, 0 nor 1");
  if (board.castling & ~(squareBit(0) | squareBit(7) | squareBit(56) | squareBit(63))) fail("castling off the corners");
  if (board.enPassant & (board.enPassant - 1)) fail("several en-passant squares");

  // Written and read back, the position is the same.
  const int side = board.side >= 0 ? board.side : options & 1;
  std::string written;
  writeFen(board, side, written);
  Board again;
  parseFen(again, written);
  Board expected = board;
  expected.side = side;
  if (!sameBoard(expected, again)) fail("the written position reads back differently");

  std::string placement;
  writePlacementFen(board, side, placement);
  std::vector<char> room((options >> 1) & 127);
  writePlacementFen(board, side, room);
  if (!room.empty() && room.back() != '\0' && std::string(room.data(), room.size()).find('\0') == std::string::npos) {
    fail("the short form is not terminated");
  }

  printDiagram(app.console, app.strings, board, static_cast<int>(options) - 128);
  computePositionKeys(*core.zobrist, board, side);
  isPositionSane(*core.attacks, board, options & 1 ? kBlack : kWhite, 32, 31);

  // A game whose header holds the text as its FEN tag, the way the reader keeps header lines.
  HeaderLines header;
  std::string& line = header.add();
  line = "[FEN \"";
  line.append(fen.view());
  line += "\"]";
  setStartPosition(core, app.game, kStartPosition, &header);
  checkBoard(core.board);
  if (app.game.previousFen.size() > Game::kFenCapacity || app.game.currentFen != app.game.previousFen) {
    fail("the position texts differ after a start");
  }
  setStartPosition(core, app.game, fen.view());
  checkBoard(core.board);
  app.console.takeCaptured();
  return 0;
}

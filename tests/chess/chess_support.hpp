#pragma once
// Helpers of the chess tests: squares by name, positions from FEN, boards checked against their mailbox.
#include <gtest/gtest.h>

#include <string>

#include "chess/attacks.hpp"
#include "chess/chess_core.hpp"
#include "chess/fen.hpp"
#include "chess/make_move.hpp"
#include "chess/position_check.hpp"
#include "chess/san.hpp"

namespace kestrova::test {

inline int sq(const char* name) { return squareOf(name[0], name[1]); }

inline Board boardOf(std::string_view fen) {
  Board board;
  parseFen(board, fen);
  return board;
}

// The tables are immutable: every test shares one set.
inline const AttackTables& tables() {
  static const auto built = buildAttackTables();
  return *built;
}

// Placement, side to move, castling rights and en-passant square, as a position string writes them.
inline std::string positionOf(const Board& board) {
  std::string fen;
  writeFen(board, board.side, fen);
  std::size_t end = 0;
  for (int field = 0; field < 4; ++field) end = fen.find(' ', end + 1);
  return fen.substr(0, end);  // without the clocks
}

// The occupancy boards, rebuilt from the mailbox and the colour boards, match the stored ones.
inline bool isConsistent(const Board& b) {
  Board rebuilt;
  for (int s = 0; s < 64; ++s) if (b.mailbox[s]) rebuilt.put(b.colourOn(s), b.mailbox[s], s);
  return rebuilt.pieces == b.pieces && rebuilt.colours == b.colours && rebuilt.occupied == b.occupied &&
         rebuilt.occupiedFiles == b.occupiedFiles && rebuilt.occupiedDiagA == b.occupiedDiagA &&
         rebuilt.occupiedDiagB == b.occupiedDiagB;
}

}  // namespace kestrova::test

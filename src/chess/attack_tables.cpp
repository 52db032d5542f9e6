#include "chess/attack_tables.hpp"

#include <vector>

namespace kestrova {

namespace {

// Square at file x (0 = a) and row y (0 = rank 8), or -1 off the board.
int squareAt(int x, int y) { return x >= 0 && x < 8 && y >= 0 && y < 8 ? y * 8 + x : -1; }

Bitboard maskOf(std::initializer_list<int> squares) {
  Bitboard mask = 0;
  for (int square : squares) {
    if (square < 0) return 0;  // the shape does not fit
    mask |= squareBit(square);
  }
  return mask;
}

// Fills the attack entries of every square of one line, given in the order of its bits.
void fillLine(AttackTables::LineAttacks& table, const std::vector<int>& line) {
  const int length = static_cast<int>(line.size());
  for (int position = 0; position < length; ++position) {
    for (int occupancy = 0; occupancy < 256; ++occupancy) {
      Bitboard reach = 0;
      for (int p = position + 1; p < length; ++p) {
        reach |= squareBit(line[p]);
        if (occupancy & (1 << p)) break;
      }
      for (int p = position - 1; p >= 0; --p) {
        reach |= squareBit(line[p]);
        if (occupancy & (1 << p)) break;
      }
      table[line[position]][occupancy] = reach;
    }
  }
}

// A diagonal in the order of its rotated bits (rising file), with its run start and mask.
void fillDiagonal(AttackTables::LineAttacks& table, std::array<std::uint8_t, 64>& start,
                  std::array<std::uint8_t, 64>& mask, const std::vector<int>& line, int (*rotation)(int)) {
  fillLine(table, line);
  for (int square : line) {
    start[square] = static_cast<std::uint8_t>(rotation(line.front()));
    mask[square] = static_cast<std::uint8_t>((1u << line.size()) - 1);
  }
}

void buildLines(AttackTables& t) {
  for (int fixed = 0; fixed < 8; ++fixed) {
    std::vector<int> rank, file;
    for (int i = 0; i < 8; ++i) {
      rank.push_back(squareAt(i, fixed));  // bit x of the rank's byte
      file.push_back(squareAt(fixed, i));  // bit y of the file's byte
    }
    fillLine(t.rankAttacks, rank);
    fillLine(t.fileAttacks, file);
  }
  for (int d = -7; d <= 7; ++d) {  // x - y constant: the a8-h1 direction
    std::vector<int> line;
    for (int x = 0; x < 8; ++x) {
      if (squareAt(x, x - d) >= 0) line.push_back(squareAt(x, x - d));
    }
    fillDiagonal(t.diagAAttacks, t.diagAStart, t.diagAMask, line, diagARotation);
  }
  for (int u = 0; u <= 14; ++u) {  // x + y constant: the h8-a1 direction
    std::vector<int> line;
    for (int x = 0; x < 8; ++x) {
      if (squareAt(x, u - x) >= 0) line.push_back(squareAt(x, u - x));
    }
    fillDiagonal(t.diagBAttacks, t.diagBStart, t.diagBMask, line, diagBRotation);
  }
}

void buildLeapers(AttackTables& t, int s, int x, int y) {
  static constexpr int kKnight[8][2] = {{1, 2}, {2, 1}, {2, -1}, {1, -2}, {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}};
  for (const auto& step : kKnight) {
    const int target = squareAt(x + step[0], y + step[1]);
    if (target >= 0) t.knightAttacks[s] |= squareBit(target);
  }
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      const int target = squareAt(x + dx, y + dy);
      if (target < 0) continue;
      t.block3x3[s] |= squareBit(target);
      if (target != s) t.kingAttacks[s] |= squareBit(target);
    }
  }
  // A White pawn attacking s stands one row nearer rank 1, a Black one one row nearer rank 8.
  for (int dx : {-1, 1}) {
    const int white = squareAt(x + dx, y + 1);
    const int black = squareAt(x + dx, y - 1);
    if (white >= 0) t.pawnAttackers[kWhite][s] |= squareBit(white);
    if (black >= 0) t.pawnAttackers[kBlack][s] |= squareBit(black);
  }
}

void buildShapes(AttackTables& t, int s, int x, int y) {
  // In rank terms: y - 1 is one rank higher.
  t.diamond[s] = x >= 1 && x <= 6 ? maskOf({s, squareAt(x - 1, y - 1), squareAt(x + 1, y - 1), squareAt(x, y - 2)}) : 0;
  t.pawn1x3[s] = maskOf({s, squareAt(x, y - 1), squareAt(x, y - 2)});
  t.pawn1x4[s] = maskOf({s, squareAt(x, y - 1), squareAt(x, y - 2), squareAt(x, y - 3)});
  t.pawn2x2[s] = maskOf({s, squareAt(x + 1, y), squareAt(x, y - 1), squareAt(x + 1, y - 1)});
  for (int dx = -2; dx <= 2; ++dx) {
    for (int row = 0; row < 8; ++row) {
      const int target = squareAt(x + dx, row);
      if (target < 0) continue;
      if (row <= y) t.stormZone[kWhite][s] |= squareBit(target);
      if (row >= y) t.stormZone[kBlack][s] |= squareBit(target);
    }
  }
}

}  // namespace

std::unique_ptr<const AttackTables> buildAttackTables() {
  auto tables = std::make_unique<AttackTables>();
  AttackTables& t = *tables;
  for (int s = 0; s < 64; ++s) {
    t.files[fileOf(s)] |= squareBit(s);
    t.ranks[7 - rowOf(s)] |= squareBit(s);
  }
  buildLines(t);
  for (int s = 0; s < 64; ++s) {
    const int x = fileOf(s), y = rowOf(s);
    t.rookLines[s] = t.rankAttacks[s][0] | t.fileAttacks[s][0];
    t.bishopLines[s] = t.diagAAttacks[s][0] | t.diagBAttacks[s][0];
    buildLeapers(t, s, x, y);
    buildShapes(t, s, x, y);
  }
  return tables;
}

}  // namespace kestrova

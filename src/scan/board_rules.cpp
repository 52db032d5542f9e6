#include "scan/board_rules.hpp"

#include <algorithm>
#include <bit>
#include <cstdio>

#include "scan/report_writer.hpp"
#include "scan/rule_context.hpp"
#include "scan/rule_support.hpp"

namespace kestrova {

namespace {

// Rank 1..8 of a square (square 0 is a8).
constexpr int rankOf(int square) { return 8 - rowOf(square); }

constexpr Bitboard kFileA = 0x0101010101010101ULL;
constexpr Bitboard kFileH = 0x8080808080808080ULL;
// Storms stand on files b to g, White's on ranks 5 to 8, Black's on ranks 1 to 4.
constexpr Bitboard kStormFiles = ~(kFileA | kFileH);
constexpr Bitboard kStormRanks[2] = {0xFFFFFFFF00000000ULL, 0x00000000FFFFFFFFULL};

// The squares where a pawn shape (Diamond, Pawn1x3, Pawn1x4 or Pawn2x2) is anchored with every one
// of its squares in `pawns`.
inline Bitboard anchorsOf(int shape, Bitboard pawns) {
  // One rank up is 8 squares lower (square 0 is a8); one file right is one square higher.
  const Bitboard up1 = pawns << 8, up2 = pawns << 16;
  switch (shape) {
    case detection::kDiamond:  // (f,r) (f-1,r+1) (f+1,r+1) (f,r+2), files b..g
      return pawns & (pawns << 9) & (pawns << 7) & up2 & kStormFiles;
    case detection::kPawn1x3:
      return pawns & up1 & up2;
    case detection::kPawn1x4:
      return pawns & up1 & up2 & (pawns << 24);
    case detection::kPawn2x2:  // (f,r) (f+1,r) (f,r+1) (f+1,r+1), files a..g
      return pawns & (pawns >> 1) & up1 & (pawns << 7) & ~kFileH;
    default:
      return 0;
  }
}

// The squares at which a storm of `side` is stopped: an opposing pawn stands on files f-2..f+2 at
// the square's rank or further ahead (towards rank 8 for White, rank 1 for Black).
inline Bitboard stoppersOf(int side, Bitboard opposing) {
  // Spread every opposing pawn back along its file, towards the storming side.
  Bitboard x = opposing;
  if (side == kWhite) {
    x |= x << 8;
    x |= x << 16;
    x |= x << 32;
  } else {
    x |= x >> 8;
    x |= x >> 16;
    x |= x >> 32;
  }
  // Then two files to either side.
  const Bitboard one = x | ((x << 1) & ~kFileA) | ((x >> 1) & ~kFileH);
  return one | ((one << 1) & ~kFileA) | ((one >> 1) & ~kFileH);
}

// Visits every square of a board, lowest first.
template <typename Visit>
void forEachSquare(Bitboard bits, Visit visit) {
  while (bits) {
    visit(std::countr_zero(bits));
    bits &= bits - 1;
  }
}

void reportGameLength(const RuleContext& context, int number, int ply) {
  char text[16];
  std::snprintf(text, sizeof text, "%d mv", (ply + 1) / 2);
  reportDetection(context, number, moverOf(ply), kAfter, ply, text);
}

// How far the two armies have entered each other.
int confusionIndex(const AttackTables& t, const Board& board) {
  const Bitboard white = board.colours[kWhite];
  const Bitboard black = board.colours[kBlack];
  // Squares with a man of the board below them on their file (towards rank 1), or above.
  auto below = [](Bitboard men) {
    Bitboard x = men >> 8;
    x |= x >> 8;
    x |= x >> 16;
    return x | (x >> 32);
  };
  auto above = [](Bitboard men) {
    Bitboard x = men << 8;
    x |= x << 8;
    x |= x << 16;
    return x | (x << 32);
  };
  // A man with an opponent behind it on its file counts 5; any other counts the opponents on the
  // up to six squares of the two ranks behind it, files f-1..f+1.
  const Bitboard whiteCut = white & below(black);
  const Bitboard blackCut = black & above(white);
  const Bitboard w = white & ~whiteCut;
  const Bitboard b = black & ~blackCut;
  int index = 5 * (popCount(whiteCut) + popCount(blackCut));
  index += popCount(w & ~kFileA & (black >> 7)) + popCount(w & (black >> 8)) + popCount(w & ~kFileH & (black >> 9)) +
           popCount(w & ~kFileA & (black >> 15)) + popCount(w & (black >> 16)) + popCount(w & ~kFileH & (black >> 17));
  index += popCount(b & ~kFileH & (white << 7)) + popCount(b & (white << 8)) + popCount(b & ~kFileA & (white << 9)) +
           popCount(b & ~kFileH & (white << 15)) + popCount(b & (white << 16)) + popCount(b & ~kFileA & (white << 17));
  // Men far forward: ranks 6 to 8 (White) or 1 to 3 (Black) count 4, the fifth or fourth rank 2.
  const Bitboard whiteDeep = t.ranks[5] | t.ranks[6] | t.ranks[7];
  const Bitboard blackDeep = t.ranks[0] | t.ranks[1] | t.ranks[2];
  index += 4 * popCount(white & whiteDeep) + 2 * popCount(white & t.ranks[4]);
  index += 4 * popCount(black & blackDeep) + 2 * popCount(black & t.ranks[3]);
  return index;
}

}  // namespace

void checkPawnShapes(const RuleContext& context, int p) {
  const DetectionSettings& d = context.settings;
  const AttackTables& t = context.tables;
  const Board& board = context.board;
  const Bitboard pawns[2] = {board.pieces[kBlack][kPawn], board.pieces[kWhite][kPawn]};
  static constexpr int kShapes[] = {detection::kDiamond, detection::kPawn1x3, detection::kPawn1x4, detection::kPawn2x2};
  const DetectionEntry& storm = d[detection::kPawnStorm];

  // Most positions hold no shape and no storm: the squares that could report are found for all
  // squares at once, and only they are looked at one by one, in square order.
  Bitboard anchors[4][2] = {};
  Bitboard candidates = 0;
  for (int i = 0; i < 4; ++i) {
    const DetectionEntry& entry = d[kShapes[i]];
    if (!entry.active) continue;
    for (int side : {1, 0}) {
      if (context.gateOpen(kShapes[i], side)) candidates |= anchors[i][side] = anchorsOf(kShapes[i], pawns[side]);
    }
  }
  Bitboard storms[2] = {};
  if (storm.active) {
    for (int side : {1, 0}) {
      if (!context.gateOpen(detection::kPawnStorm, side)) continue;
      storms[side] = pawns[side] & kStormRanks[side] & kStormFiles & ~stoppersOf(side, pawns[1 - side]);
      candidates |= storms[side];
    }
  }
  if (candidates == 0) return;

  forEachSquare(candidates, [&](int s) {
    const Bitboard bit = squareBit(s);
    for (int i = 0; i < 4; ++i) {
      for (int side : {1, 0}) {
        if ((anchors[i][side] & bit) && context.gateOpen(kShapes[i], side)) {
          reportDetection(context, kShapes[i], side, kAfter, p);
        }
      }
    }
    // A storm: three pawns together deep in the opponent's half with no opposing pawn ahead of them.
    for (int side : {1, 0}) {
      if ((storms[side] & bit) && context.gateOpen(detection::kPawnStorm, side) &&
          (t.stormZone[side][s] & pawns[1 - side]) == 0 && popCount(t.block3x3[s] & pawns[side]) >= 3) {
        reportDetection(context, detection::kPawnStorm, side, kAfter, p);
      }
    }
  });
}

void checkConfusion(const RuleContext& context, int p) {
  const DetectionEntry& entry = context.settings[detection::kConfusion];
  if (!entry.active) return;
  ScanRun& run = context.run;
  int& count = run.counts[detection::kConfusion].other;
  if (p < 5) run.lastConfusionIndex = 0;
  const Board& board = context.board;
  if (popCount(board.occupied) < 20 || count >= entry.maxOccurrences) return;
  const int index = confusionIndex(context.tables, board);
  if (index <= run.lastConfusionIndex || index < entry.minValue || index > entry.maxValue) return;
  if (++count >= entry.minOccurrences) {
    run.lastConfusionIndex = index;
    char text[24];
    std::snprintf(text, sizeof text, "ind=%d", index);
    writeReportLine(context, detection::kConfusion, kNoSide, kAfter, p, text);
  }
}

void checkCrazyKing(const RuleContext& context, int p) {
  const DetectionEntry& entry = context.settings[detection::kCrazyKing];
  if (!entry.active) return;
  const Board& board = context.board;
  // The men are counted last: the king's square settles most plies.
  if (context.gateOpen(detection::kCrazyKing, 1) && board.pieces[kBlack][kQueen]) {
    const int king = highestSquare(board.pieces[kWhite][kKing]);
    if (king != kNoSquare && (rankOf(king) >= 4 || king == squareOf('d', '3') || king == squareOf('e', '3')) &&
        popCount(board.occupied) >= 22) {
      reportDetection(context, detection::kCrazyKing, 1, kAfter, p);
    }
  }
  if (context.gateOpen(detection::kCrazyKing, 0) && board.pieces[kWhite][kQueen]) {
    const int king = highestSquare(board.pieces[kBlack][kKing]);
    if (king != kNoSquare && (rankOf(king) <= 5 || king == squareOf('d', '6') || king == squareOf('e', '6')) &&
        popCount(board.occupied) >= 22) {
      reportDetection(context, detection::kCrazyKing, 0, kAfter, p);
    }
  }
}

void checkExceedingPc(const RuleContext& context, int p) {
  const DetectionEntry& entry = context.settings[detection::kExceedingPc];
  if (!entry.active) return;
  const Board& board = context.board;
  static constexpr struct {
    int type;
    int beyond;  // how many more than val make a surplus
    const char* letter;
  } kKinds[] = {{kQueen, 1, "Q"}, {kRook, 2, "R"}, {kBishop, 2, "B"}, {kKnight, 2, "N"}};
  for (int side : {1, 0}) {
    // The gate is looked at once per ply: every surplus kind of this ply counts.
    if (!context.gateOpen(detection::kExceedingPc, side)) continue;
    DetectionCounts& counts = context.run.counts[detection::kExceedingPc];
    int& count = side == 1 ? counts.white : counts.black;
    for (const auto& kind : kKinds) {
      if (popCount(board.pieces[side][kind.type]) < entry.value + kind.beyond) continue;
      if (kind.type == kQueen && board.pieces[1 - side][kQueen] == 0) continue;
      if (++count >= entry.minOccurrences) writeReportLine(context, detection::kExceedingPc, side, kAfter, p, kind.letter);
    }
  }
}

void checkVeryShortGame(const RuleContext& context, int p) {
  const DetectionEntry& entry = context.settings[detection::kVeryShortGame];
  if (entry.active && p == context.game.plyCount && p <= 2 * entry.value) {
    reportGameLength(context, detection::kVeryShortGame, p);
  }
}

void checkVeryLongGame(const RuleContext& context, int p) {
  const DetectionEntry& entry = context.settings[detection::kVeryLongGame];
  if (entry.active && p == context.game.plyCount && p >= 2 * entry.value) {
    reportGameLength(context, detection::kVeryLongGame, p);
  }
}

void checkOppCastles(const RuleContext& context, int p) {
  const DetectionEntry& entry = context.settings[detection::kOppCastles];
  if (!entry.active) return;
  const Game& game = context.game;
  const std::uint16_t flags = game.plies[p].flags;
  const bool white = moverOf(p) == 1;
  const bool opponentShort = white ? game.castled.blackShort : game.castled.whiteShort;
  const bool opponentLong = white ? game.castled.blackLong : game.castled.whiteLong;
  if (((flags & moveflag::kShortCastle) && opponentLong) || ((flags & moveflag::kLongCastle) && opponentShort)) {
    reportDetection(context, detection::kOppCastles, moverOf(p), kAfter, p);
  }
}

void checkMvWeakCastle(const RuleContext& context, int p) {
  const DetectionEntry& entry = context.settings[detection::kMvWeakCastle];
  if (!entry.active) return;
  const Move& move = context.game.plies[p];
  const Board& board = context.board;
  if (board.mailbox[move.to] != kPawn || (move.from > move.to ? move.from - move.to : move.to - move.from) != 16) return;
  const int side = moverOf(p);
  const int king = highestSquare(board.pieces[side][kKing]);
  if (king == kNoSquare) return;
  const int kingFile = fileOf(king);
  const int pawnFile = fileOf(move.to);
  const bool defended = (context.tables.pawnAttackers[side][move.to] & board.pieces[side][kPawn]) != 0;
  // Files: a = 0 .. h = 7.
  const bool weakens = (kingFile >= 6 && (pawnFile == 6 || (pawnFile == 7 && !defended))) ||
                       (kingFile <= 2 && (pawnFile <= 1 || (pawnFile == 2 && !defended)));
  if (weakens && popCount(board.occupied) >= entry.value && board.pieces[1 - side][kQueen] != 0) {
    reportDetection(context, detection::kMvWeakCastle, side, kAfter, p);
  }
}

void checkDraw50RuleBrk(const RuleContext& context, int p) {
  const DetectionEntry& entry = context.settings[detection::kDraw50RuleBrk];
  const Game& game = context.game;
  if (!entry.active || game.halfMoveClock != 100) return;
  char line[48];
  std::snprintf(line, sizeof line, "%u: 50 moves rule violation !\n", context.gameNumber);
  reportDetection(context, detection::kDraw50RuleBrk, moverOf(p), kAfter, p, nullptr, p < game.plyCount ? line : nullptr);
}

void checkDraw3xRuleBrk(const RuleContext& context, int p) {
  const DetectionEntry& entry = context.settings[detection::kDraw3xRuleBrk];
  if (!entry.active) return;
  const Game& game = context.game;
  const PositionKeys& keys = game.plies[p].keys;
  // Equal keys mean the same placement and side to move, so only plies of the same mover since
  // the last capture or pawn move can repeat the position; the start position does not count.
  const int oldest = std::max(game.firstPly(), p - static_cast<int>(game.halfMoveClock));
  int equal = 1;
  for (int k = p - 2; k >= oldest; k -= 2) {
    if (!(game.plies[k].keys == keys) || ++equal < 3) continue;
    char line[56];
    std::snprintf(line, sizeof line, "%u: 3 repetitions rule violation !\n", context.gameNumber);
    reportDetection(context, detection::kDraw3xRuleBrk, moverOf(p), kAfter, p, nullptr, p < game.plyCount ? line : nullptr);
    return;
  }
}

void checkNoPlan(const RuleContext& context, int p) {
  const DetectionEntry& entry = context.settings[detection::kNoPlan];
  const int side = moverOf(p);
  if (entry.active && context.game.halfMoveClock == entry.value && context.gateOpen(detection::kNoPlan, side)) {
    reportDetection(context, detection::kNoPlan, side, kBefore, p);
  }
}

void checkTooFewMoves(const RuleContext& context, int lastPly) {
  const DetectionEntry& entry = context.settings[detection::kTooFewMoves];
  if (entry.active && lastPly <= 2 * entry.value) {
    reportDetection(context, detection::kTooFewMoves, moverOf(lastPly), kAfter, lastPly, "crash?");
  }
}

}  // namespace kestrova

#include "generator_game.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "generator_san.hpp"

namespace kestrova::bench {

namespace {

constexpr int kStreamGame = 3;
constexpr int kLineWidth = 79;
constexpr int kPieceValue[7] = {0, 0, 9, 5, 3, 3, 1};

// White's expected score in per mille for an Elo difference of 0, 25, 50 ... 800 (logistic curve).
constexpr int kExpectedScore[33] = {500, 536, 571, 606, 640, 673, 703, 733, 760, 785, 808, 830, 849, 867, 882, 896, 909,
                                    920, 930, 939, 947, 954, 960, 965, 969, 973, 977, 980, 983, 985, 987, 989, 990};

int expectedScore(int difference) {
  const int magnitude = std::min(std::abs(difference), 800);
  const int low = kExpectedScore[magnitude / 25];
  const int high = kExpectedScore[std::min(magnitude / 25 + 1, 32)];
  const int score = low + (high - low) * (magnitude % 25) / 25;
  return difference >= 0 ? score : 1000 - score;
}

bool insufficientMaterial(const Board& board) {
  for (int colour : {kBlack, kWhite}) {
    if (board.pieces[colour][kPawn] | board.pieces[colour][kRook] | board.pieces[colour][kQueen]) return false;
  }
  const Bitboard minors = board.pieces[kWhite][kBishop] | board.pieces[kWhite][kKnight] |
                          board.pieces[kBlack][kBishop] | board.pieces[kBlack][kKnight];
  return popCount(minors) <= 1;
}

// A little preference for what engines like: captures of big pieces, checks, castling, developing
// the minor pieces and the centre pawns early; little for early king and queen walks.
int moveWeight(const GenMove& move, int ply) {
  int weight = 8;
  if (move.captured != kNoPiece) weight += 6 + 2 * kPieceValue[move.captured];
  if (move.givesCheck) weight += 4;
  if (move.kind == MoveKind::kShortCastle || move.kind == MoveKind::kLongCastle) weight += 30;
  if (ply <= 20) {
    const int homeRow = ply % 2 == 1 ? 7 : 0;
    if ((move.piece == kKnight || move.piece == kBishop) && rowOf(move.from) == homeRow) weight += 12;
    const int file = fileOf(move.from);
    if (move.piece == kPawn && (file == 3 || file == 4)) weight += move.kind == MoveKind::kDoubleStep ? 16 : 6;
    if (move.piece == kPawn && (file == 2 || file == 5)) weight += 4;
    if (move.piece == kPawn && (file < 2 || file > 5) && move.captured == kNoPiece) weight /= 2;
    if (move.piece == kKnight && (fileOf(move.to) == 0 || fileOf(move.to) == 7)) weight /= 3;
    if (move.piece == kQueen || (move.piece == kRook && move.captured == kNoPiece)) weight /= 2;
    if (move.piece == kKing && move.kind == MoveKind::kNormal) weight = 1;
  }
  if (move.promotion != kNoPiece) weight = move.promotion == kQueen ? weight + 40 : 1;
  return weight;
}

void appendScore(std::string& out, int centipawns) {
  char text[16];
  const int magnitude = std::abs(centipawns);
  const char* sign = centipawns > 0 ? "+" : centipawns < 0 ? "-" : "";
  const int n = std::snprintf(text, sizeof text, "%s%d.%02d", sign, magnitude / 100, magnitude % 100);
  out.append(text, static_cast<std::size_t>(n));
}

// Seconds as engine-match managers write them: 0.043s, 0.5s, 1.2s, 12s.
void appendTime(std::string& out, int milliseconds) {
  char text[16];
  int n;
  if (milliseconds >= 10000) {
    n = std::snprintf(text, sizeof text, "%ds", (milliseconds + 500) / 1000);
  } else if (milliseconds % 1000 == 0) {
    n = std::snprintf(text, sizeof text, "%ds", milliseconds / 1000);
  } else {
    n = std::snprintf(text, sizeof text, "%d.%03d", milliseconds / 1000, milliseconds % 1000);
    while (text[n - 1] == '0') --n;
    text[n++] = 's';
  }
  out.append(text, static_cast<std::size_t>(n));
}

// Builds movetext lines of at most 79 characters from units that are never split.
class LineFiller {
 public:
  explicit LineFiller(std::string& out) : out_(out) {}
  void add(const std::string& unit) {
    const int length = static_cast<int>(unit.size());
    if (column_ > 0 && column_ + 1 + length > kLineWidth) {
      out_.push_back('\n');
      column_ = 0;
    } else if (column_ > 0) {
      out_.push_back(' ');
      ++column_;
    }
    out_.append(unit);
    column_ += length;
  }

 private:
  std::string& out_;
  int column_ = 0;
};

}  // namespace

GameComposer::GameComposer(std::uint64_t seed, std::uint32_t games)
    : seed_(seed), tables_(buildAttackTables()), schedule_(seed, games) {}

Ending GameComposer::playMoves(GeneratorRandom& random, int length) {
  Board board;
  setStartPosition(board);
  int current = 0;
  generateLegalMoves(*tables_, board, lists_[current]);
  int clock = 0;
  plyCount_ = 0;
  for (int ply = 1; ply <= length; ++ply) {
    GenMoveList& legal = lists_[current];
    GenMoveList& next = lists_[1 - current];
    if (legal.count == 0) return Ending::kByLength;  // cannot happen: the previous ply ended the game
    int total = 0;
    for (int i = 0; i < legal.count; ++i) total += weights_[i] = moveWeight(legal.moves[i], ply);
    // Draw a move; one that mates or stalemates before the minimum length is put back, unless
    // nothing else is left.
    Board after;
    int chosen = 0;
    for (;;) {
      int pick = static_cast<int>(random.below(static_cast<std::uint32_t>(total)));
      chosen = 0;
      while (pick >= weights_[chosen]) pick -= weights_[chosen++];
      after = board;
      playGenMove(after, legal.moves[chosen]);
      generateLegalMoves(*tables_, after, next);
      if (next.count > 0 || ply >= kMinLength || total == weights_[chosen]) break;
      total -= weights_[chosen];
      weights_[chosen] = 0;
    }
    const GenMove& move = legal.moves[chosen];
    const bool mate = next.count == 0 && move.givesCheck;
    writeSan(legal, move, mate, san_[ply].data());
    clock = (move.piece == kPawn || move.captured != kNoPiece) ? 0 : clock + 1;
    board = after;
    current = 1 - current;
    plyCount_ = ply;
    if (next.count == 0) return mate ? Ending::kMate : Ending::kStalemate;
    if (insufficientMaterial(board)) return Ending::kMaterial;
    if (clock >= 100) return Ending::kFiftyMoves;
  }
  return Ending::kByLength;
}

GameComposer::Outcome GameComposer::decideOutcome(GeneratorRandom& random, Ending ending,
                                                  const GameContext& context) const {
  Outcome outcome;
  const bool whiteMovedLast = plyCount_ % 2 == 1;
  switch (ending) {
    case Ending::kMate:
      outcome.whiteScore = whiteMovedLast ? 2 : 0;
      outcome.reason = whiteMovedLast ? "White mates" : "Black mates";
      outcome.mateBase = 1;
      outcome.mateSpan = std::min(2 * random.between(1, 4), plyCount_);
      return outcome;
    case Ending::kStalemate:
      outcome.reason = "Draw by stalemate";
      return outcome;
    case Ending::kFiftyMoves:
      outcome.reason = "Draw by fifty moves rule";
      return outcome;
    case Ending::kMaterial:
      outcome.reason = "Draw by insufficient mating material";
      return outcome;
    default:
      break;
  }
  // Adjudicated at the chosen length: the result follows the players' ratings, with fewer draws
  // between players far apart.
  outcome.adjudicated = true;
  const int difference = kEnginePool[context.white].elo - kEnginePool[context.black].elo + 35;
  const int draw = std::clamp(450 - std::abs(difference) / 3, 120, 450);
  const int win = std::max(expectedScore(difference) - draw / 2, 5);
  const int roll = static_cast<int>(random.below(1000));
  if (roll < win) {
    outcome.whiteScore = 2;
    outcome.reason = "White wins by adjudication";
  } else if (roll < win + draw) {
    outcome.reason = "Draw by adjudication";
  } else {
    outcome.whiteScore = 0;
    outcome.reason = "Black wins by adjudication";
  }
  if (outcome.whiteScore != 1 && random.chance(350)) {
    outcome.mateBase = random.between(2, 9);
    outcome.mateSpan = std::min(random.between(2, 10), plyCount_);
  }
  return outcome;
}

void GameComposer::writeTags(const GameContext& context, const Outcome& outcome, std::string& out) const {
  static constexpr const char* kResults[3] = {"0-1", "1/2-1/2", "1-0"};
  char text[512];
  const int n = std::snprintf(
      text, sizeof text,
      "[Event \"%s %d\"]\n[Site \"%s\"]\n[Date \"%04d.%02d.%02d\"]\n[Round \"%d\"]\n[White \"%s\"]\n[Black \"%s\"]\n"
      "[Result \"%s\"]\n[WhiteElo \"%d\"]\n[BlackElo \"%d\"]\n[PlyCount \"%d\"]\n[TimeControl \"%s\"]\n",
      context.series->name, context.edition, context.series->site, context.year, context.month, context.day,
      context.round, kEnginePool[context.white].name, kEnginePool[context.black].name,
      kResults[outcome.whiteScore], kEnginePool[context.white].elo, kEnginePool[context.black].elo, plyCount_,
      context.series->timeControl);
  out.append(text, static_cast<std::size_t>(n));
  if (outcome.adjudicated) out.append("[Termination \"adjudication\"]\n");
  out.push_back('\n');
}

void GameComposer::writeMovetext(GeneratorRandom& random, const GameContext& context, const Outcome& outcome,
                                 std::string& out) {
  // A random walk of White's advantage drawn ever harder towards where the game ends.
  int target = 0;
  if (outcome.whiteScore == 2) target = outcome.mateBase > 0 ? random.between(900, 2000) : random.between(450, 1200);
  if (outcome.whiteScore == 0) target = outcome.mateBase > 0 ? -random.between(900, 2000) : -random.between(450, 1200);
  if (outcome.whiteScore == 1) target = outcome.adjudicated ? random.between(-15, 15) : random.between(-80, 80);
  int advantage = random.between(10, 40);
  const int strength[2] = {(kEnginePool[context.black].elo - 3200) / 250, (kEnginePool[context.white].elo - 3200) / 250};

  LineFiller lines(out);
  std::string unit;
  for (int ply = 1; ply <= plyCount_; ++ply) {
    const int mover = ply % 2 == 1 ? kWhite : kBlack;
    const long progress = 1024L * ply / plyCount_;
    const long pull = 1 + 24 * progress * progress / (1024L * 1024L);
    advantage += static_cast<int>((target - advantage) * pull / 100) + random.bell(6 + std::abs(advantage) / 25);
    advantage = std::clamp(advantage, -2999, 2999);

    unit.clear();
    if (mover == kWhite) {
      char number[12];
      const int n = std::snprintf(number, sizeof number, "%d. ", ply / 2 + 1);
      unit.append(number, static_cast<std::size_t>(n));
    }
    unit.append(san_[ply].data());
    lines.add(unit);

    unit.clear();
    unit.push_back('{');
    const int fromEnd = plyCount_ - ply;
    if (outcome.mateBase > 0 && fromEnd < outcome.mateSpan) {
      const bool winner = (mover == kWhite) == (outcome.whiteScore == 2);
      unit.append(winner ? "+M" : "-M");
      unit.append(std::to_string(outcome.mateBase + fromEnd / 2));
    } else {
      int score = (mover == kWhite ? advantage : -advantage) + random.bell(4);
      if (outcome.whiteScore == 1 && outcome.adjudicated && fromEnd < 12 && random.chance(600)) score = 0;
      appendScore(unit, score);
    }
    const int depth = std::clamp(context.series->depth + strength[mover] + ply / 50 + random.bell(3), 8, 30);
    unit.push_back('/');
    unit.append(std::to_string(depth));
    unit.push_back(' ');
    int milliseconds = context.series->moveTimeMs * random.between(40, 180) / 100;
    if (ply <= 16) milliseconds = milliseconds * 6 / 10;
    appendTime(unit, std::max(milliseconds, 1));
    if (fromEnd == 0) {
      unit.append(", ");
      unit.append(outcome.reason);
    }
    unit.push_back('}');
    lines.add(unit);
  }
  static constexpr const char* kResults[3] = {"0-1", "1/2-1/2", "1-0"};
  lines.add(kResults[outcome.whiteScore]);
  out.append("\n\n");
}

void GameComposer::compose(std::uint32_t index, std::string& out, bool count) {
  GeneratorRandom random(streamSeed(seed_, kStreamGame, index));
  const GameContext context = schedule_.contextOf(index);
  const int length = random.between(kMinLength, kMaxLength);
  const Ending ending = playMoves(random, length);
  const Outcome outcome = decideOutcome(random, ending, context);
  writeTags(context, outcome, out);
  writeMovetext(random, context, outcome, out);
  if (!count) return;
  ++stats_.games;
  stats_.plies += static_cast<std::uint64_t>(plyCount_);
  ++stats_.endings[static_cast<int>(ending)];
  if (outcome.whiteScore == 2) ++stats_.whiteWins;
  else if (outcome.whiteScore == 0) ++stats_.blackWins;
  else ++stats_.draws;
}

}  // namespace kestrova::bench

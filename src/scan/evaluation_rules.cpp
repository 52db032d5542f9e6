#include "scan/evaluation_rules.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "book/book_statistics.hpp"
#include "book/book_table.hpp"
#include "platform/console.hpp"
#include "platform/numbers.hpp"
#include "platform/string_manager.hpp"
#include "rating/rating_repository.hpp"
#include "scan/report_writer.hpp"
#include "scan/rule_context.hpp"
#include "scan/rule_support.hpp"

namespace kestrova {

namespace {

// The evaluation needs of ValDrop and ValJump: the mover's two plies and the opponent's ply
// between them were evaluated, with a depth and a time of their own (any time above 0 ms, so that
// games played at a fraction of a second per move count).
bool hasTwoTimedEvaluations(const Game& game, int ply) {
  if (!hasEvaluation(game, ply - 2) || !hasEvaluation(game, ply - 1) || !hasEvaluation(game, ply)) return false;
  const PlyRecord& before = game.plies[ply - 2];
  const PlyRecord& now = game.plies[ply];
  return before.depth >= 1 && now.depth >= 1 && before.timeMs > 0 && now.timeMs > 0;
}

// The player's computed rating, 0 when the player is not there or there are no ratings of this file.
int computedRating(const RuleContext& context, const std::string& name) {
  if (context.ratings == nullptr) return 0;
  const PlayerRating* player = findPlayer(*context.ratings, name);
  return player != nullptr ? player->rating : 0;
}

// The book's word on the move of the ply, as the extra line of a SuspOpening report (empty when the
// book does not hold the move). False when no book is loaded.
bool bookGainLine(const RuleContext& context, int ply, char* line, std::size_t size) {
  line[0] = '\0';
  BookTable& book = context.book;
  if (!book.isLoaded()) return false;
  // The rule asks the book once per game at most, so the replay need not compute book keys at
  // every ply.
  const BookKeys keys = book.computeBookKeys(*context.before, moverOf(ply) == 1 ? kWhite : kBlack);
  std::unique_lock<std::mutex> lock;
  if (context.bookLock != nullptr) lock = std::unique_lock(*context.bookLock);
  const Move& move = context.game.plies[ply];
  const unsigned rank = book.bookMoveRank(keys.key, keys.lock, move.from, move.to);
  if (rank == 0) return true;
  const BookEntry& entry = book.moveList().moves[rank - 1];
  const int gain = eloGain(entry);
  const StringManager& strings = context.run.strings;
  std::snprintf(line, size, "%u: [Int. book] statistical gain for %s%s : %s%d elo (%u games)\n", context.gameNumber,
                strings.squareName(move.from), strings.squareName(move.to), gain >= 1 ? "+" : "", gain,
                static_cast<unsigned>(entry.n));
  return true;
}

}  // namespace

void checkValDrop(const RuleContext& context, int p) {
  const DetectionEntry& entry = context.settings[detection::kValDrop];
  if (!entry.active || entry.value < 1 || p < 3) return;
  const Game& game = context.game;
  if (!hasTwoTimedEvaluations(game, p)) return;
  const int before = game.plies[p - 2].evaluation;
  const int now = game.plies[p].evaluation;
  if (before < entry.minValue || before > entry.maxValue) return;
  // A drop on the way to a win is the engine seeing further, unless it now announces a mate.
  if (now < kMateBound && moverWon(game, p)) return;
  const int side = moverOf(p);
  if (now <= before - entry.value && context.gateOpen(detection::kValDrop, side)) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", now - before);
    reportDetection(context, detection::kValDrop, side, kBefore, p, text);
  }
}

void checkValJump(const RuleContext& context, int p) {
  const DetectionEntry& entry = context.settings[detection::kValJump];
  if (!entry.active || p < 3) return;
  const Game& game = context.game;
  if (!hasTwoTimedEvaluations(game, p)) return;
  const int before = game.plies[p - 2].evaluation;
  const int now = game.plies[p].evaluation;
  if (now < entry.minValue || now > entry.maxValue) return;
  if (now >= kMateBound + 1 && moverLost(game, p)) return;
  const int side = moverOf(p);
  if (now >= before + entry.value && context.gateOpen(detection::kValJump, side)) {
    char text[16];
    std::snprintf(text, sizeof text, "+%d", now - before);
    reportDetection(context, detection::kValJump, side, kBefore, p, text);
  }
}

void checkDepthDrop(const RuleContext& context, int p) {
  const DetectionEntry& entry = context.settings[detection::kDepthDrop];
  const Game& game = context.game;
  if (!entry.active || p <= 2 || p >= game.plyCount - 1) return;
  const PlyRecord& now = game.plies[p];
  if (now.depth <= 1 || now.timeMs <= 0 || !hasEvaluation(game, p - 2) || !hasEvaluation(game, p + 2)) return;
  if (now.depth < entry.minValue || now.depth > entry.maxValue) return;
  const int before = game.plies[p - 2].depth;
  const int after = game.plies[p + 2].depth;
  if (before > 20 || after > 20 || std::abs(before - after) > 4) return;
  const int average = (before + after) / 2;
  const int side = moverOf(p);
  if (now.depth < average - entry.value && context.gateOpen(detection::kDepthDrop, side)) {
    char text[24];
    std::snprintf(text, sizeof text, "av=-%d", average - now.depth);
    reportDetection(context, detection::kDepthDrop, side, kBefore, p, text);
  }
}

void checkLowDepth(const RuleContext& context, int p) {
  const DetectionEntry& entry = context.settings[detection::kLowDepth];
  const Game& game = context.game;
  // The final phase, the last tenth of the game, is left out.
  if (!entry.active || p > (9 * game.plyCount) / 10) return;
  const PlyRecord& now = game.plies[p];
  if (now.timeMs <= 0 || now.depth <= 0 || now.evaluation < -kMateBound || now.evaluation > kMateBound) return;
  const int side = moverOf(p);
  if (now.depth <= entry.value && context.gateOpen(detection::kLowDepth, side)) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", now.depth);
    reportDetection(context, detection::kLowDepth, side, kBefore, p, text);
  }
}

void checkMatEvalBug(const RuleContext& context, int p) {
  const DetectionEntry& entry = context.settings[detection::kMatEvalBug];
  if (!entry.active || p < 3) return;
  const Game& game = context.game;
  if (!hasEvaluation(game, p - 1) || !hasEvaluation(game, p)) return;
  const int previous = game.plies[p - 1].evaluation;
  const int now = game.plies[p].evaluation;
  const bool bothMate = previous > kMateBound && now > kMateBound;
  const bool bothMated = previous < -kMateBound && now < -kMateBound;
  if (!bothMate && !bothMated) return;

  // Sign: the announcement contradicts the result.
  if (p % 2 == 1 && context.gateOpen(detection::kMatEvalBug, 1)) {
    if ((resultIs(game, "1-0") && now < kMateBound) || (resultIs(game, "0-1") && now >= kMateBound + 1)) {
      reportDetection(context, detection::kMatEvalBug, 1, kBefore, p, "sign");
    }
  }
  if (p % 2 == 0 && context.gateOpen(detection::kMatEvalBug, 0)) {
    if ((resultIs(game, "0-1") && now < kMateBound) || (resultIs(game, "1-0") && now >= kMateBound + 1)) {
      reportDetection(context, detection::kMatEvalBug, 0, kBefore, p, "sign");
    }
  }
  // Depth: the mover's announced mate did not come nearer since its previous move.
  if (context.run.counts[detection::kMatEvalBug].other < entry.maxOccurrences) {
    const int earlier = game.plies[p - 2].evaluation;
    bool report = false;
    if (now > kMateBound) report = earlier >= kMateBound + 1 && earlier >= now;
    else if (now < kMateBound) report = earlier < kMateBound && earlier <= now;
    if (report) reportDetection(context, detection::kMatEvalBug, kNoSide, kBefore, p, "depth");
  }
}

void checkSuspOpening(const RuleContext& context, int p) {
  const DetectionEntry& entry = context.settings[detection::kSuspOpening];
  // The rule acts once per game: its own count marks that it has.
  int& acted = context.run.counts[detection::kSuspOpening].other;
  if (!entry.active || acted != 0) return;
  int n = entry.p1;
  if (n < 1) {
    context.run.console.writeText("> the number of counted halfmoves can't be less than 1. Value changed to 1\n",
                                  colour::kError);
    n = 1;
  }
  const Game& game = context.game;
  // n - 1 half-moves after the first evaluated one that follows an unevaluated (book) one; the
  // empty first ply of a game that starts with Black to move is no book move.
  const int start = p - n + 1;
  if (p - n < game.firstPly() || !hasEvaluation(game, p) || hasEvaluation(game, p - n) ||
      !hasEvaluation(game, start)) {
    return;
  }
  acted = 1;

  const bool geometric = entry.p2 == 1;
  const float q = static_cast<float>(entry.p3) / 10.0f;
  float weight = 1.0f;
  float whiteSum = 0.0f, whiteWeight = 0.0f, blackSum = 0.0f, blackWeight = 0.0f;
  for (int k = start; k <= p; ++k) {
    if (!hasEvaluation(game, k)) return;
    const float value = static_cast<float>(game.plies[k].evaluation) * weight;
    if (k % 2 == 1) whiteSum += value, whiteWeight += weight;
    else blackSum += value, blackWeight += weight;
    weight = geometric ? weight * q : weight + q;
  }

  // Seen from White's side. A colour selection outside 0..2, or one whose plies weigh nothing,
  // gives no value to judge.
  float v;
  const char* whose;
  switch (entry.colourSelection) {
    case 0:
      if (blackWeight == 0.0f) return;
      v = -(blackSum / blackWeight), whose = "Black";
      break;
    case 1:
      if (whiteWeight == 0.0f) return;
      v = whiteSum / whiteWeight, whose = "White";
      break;
    case 2:
      if (whiteWeight + blackWeight == 0.0f) return;
      v = (whiteSum - blackSum) / (whiteWeight + blackWeight), whose = "W&B";
      break;
    default:
      return;
  }
  if (static_cast<float>(entry.minValue) < v && v < static_cast<float>(entry.maxValue)) return;

  char text[160];
  std::snprintf(text, sizeof text, "op. val=%4.0f calculated for %s by %s seq. with p=%4.1f is out of ]%d;%d[",
                static_cast<double>(v), whose, geometric ? "geometric" : "arithmetic", static_cast<double>(q),
                entry.minValue, entry.maxValue);
  char extra[256];
  if (!bookGainLine(context, p, extra, sizeof extra)) {
    context.run.console.writeText(
        "> Please load a book if you want to compare this suspect opening with statistical results\n");
  }
  reportDetection(context, detection::kSuspOpening, moverOf(p), kAfter, p, text, extra[0] != '\0' ? extra : nullptr);
}

void checkAbnormTerm(const RuleContext& context, int p) {
  const DetectionEntry& entry = context.settings[detection::kAbnormTerm];
  const Game& game = context.game;
  const int n = game.plyCount;
  if (!entry.active || p != n || n < 2) return;
  if (!resultIs(game, "1-0") && !resultIs(game, "0-1")) return;
  if (game.plies[n].flags & moveflag::kMate) return;
  if (!hasEvaluation(game, n) || !hasEvaluation(game, n - 1)) return;
  const int last = game.plies[n].evaluation;
  const int previous = game.plies[n - 1].evaluation;
  if (last <= -300 || last >= 300 || previous <= -300 || previous >= 300) return;

  const std::string_view movetext = context.movetext;
  // A termination word near the end of the movetext (the last comment) names the cause.
  auto nearEnd = [&](std::string_view word) {
    const std::size_t at = movetext.find(word);
    return at != std::string_view::npos && movetext.size() - at < 50;
  };
  const char* why;
  // "illégal" in Latin-1 (e-acute is byte 233) or in UTF-8 (bytes C3 A9).
  if (movetext.find("llegal") != std::string_view::npos || movetext.find("ll\xE9gal") != std::string_view::npos ||
      movetext.find("ll\xC3\xA9gal") != std::string_view::npos) {
    why = "illegal move";
  } else if (nearEnd("time") || nearEnd("temps")) {
    why = "loss on time";
  } else if (n > 90) {
    why = "loss on time?";
  } else if (n < 50) {
    why = "crash?";
  } else {
    why = "???";
  }
  reportDetection(context, detection::kAbnormTerm, moverOf(n), kAfter, n, why);
}

void checkWinAfterDraw(const RuleContext& context, int p) {
  const DetectionEntry& entry = context.settings[detection::kWinAfterDraw];
  const int side = moverOf(p);
  if (!entry.active || p <= 60 || !context.gateOpen(detection::kWinAfterDraw, side)) return;
  const Game& game = context.game;
  const Board& board = context.board;
  if (game.previousHalfMoveClock < 31) return;
  if (board.pieces[kWhite][kQueen] | board.pieces[kBlack][kQueen]) return;
  if (popCount(board.occupied) >= 15) return;
  if (!hasEvaluation(game, p) || !hasEvaluation(game, p - 8) || !hasEvaluation(game, p - 14) ||
      !hasEvaluation(game, p - 20)) {
    return;
  }
  auto nearZero = [&](int k) { return game.plies[k].evaluation >= -60 && game.plies[k].evaluation <= 60; };
  if (game.plies[p].evaluation - game.plies[p - 8].evaluation < 100) return;
  if (!nearZero(p - 8) || !nearZero(p - 14) || !nearZero(p - 20)) return;
  if (game.resultScore == (side == 1 ? 100 : 0)) reportDetection(context, detection::kWinAfterDraw, side, kAfter, p);
}

void checkWinGmNotWon(const RuleContext& context, int p) {
  const DetectionEntry& entry = context.settings[detection::kWinGmNotWon];
  const int side = moverOf(p);
  if (!entry.active || p <= 4 || !context.gateOpen(detection::kWinGmNotWon, side)) return;
  const Game& game = context.game;
  const int v = entry.value;
  // Both engines agreed twice in a row that the mover stood to win.
  auto mine = [&](int k) { return hasEvaluation(game, k) && game.plies[k].evaluation >= v; };
  auto theirs = [&](int k) { return hasEvaluation(game, k) && game.plies[k].evaluation <= -v; };
  if (!mine(p) || !theirs(p - 1) || !mine(p - 2) || !theirs(p - 3)) return;
  if (game.resultScore != (side == 1 ? 100 : 0)) reportDetection(context, detection::kWinGmNotWon, side, kAfter, p);
}

void checkBestPerf(const RuleContext& context, int lastPly) {
  const DetectionEntry& entry = context.settings[detection::kBestPerf];
  if (!entry.active || entry.value < 0) return;
  Game& game = context.game;
  const std::string& white = game.tags.value(kTagWhite);
  const std::string& black = game.tags.value(kTagBlack);
  int whiteRating = computedRating(context, white);
  if (whiteRating == 0) whiteRating = static_cast<int>(leadingInteger(game.tags.value(kTagWhiteElo)));
  int blackRating = computedRating(context, black);
  if (blackRating == 0) blackRating = static_cast<int>(leadingInteger(game.tags.value(kTagBlackElo)));
  if (whiteRating == 0 || blackRating == 0) return;

  const std::string& result = game.tags.value(kTagResult);
  const bool whiteWon = result == "1-0";
  const bool blackWon = result == "0-1";
  const bool drawn = result == "1/2-1/2" || result == "0.5-0.5" || result == "0,5-0,5";
  const int d = blackRating - whiteRating;
  const int val = entry.value;
  if ((d >= val && whiteWon) || (d >= val + 100 && drawn) || (d <= -val && blackWon) || (d <= -100 - val && drawn)) {
    char text[200];
    std::snprintf(text, sizeof text, "%s +%d", (whiteRating > blackRating ? black : white).c_str(), std::abs(d));
    reportDetection(context, detection::kBestPerf, moverOf(lastPly), kAfter, lastPly, text);
  }
  // The ratings used go into the tags, so a game written to the PGN output carries them.
  char number[16];
  std::snprintf(number, sizeof number, "%d", whiteRating);
  game.tags.setValue(kTagWhiteElo, number);
  std::snprintf(number, sizeof number, "%d", blackRating);
  game.tags.setValue(kTagBlackElo, number);
}

}  // namespace kestrova

#include "commands/fen_statistics.hpp"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <memory>
#include <span>

#include "chess/fen.hpp"
#include "pgn/game.hpp"
#include "pgn/game_loop.hpp"
#include "pgn/output_files.hpp"
#include "pgn/pgn_file.hpp"
#include "platform/clock.hpp"
#include "platform/console.hpp"
#include "platform/output_file.hpp"

namespace kestrova {

namespace {

constexpr std::size_t kMaxFenText = 256;
constexpr std::uint64_t kProgressEvery = 512;
constexpr const char* kOutputFile = "epd-out.epd";

}  // namespace

char resultCharacter(std::string_view result) {
  if (result == "1-0") return '1';
  if (result == "0-1") return '0';
  return 'X';
}

float fenScore(const FenCount& count) {
  if (count.games == 0) return 0.0f;
  return (static_cast<float>(count.whiteWins) + static_cast<float>(count.others) / 2.0f) * 100.0f /
         static_cast<float>(count.games);
}

void FenTable::add(std::string_view fen, char result) {
  auto found = counts_.find(fen);
  if (found == counts_.end()) found = counts_.emplace(std::string(fen), FenCount{std::string(fen)}).first;
  FenCount& count = found->second;
  ++count.games;
  if (result == '1') ++count.whiteWins;
  else if (result == '0') ++count.blackWins;
  else ++count.others;
}

void FenTable::add(const FenTable& other) {
  for (const auto& [fen, count] : other.counts_) {
    auto found = counts_.find(fen);
    if (found == counts_.end()) found = counts_.emplace(fen, FenCount{fen}).first;
    found->second.games += count.games;
    found->second.whiteWins += count.whiteWins;
    found->second.blackWins += count.blackWins;
    found->second.others += count.others;
  }
}

std::vector<FenCount> FenTable::recordsByScore() const {
  std::vector<FenCount> records;
  records.reserve(counts_.size());
  for (const auto& entry : counts_) records.push_back(entry.second);
  std::stable_sort(records.begin(), records.end(),
                   [](const FenCount& a, const FenCount& b) { return fenScore(a) > fenScore(b); });
  return records;
}

std::string formatFenCount(const FenCount& count) {
  const float games = static_cast<float>(count.games);
  char figures[128];
  std::snprintf(figures, sizeof figures, "; c0 \"N=%d w_win=%.1f%% draw=%.1f%% b_win=%.1f%%\";", count.games,
                static_cast<double>(static_cast<float>(count.whiteWins) * 100.0f / games),
                static_cast<double>(static_cast<float>(count.others) * 100.0f / games),
                static_cast<double>(static_cast<float>(count.blackWins) * 100.0f / games));
  return count.fen + figures;
}

void runFenStatistics(const GameLoopParts& games, int threads, platform::Timers& timers) {
  Console& console = games.console;
  // Refused before the games are read, not after.
  if (refusesAsOutput(console, games.pgn, kOutputFile)) return;
  timers.restartProcessTimer();
  console.writeText("\n");
  struct Counting : GameVisitor {
    explicit Counting(const GameLoopParts& games) : games(games) {}
    void onGame() override {
      // A game without a FEN tag starts from the standard position.
      if (findFenTag(games.pgn.header(), fen)) {
        if (fen.size() > kMaxFenText) fen.resize(kMaxFenText);
      } else {
        fen = kStartPosition;
      }
      table.add(fen, resultCharacter(games.game.tags.value(kTagResult)));
    }
    GameLoopParts games;
    FenTable table;
    std::string fen;
  };
  // Each worker counts its own games; the sums of the tables, kept in FEN text order, are the
  // table of one thread.
  struct Workers : GameWorkers {
    GameVisitor& addWorker(GameLoop&, const GameLoopParts& games, std::span<platform::OutputFile* const>) override {
      visitors.push_back(std::make_unique<Counting>(games));
      return *visitors.back();
    }
    std::vector<std::unique_ptr<Counting>> visitors;
  } workers;
  const GameCounts counts = runGameWorkers(games, GameDepth::kTags, threads, workers, {},
                                           "> filling table with FEN positions : ", kProgressEvery);
  FenTable& table = workers.visitors.front()->table;
  for (std::size_t i = 1; i < workers.visitors.size(); ++i) table.add(workers.visitors[i]->table);

  platform::OutputFile out;
  if (!createOutputFileOrSay(console, games.pgn, out, kOutputFile)) return;
  const std::vector<FenCount> records = table.recordsByScore();
  console.writeText("> FEN list sorted                             \n");
  out.write("======new list======\n");
  for (const FenCount& record : records) {
    const std::string line = formatFenCount(record) + "\n";
    out.write(line);
    console.writeText(line);
  }
  console.print(colour::kNormal, "\n> %d positions recorded and sorted by score\n", static_cast<int>(records.size()));
  printGameCounts(console, counts);
  if (finishOutput(console, out)) console.writeText("> list saved in the epd-out.epd file\n", colour::kSuccess);
}

}  // namespace kestrova

#include "commands/doubles.hpp"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <span>
#include <tuple>
#include <utility>

#include "pgn/game.hpp"
#include "pgn/game_loop.hpp"
#include "pgn/pgn_file.hpp"
#include "pgn/pgn_writer.hpp"
#include "platform/console.hpp"

namespace kestrova {

namespace {

// One step of the sequence hash: mixes the key and the ply number in, then shifts by the ply's
// parity so that the same keys in another order give another hash.
std::uint64_t mixSequence(std::uint64_t hash, std::uint64_t key, int ply) {
  hash = (hash ^ key) + static_cast<std::uint64_t>(ply);
  return ply % 2 == 1 ? hash >> 1 : ~(hash << 1);
}

std::uint64_t resultMark(int resultScore) {
  if (resultScore == 100) return 0xAA;
  if (resultScore == 50) return 0xFF;
  return 0x55;
}

}  // namespace

GameHashes hashGame(const Game& game, int n, HashMode mode) {
  GameHashes hashes;
  if (mode == HashMode::kSequence) {
    for (int i = 1; i <= n; ++i) {
      const PositionKeys& keys = game.plies[i].keys;
      hashes.a = mixSequence(hashes.a, keys.primary, i);
      hashes.b = mixSequence(hashes.b, keys.secondary, i);
    }
  } else {
    hashes.a = game.plies[n].keys.primary;
    hashes.b = game.plies[n].keys.secondary;
    if (n > 1) {
      int m = 2 * n / 3;
      // The position at two thirds repeating the final one would cancel it out.
      if (game.plies[m].keys == game.plies[n].keys) ++m;
      hashes.a ^= game.plies[m].keys.primary;
      hashes.b ^= game.plies[m].keys.secondary;
    }
  }
  hashes.b ^= resultMark(game.resultScore);
  return hashes;
}

bool sameGame(const GameRecord& record, const GameRecord& other) {
  return record.hashA != 0 && record.hashB != 0 && record.hashA == other.hashA && record.hashB == other.hashB &&
         record.halfMoves == other.halfMoves && record.finalKey == other.finalKey;
}

GameRecord recordGame(const Game& game, HashMode mode, std::uint32_t number) {
  GameRecord record;
  record.number = number;
  record.halfMoves = game.plyCount;
  if (game.plyCount < game.firstPly()) return record;
  const GameHashes hashes = hashGame(game, game.plyCount, mode);
  record.hashA = hashes.a;
  record.hashB = hashes.b;
  record.finalKey = game.plies[game.plyCount].keys.primary;
  return record;
}

void sortByHashes(std::vector<GameRecord>& records) {
  std::sort(records.begin(), records.end(), [](const GameRecord& x, const GameRecord& y) {
    return std::tie(x.hashA, x.hashB, x.halfMoves, x.finalKey, x.number) <
           std::tie(y.hashA, y.hashB, y.halfMoves, y.finalKey, y.number);
  });
}

void markRuns(std::vector<GameRecord>& records) {
  std::size_t first = 0;
  while (first < records.size()) {
    std::size_t next = first + 1;
    while (next < records.size() && sameGame(records[next], records[first])) {
      records[next].mark = doublemark::kLaterDouble;
      ++next;
    }
    if (next - first > 1) records[first].mark = doublemark::kFirstDouble;
    first = next;
  }
}

void restoreFileOrder(std::vector<GameRecord>& records) {
  std::sort(records.begin(), records.end(),
            [](const GameRecord& x, const GameRecord& y) { return x.number < y.number; });
}

namespace {

// The first pass: each worker keeps the records of its own games.
class Recording : public GameWorkers {
 public:
  explicit Recording(HashMode mode) : mode_(mode) {}

  GameVisitor& addWorker(GameLoop& loop, const GameLoopParts& parts, std::span<platform::OutputFile* const>) override {
    recorders_.push_back(std::make_unique<Recorder>(parts.game, loop, mode_));
    return *recorders_.back();
  }

  // Every worker's records together.
  std::vector<GameRecord> takeRecords() {
    std::vector<GameRecord> records;
    std::size_t total = 0;
    for (const auto& recorder : recorders_) total += recorder->records.size();
    records.reserve(total);
    for (auto& recorder : recorders_) {
      records.insert(records.end(), recorder->records.begin(), recorder->records.end());
      recorder->records = {};
    }
    return records;
  }

 private:
  struct Recorder : GameVisitor {
    Recorder(const Game& game, const GameLoop& loop, HashMode mode) : game(game), loop(loop), mode(mode) {}
    void onGame() override { records.push_back(recordGame(game, mode, loop.gameNumber())); }
    const Game& game;
    const GameLoop& loop;
    HashMode mode;
    std::vector<GameRecord> records;
  };

  HashMode mode_;
  std::vector<std::unique_ptr<Recorder>> recorders_;
};

// The second pass: the reading thread chooses the games by their marks, the workers write them.
class MarkedWriting : public GameWorkers {
 public:
  MarkedWriting(Console& console, const std::vector<GameRecord>& records, bool singles, bool withFirst)
      : console_(console), records_(records), singles_(singles), withFirst_(withFirst) {}

  bool wants(std::uint32_t number) override {
    while (next_ < records_.size() && records_[next_].number < number) ++next_;
    if (next_ >= records_.size() || records_[next_].number != number) return false;
    console_.progress(singles_ ? "> saving games without doubles [%c]\r" : "> saving double games [%c]\r",
                      next_ % 2 == 0 ? '|' : '-');
    const std::uint8_t mark = records_[next_].mark;
    return singles_ ? mark != doublemark::kLaterDouble
                    : mark == doublemark::kLaterDouble || (withFirst_ && mark == doublemark::kFirstDouble);
  }

  GameVisitor& addWorker(GameLoop&, const GameLoopParts& parts, std::span<platform::OutputFile* const> outputs) override {
    writers_.push_back(std::make_unique<Writer>(parts, *outputs[0], *this));
    return *writers_.back();
  }

  // The sums of every worker's counts.
  DoublesWritten written() const {
    DoublesWritten sum;
    for (const auto& writer : writers_) {
      sum.games += writer->written.games;
      sum.laterCopies += writer->written.laterCopies;
      sum.firstCopies += writer->written.firstCopies;
    }
    return sum;
  }

 private:
  struct Writer : GameVisitor {
    Writer(const GameLoopParts& parts, platform::OutputFile& out, const MarkedWriting& pass)
        : parts(parts), out(out), pass(pass) {}
    void onGame() override {
      const std::uint32_t number = parts.pgn.gameNumber();
      const GameRecord& record = *std::lower_bound(
          pass.records_.begin(), pass.records_.end(), number,
          [](const GameRecord& r, std::uint32_t n) { return r.number < n; });
      if (!pass.singles_) {
        char id[48];
        std::snprintf(id, sizeof id, "Double id = %llu", static_cast<unsigned long long>(record.hashA));
        parts.game.tags.setValue(kTagAnnotator, id);
      }
      writePgn(parts.game, parts.pgn, out, parts.printCmt);
      ++written.games;
      if (record.mark == doublemark::kLaterDouble) ++written.laterCopies;
      if (record.mark == doublemark::kFirstDouble) ++written.firstCopies;
    }
    const GameLoopParts& parts;
    platform::OutputFile& out;
    const MarkedWriting& pass;
    DoublesWritten written;
  };

  Console& console_;
  const std::vector<GameRecord>& records_;
  bool singles_;
  bool withFirst_;
  std::size_t next_ = 0;
  std::vector<std::unique_ptr<Writer>> writers_;
};

}  // namespace

std::vector<GameRecord> recordGames(const GameLoopParts& parts, HashMode mode, int threads, GameCounts& counts) {
  Recording recording(mode);
  counts = runGameWorkers(parts, GameDepth::kReplay, threads, recording, {}, "> scanning game ", 512);
  return recording.takeRecords();
}

DoublesWritten writeMarkedGames(const GameLoopParts& parts, int threads, const std::vector<GameRecord>& records,
                                platform::OutputFile& out, bool singles, bool withFirst) {
  MarkedWriting writing(parts.console, records, singles, withFirst);
  platform::OutputFile* const outputs[] = {&out};
  runGameWorkers(parts, GameDepth::kReplay, threads, writing, outputs);
  return writing.written();
}

}  // namespace kestrova

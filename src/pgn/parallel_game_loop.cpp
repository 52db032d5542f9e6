// The game loop on several threads. The calling thread reads the file with the one reader (so game
// boundaries and numbers are those of a single thread), copies batches of games into a ring of
// slots, and writes each finished batch's console lines and outputs in the order of the games.
// Workers take the batches in order, each with its own game, board, console and file.
#include <algorithm>
#include <cinttypes>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "chess/chess_core.hpp"
#include "pgn/game.hpp"
#include "pgn/game_loop.hpp"
#include "pgn/header_lines.hpp"
#include "pgn/pgn_file.hpp"
#include "platform/console.hpp"
#include "platform/interrupt.hpp"
#include "platform/output_file.hpp"
#include "platform/string_manager.hpp"

namespace kestrova {

namespace {

// Games a batch holds at most, and the movetext bytes after which it is full: enough to keep a
// worker busy for a while, small enough that memory stays a few megabytes a slot.
constexpr std::size_t kBatchGames = 128;
constexpr std::size_t kBatchBytes = 1 << 20;

struct GameCopy {
  std::uint32_t number = 0;
  int readResult = 0;
  HeaderLines header;
  std::string movetext;
};

struct Batch {
  std::vector<GameCopy> games;  // slots keep their capacity from batch to batch
  std::size_t count = 0;
  std::size_t bytes = 0;
  bool done = false;
  // What the worker wrote for these games, written by the reading thread.
  std::unique_ptr<Console> console;
  std::vector<std::string> outputs;
};

// One worker's own parts.
struct Worker {
  Worker(const GameLoopParts& main, GameDepth depth, std::size_t outputCount)
      : console(Console::recording(main.console)),
        game(main.game),
        chess(main.chess),
        parts{pgn, game, chess, console, strings, main.printCmt, main.language},
        loop(parts, depth),
        files(outputCount) {}

  Console console;
  PgnFile pgn;
  Game game;
  ChessCore chess;
  StringManager strings;
  GameLoopParts parts;
  GameLoop loop;
  std::vector<platform::OutputFile> files;
  std::vector<platform::OutputFile*> filePointers;
  GameVisitor* visitor = nullptr;
};

class Runner {
 public:
  Runner(const GameLoopParts& parts, GameDepth depth, int threads, GameWorkers& workers,
         std::span<platform::OutputFile* const> outputs)
      : parts_(parts), command_(workers), outputs_(outputs), slots_(static_cast<std::size_t>(threads) * 2 + 2) {
    for (Batch& batch : slots_) {
      batch.games.resize(kBatchGames);
      batch.console = std::make_unique<Console>(Console::recording(parts.console));
      batch.outputs.resize(outputs.size());
    }
    for (int i = 0; i < threads; ++i) {
      auto worker = std::make_unique<Worker>(parts, depth, outputs.size());
      for (std::size_t k = 0; k < outputs.size(); ++k) {
        // A stand-in is open where the command's file is: the visitor writes only there.
        if (outputs[k] != nullptr && outputs[k]->isOpen()) worker->files[k].holdInMemory();
        worker->filePointers.push_back(&worker->files[k]);
      }
      worker->visitor = &workers.addWorker(worker->loop, worker->parts, worker->filePointers);
      worker->loop.beginGames(*worker->visitor);
      workers_.push_back(std::move(worker));
    }
  }

  GameCounts run(const char* progressLabel, unsigned progressEvery) {
    for (auto& worker : workers_) threads_.emplace_back([this, w = worker.get()] { work(*w); });
    PgnFile& pgn = parts_.pgn;
    pgn.rewind();
    std::uint64_t read = 0;
    Batch* filling = nullptr;
    bool interrupted = false;
    for (int result; (result = pgn.readNextGame(parts_.console)) != PgnFile::kEnd;) {
      if (platform::interruptRequested()) {
        interrupted = true;
        break;
      }
      if (!command_.wants(pgn.gameNumber())) continue;
      if (filling == nullptr) filling = &slotToFill(progressLabel, progressEvery);
      GameCopy& copy = filling->games[filling->count++];
      copy.number = pgn.gameNumber();
      copy.readResult = result;
      copy.header.clear();
      for (int i = 0; i < pgn.header().count; ++i) copy.header.add().assign(pgn.header().lines[static_cast<std::size_t>(i)]);
      copy.movetext.assign(pgn.gameBuffer());
      filling->bytes += copy.movetext.size();
      ++read;
      if (filling->count == kBatchGames || filling->bytes >= kBatchBytes) {
        submit();
        filling = nullptr;
      }
    }
    if (filling != nullptr) submit();
    while (written_ < submitted_) writeOldest(progressLabel, progressEvery);
    {
      std::lock_guard lock(mutex_);
      finished_ = true;
    }
    workReady_.notify_all();
    for (std::thread& thread : threads_) thread.join();
    GameCounts counts;
    for (const auto& worker : workers_) {
      counts.read += worker->loop.counts().read;
      counts.used += worker->loop.counts().used;
      counts.leftOut += worker->loop.counts().leftOut;
    }
    if (interrupted) parts_.console.print(colour::kError, "> interrupted by Ctrl-C after %" PRIu64 " games\n", read);
    return counts;
  }

 private:
  // The next slot to fill: the oldest batch in it is written out first.
  Batch& slotToFill(const char* progressLabel, unsigned progressEvery) {
    if (submitted_ - written_ == slots_.size()) writeOldest(progressLabel, progressEvery);
    Batch& batch = slots_[submitted_ % slots_.size()];
    batch.count = 0;
    batch.bytes = 0;
    batch.done = false;
    return batch;
  }

  void submit() {
    {
      std::lock_guard lock(mutex_);
      ++submitted_;
    }
    workReady_.notify_one();
  }

  void writeOldest(const char* progressLabel, unsigned progressEvery) {
    Batch& batch = slots_[written_ % slots_.size()];
    {
      std::unique_lock lock(mutex_);
      batchDone_.wait(lock, [&] { return batch.done; });
    }
    batch.console->replayTo(parts_.console);
    for (std::size_t k = 0; k < outputs_.size(); ++k) {
      if (outputs_[k] != nullptr && !batch.outputs[k].empty()) outputs_[k]->write(batch.outputs[k]);
      batch.outputs[k].clear();
    }
    const std::uint64_t before = gamesWritten_;
    gamesWritten_ += batch.count;
    if (progressEvery != 0 && gamesWritten_ / progressEvery != before / progressEvery) {
      parts_.console.progress("%s%" PRIu64 "\r", progressLabel, gamesWritten_ / progressEvery * progressEvery);
    }
    ++written_;
  }

  void work(Worker& worker) {
    for (;;) {
      Batch* batch = nullptr;
      {
        std::unique_lock lock(mutex_);
        workReady_.wait(lock, [&] { return taken_ < submitted_ || finished_; });
        if (taken_ == submitted_) return;
        batch = &slots_[taken_++ % slots_.size()];
      }
      for (std::size_t i = 0; i < batch->count; ++i) {
        GameCopy& copy = batch->games[i];
        worker.pgn.swapGame(copy.number, copy.header, copy.movetext);
        worker.loop.takeGame(copy.readResult);
        worker.pgn.swapGame(copy.number, copy.header, copy.movetext);
      }
      batch->console->swapRecording(worker.console);
      for (std::size_t k = 0; k < worker.files.size(); ++k) {
        if (worker.files[k].isOpen()) worker.files[k].takeText(batch->outputs[k]);
      }
      {
        std::lock_guard lock(mutex_);
        batch->done = true;
      }
      batchDone_.notify_all();
    }
  }

  const GameLoopParts& parts_;
  GameWorkers& command_;
  std::span<platform::OutputFile* const> outputs_;
  std::vector<Batch> slots_;
  std::vector<std::unique_ptr<Worker>> workers_;
  std::vector<std::thread> threads_;
  std::mutex mutex_;
  std::condition_variable workReady_;
  std::condition_variable batchDone_;
  std::uint64_t submitted_ = 0;  // batches handed to the workers
  std::uint64_t taken_ = 0;      // batches a worker has taken
  std::uint64_t written_ = 0;    // batches written out
  std::uint64_t gamesWritten_ = 0;
  bool finished_ = false;
};

}  // namespace

GameCounts runGameWorkers(const GameLoopParts& parts, GameDepth depth, int threads, GameWorkers& workers,
                          std::span<platform::OutputFile* const> outputs, const char* progressLabel,
                          unsigned progressEvery) {
  if (threads <= 1) {
    GameLoop loop(parts, depth);
    if (progressLabel != nullptr) loop.showProgress(progressLabel, progressEvery);
    return loop.run(workers.addWorker(loop, parts, outputs), &workers);
  }
  Runner runner(parts, depth, threads, workers, outputs);
  return runner.run(progressLabel, progressEvery);
}

}  // namespace kestrova

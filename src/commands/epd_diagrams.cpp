#include "commands/epd_diagrams.hpp"

#include <cinttypes>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

#include "chess/chess_core.hpp"
#include "chess/fen.hpp"
#include "chess/zobrist.hpp"
#include "pgn/game.hpp"
#include "pgn/game_loop.hpp"
#include "pgn/output_files.hpp"
#include "pgn/pgn_file.hpp"
#include "pgn/pgn_writer.hpp"
#include "platform/clock.hpp"
#include "platform/console.hpp"
#include "platform/output_file.hpp"
#include "platform/text_file.hpp"

namespace kestrova {

namespace {

constexpr std::size_t kMaxEpdLine = 511;
constexpr std::size_t kShortestDiagram = 15;  // shorter lines cannot hold a position
constexpr unsigned kProgressEvery = 128;

}  // namespace

void EpdDiagramList::add(const EpdDiagram& diagram) {
  diagrams_.push_back(diagram);
  // A later line with the same position takes the games over.
  index_[diagram.keys] = diagram.lineNumber;
}

void EpdDiagramList::clear() {
  diagrams_.clear();
  index_.clear();
}

int EpdDiagramList::find(const PositionKeys& keys) const {
  const auto found = index_.find(keys);
  return found == index_.end() ? 0 : found->second;
}

std::string epdOutputName(int lineNumber) { return "epd-" + std::to_string(lineNumber) + ".pgn"; }

int loadEpdDiagrams(Console& console, const ZobristTables& zobrist, EpdDiagramList& list, const std::string& path) {
  platform::TextFile file(path);
  if (!file.isOpen()) {
    console.fail("\n> file \"%s\" not found...\n", path.c_str());
    return 0;
  }
  list.clear();
  // Parsed into a board of its own, so that the current position stays what it was.
  Board board;
  std::string line;
  int lineNumber = 0;
  while (file.readLine(line, kMaxEpdLine)) {
    ++lineNumber;
    if (line.size() < kShortestDiagram) continue;
    board.clear();
    parseFen(board, line);
    if (popCount(board.pieces[kWhite][kKing] | board.pieces[kBlack][kKing]) != 2) {
      console.fail("\n> corrupted EPD diagram, line %d\n", lineNumber);
      return 0;
    }
    list.add({computePositionKeys(zobrist, board, board.side), lineNumber});
  }
  console.print(colour::kNormal, "\n> %d diagrams loaded\n", lineNumber);
  return 1;
}

void writeEpdMatch(Game& game, PgnFile& pgn, platform::OutputFile& out, int printCmt, int lineNumber, int ply) {
  char annotation[96];
  std::snprintf(annotation, sizeof annotation, "EPD %d found after %d%s%s", lineNumber, game.moveNumber(ply),
                ply % 2 == 1 ? "." : "...", game.plies[ply].san);
  game.tags.setValue(kTagAnnotator, annotation);
  writePgn(game, pgn, out, printCmt);
}

void searchEpdPositions(const GameLoopParts& games, platform::Timers& timers, const std::string& epdPath) {
  Console& console = games.console;
  EpdDiagramList list;
  if (!loadEpdDiagrams(console, *games.chess.zobrist, list, epdPath)) return;
  if (list.empty()) {
    console.fail("\n> no specified EPD-diagram\n");
    return;
  }
  console.writeText("\n> processing...\n");
  // Games are appended to these files: none of them may be a file this command reads.
  for (const EpdDiagram& diagram : list.diagrams()) {
    if (refusesAsOutput(console, games.pgn, epdOutputName(diagram.lineNumber), {epdPath})) return;
  }
  console.writeText("> searching now for epd positions\n", colour::kSuccess);
  timers.restartProcessTimer();
  // The positions met are noted during the replay; a game is written once it has been replayed
  // whole, so that a game left out is in no diagram's file.
  struct Search : GameVisitor {
    Search(const GameLoopParts& games, const EpdDiagramList& list) : games(games), list(list) {}
    void onGameStart() override { matches.clear(); }
    bool onPly(int ply, const Board&) override {
      const int lineNumber = list.find(games.game.plies[ply].keys);
      if (lineNumber != 0) matches.push_back({lineNumber, ply});
      return true;
    }
    void onGame() override {
      for (const auto& [lineNumber, ply] : matches) {
        // A diagram's file is begun with its first game and completed at the end of the run.
        std::unique_ptr<platform::OutputFile>& out = outputs[lineNumber];
        if (out == nullptr) {
          out = std::make_unique<platform::OutputFile>();
          if (!createOutputFileOrSay(games.console, games.pgn, *out, epdOutputName(lineNumber))) continue;
        }
        if (out->isOpen()) writeEpdMatch(games.game, games.pgn, *out, games.printCmt, lineNumber, ply);
      }
    }
    const GameLoopParts& games;
    const EpdDiagramList& list;
    std::vector<std::pair<int, int>> matches;
    std::map<int, std::unique_ptr<platform::OutputFile>> outputs;
  } visitor(games, list);
  GameLoop loop(games, GameDepth::kReplay);
  loop.showProgress("> scanning game ", kProgressEvery);
  const GameCounts counts = loop.run(visitor);
  console.print(colour::kNormal, "> process time : %ds           \n", timers.elapsedSeconds());
  printGameCounts(console, counts);
  std::vector<platform::OutputFile*> outputs;
  for (auto& [lineNumber, out] : visitor.outputs) outputs.push_back(out.get());
  if (!finishOutputs(console, outputs)) return;
  // A diagram no game reached has no file: an older one would pass for this run's result.
  for (const EpdDiagram& diagram : list.diagrams()) {
    if (!visitor.outputs.contains(diagram.lineNumber)) std::remove(epdOutputName(diagram.lineNumber).c_str());
  }
  if (!visitor.outputs.empty()) console.writeText("> see files \"epd-x.pgn\"\n", colour::kSuccess);
}

}  // namespace kestrova

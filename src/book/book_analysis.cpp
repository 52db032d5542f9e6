#include "book/book_analysis.hpp"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "book/book_browser.hpp"
#include "book/book_table.hpp"
#include "book/book_walk.hpp"
#include "book/book_writer.hpp"
#include "chess/chess_core.hpp"
#include "chess/fen.hpp"
#include "engine/engine_client.hpp"
#include "pgn/game.hpp"
#include "pgn/output_files.hpp"
#include "pgn/replay.hpp"
#include "platform/command_line.hpp"
#include "platform/console.hpp"
#include "platform/escape_key.hpp"
#include "platform/input.hpp"
#include "platform/numbers.hpp"
#include "platform/output_file.hpp"
#include "platform/text_file.hpp"

namespace kestrova {

namespace {

constexpr const char* kRootsFile = "anabk.epd";
constexpr const char* kVerifiedFile = "evaluated.pgn";
constexpr const char* kDebugFile = "anabk-debug.pgn";
constexpr std::size_t kRootLength = 255;
constexpr int kReadyWaitMs = 10000;
constexpr long kRankLimit = 65535;  // "-rnk=" is an unsigned 16-bit number

long clampedNumber(std::string_view text, long lo, long hi) { return std::clamp(leadingInteger(text), lo, hi); }

// Gives the terminal its normal mode back however the walk ends.
class WatchingEscape {
 public:
  explicit WatchingEscape(platform::EscapePoll& escape) : escape_(escape) { escape_.begin(); }
  ~WatchingEscape() { escape_.end(); }
  WatchingEscape(const WatchingEscape&) = delete;
  WatchingEscape& operator=(const WatchingEscape&) = delete;

 private:
  platform::EscapePoll& escape_;
};

// One run of the command: what its walks work with, and the files they all write to.
struct Analysis {
  const BookParts& parts;
  EngineClient& engine;
  platform::Timers& timers;
  const PgnFile& open;
  const BookAnalysisOptions& options;
  platform::EscapePoll& escape;
  BookWalkFiles files;
};

enum class RootOutcome { kSkipped, kWalked, kFailed };

RootOutcome analyseRoot(const Analysis& run, std::string_view root) {
  const BookParts& parts = run.parts;
  const BookAnalysisOptions& options = run.options;
  Console& console = parts.console;
  Board& board = parts.chess.board;
  setStartPosition(parts.chess, parts.game, root);
  // A root text without its side field is taken as White to move, so keys and texts agree.
  if (board.side != kBlack && board.side != kWhite) board.side = kWhite;
  parts.game.tags.clearValues();
  showBookPosition(parts);

  console.writeText(
      "\n\n- kestrova is going to analyze all the sub-trees in the loaded book,\n"
      "  starting from the epd positions stored in the file 'anabk.epd'. Keep in\n"
      "  mind that this process can be extremely long according to the choosen\n"
      "  parameters and that the number of computed nodes is far larger than the\n"
      "  number of positions due to the transposition logic\n\n");
  console.writeText("- do you want to start the process ? (y,n) : ");
  console.flush();
  const int start = parts.input.readAnswer();
  if (start == 'n' || start == EOF) return RootOutcome::kSkipped;

  if (options.evalTask) {
    std::string position;  // as the walk will send it
    writePlacementFen(board, board.side, position);
    if (const char* unfit = unfitForEngine(*parts.chess.attacks, position)) {
      console.fail("- this root is not sent to the engine: %s\n", unfit);
      return RootOutcome::kFailed;
    }
    console.writeText("- testing engine\n");
    console.flush();
    if (!waitReady(run.engine, run.timers, kReadyWaitMs)) {
      run.engine.terminateEngine();
      console.fail(
          "- engine not ready\n- please reload Kestrova with an engine correctly mentionned in the kestrova.ini file\n");
      return RootOutcome::kFailed;
    }
    console.writeText("- engine ready\n- press 'ESC' to stop the analyze\n");
  }
  console.writeText("\n");
  console.print(colour::kSuccess, "- scanning book from ply = 1 up to ply = %d (half-moves)\n\n", options.maxPly);
  console.flush();

  BookWalk walk(parts, run.engine, run.timers, options, run.escape, run.files);
  {
    WatchingEscape watching(run.escape);
    run.escape.pressed();  // forgets presses made before the walk
    walk.run();
  }
  const BookWalkCounters& counters = walk.counters();
  console.print(colour::kNormal,
                "\n\n- %ld nodes scanned\n- %ld paths scanned (including transpositions)\n"
                "- %ld transposition's effects have been encountered (increasing nb of games instead of "
                "decreasing)\n",
                counters.nodes, counters.paths, counters.transpositions);

  if (options.evalTask) {
    console.writeText("- do you want to save the evaluations in the current book ? (y,n) : ");
    console.flush();
    if (parts.input.readAnswer() == 'y') {
      console.writeText("- saving the book\n");
      if (!saveBook(parts.book, console, run.open)) return RootOutcome::kFailed;
      console.writeText("- operation complete\n");
    }
  }
  return RootOutcome::kWalked;
}

}  // namespace

BookAnalysisOptions readBookAnalysisOptions(const CommandLine& line) {
  BookAnalysisOptions options;
  if (line.findOption("-occ<")) options.threshold = clampedNumber(line.optionValue("-occ<"), 0, LONG_MAX - 1);
  if (line.findOption("-rnk=")) {
    const std::string_view rank = line.optionValue("-rnk=");
    if (rank == "end") {
      options.rareLo = BookAnalysisOptions::kRunLimit - 1;
      options.rareHi = BookAnalysisOptions::kRunLimit;
    } else if (rank == "all") {
      options.rareLo = 1;
      options.rareHi = BookAnalysisOptions::kRunLimit;
    } else {
      const int k = static_cast<int>(clampedNumber(rank, 0, kRankLimit));
      options.rareLo = k == 0 ? 0 : k - 1;
      options.rareHi = k;
    }
  }
  if (line.findOption("-tsk=")) options.evalTask = line.optionValue("-tsk=") == "eval";
  if (line.findOption("-ms=")) options.ms = static_cast<int>(clampedNumber(line.optionValue("-ms="), 0, INT_MAX));
  options.stop = line.findOption("-stop") != 0;
  if (line.findOption("-ply="))
    options.maxPly = static_cast<int>(clampedNumber(line.optionValue("-ply="), 0, BookAnalysisOptions::kMaxWalkPlies));
  options.showPv = line.findOption("-showpv") != 0;
  if (line.findOption("-out=") && !line.optionValue("-out=").empty()) options.out = line.optionValue("-out=");
  options.ddup = line.findOption("-ddup") != 0;
  options.vfy = line.findOption("-vfy") != 0;
  options.dbg = line.findOption("-dbg") != 0;
  return options;
}

bool analyseBook(const BookParts& parts, EngineClient& engine, platform::Timers& timers, const PgnFile& open,
                 const BookAnalysisOptions& options, platform::EscapePoll& escape) {
  Console& console = parts.console;
  if (!parts.book.isLoaded()) {
    console.fail("\n> No book in memory. Please load a book before (use 'openbk' command)\n");
    return false;
  }
  // No output may destroy what the command reads (its roots, the book, the open PGN file) or
  // another of its outputs.
  const std::string bookFile = parts.book.fileName;
  if (refusesOutputs(console, open,
                     {options.out, options.vfy ? kVerifiedFile : "", options.dbg ? kDebugFile : "",
                      options.ddup ? BookAnalysisOptions::kDedupFile : ""},
                     {kRootsFile, bookFile})) {
    return false;
  }

  // The walks of every root go to the same files, which replace the earlier ones only once every
  // walk is done and every file written whole.
  platform::OutputFile tree, verified, debug;
  Analysis run{parts, engine, timers, open, options, escape, {}};
  if (!options.evalTask) {
    if (!beginOutputOrSay(console, tree, options.treeFile())) return false;
    run.files.tree = &tree;
  }
  if (options.vfy) {
    if (!beginOutputOrSay(console, verified, kVerifiedFile)) return false;
    run.files.verified = &verified;
  }
  if (options.dbg) {
    if (!beginOutputOrSay(console, debug, kDebugFile)) return false;
    run.files.debug = &debug;
  }
  bool walked = false;
  bool failed = false;
  const auto analyse = [&](std::string_view root) {
    const RootOutcome outcome = analyseRoot(run, root);
    walked = walked || outcome == RootOutcome::kWalked;
    failed = failed || outcome == RootOutcome::kFailed;
  };
  platform::TextFile roots(kRootsFile);
  if (roots.isOpen()) {
    std::string root;
    while (roots.readLine(root, kRootLength)) {
      if (root.empty()) continue;
      analyse(root);
    }
  } else {
    console.writeText("- no 'anabk.epd' file found. The root position will be the normal starting position\n");
    analyse(kStartPosition);
  }
  // No walk, or one that failed: the earlier files stay as they were.
  std::vector<platform::OutputFile*> outputs;
  for (platform::OutputFile* file : {run.files.tree, run.files.verified, run.files.debug}) {
    if (file != nullptr) outputs.push_back(file);
  }
  if (!walked || failed || outputs.empty()) return false;
  return finishOutputs(console, outputs) && !options.evalTask;
}

}  // namespace kestrova

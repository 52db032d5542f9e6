#include "book/book_analysis.hpp"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>

#include "book/book_browser.hpp"
#include "book/book_table.hpp"
#include "book/book_walk.hpp"
#include "book/book_writer.hpp"
#include "pgn/board_view.hpp"
#include "chess/fen.hpp"
#include "commands/epd_dedup.hpp"
#include "engine/engine_client.hpp"
#include "pgn/output_files.hpp"
#include "platform/escape_key.hpp"
#include "platform/output_file.hpp"
#include "platform/text_file.hpp"
#include "shell/app.hpp"
#include "platform/command_line.hpp"
#include "platform/numbers.hpp"

namespace kestrova {

namespace {

constexpr const char* kRootsFile = "anabk.epd";
constexpr const char* kDedupFile = "tmp.epd";
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

bool openForAppending(App& app, platform::OutputFile& file, const std::string& path, const char* failure) {
  if (file.append(path)) return true;
  app.console.writeText(failure, colour::kError);
  return false;
}

void analyseRoot(App& app, const BookAnalysisOptions& options, platform::EscapePoll& escape,
                 std::string_view root) {
  Console& console = app.console;
  platform::OutputFile tree;
  platform::OutputFile verified;
  platform::OutputFile debug;
  BookWalkFiles files;
  if (!options.evalTask) {
    if (!openForAppending(app, tree, options.ddup ? kDedupFile : options.out, "- can't create the output epd file\n"))
      return;
    files.tree = &tree;
  }
  if (options.vfy) {
    if (!openForAppending(app, verified, kVerifiedFile, "- can't create the output pgn file\n")) return;
    files.verified = &verified;
  }
  if (options.dbg) {
    if (!openForAppending(app, debug, kDebugFile, "- can't create the anabk's debug file\n")) return;
    files.debug = &debug;
  }

  setStartPosition(app.chess, app.game, root);
  // A root text without its side field is taken as White to move, so keys and texts agree.
  if (app.chess.board.side != kBlack && app.chess.board.side != kWhite) app.chess.board.side = kWhite;
  app.game.tags.clearValues();
  showBookPosition(app);

  console.writeText(
      "\n\n- kestrova is going to analyze all the sub-trees in the loaded book,\n"
      "  starting from the epd positions stored in the file 'anabk.epd'. Keep in\n"
      "  mind that this process can be extremely long according to the choosen\n"
      "  parameters and that the number of computed nodes is far larger than the\n"
      "  number of positions due to the transposition logic\n\n");
  console.writeText("- do you want to start the process ? (y,n) : ");
  console.flush();
  const int start = app.input.readAnswer();
  if (start == 'n' || start == EOF) return;

  if (options.evalTask) {
    console.writeText("- testing engine\n");
    console.flush();
    if (!waitReady(app.engine, app.timers, kReadyWaitMs)) {
      app.engine.terminateEngine();
      console.writeText(
          "- engine not ready\n- please reload Kestrova with an engine correctly mentionned in the kestrova.ini file\n",
          colour::kError);
      return;
    }
    console.writeText("- engine ready\n- press 'ESC' to stop the analyze\n");
  }
  console.writeText("\n");
  console.print(colour::kSuccess, "- scanning book from ply = 1 up to ply = %d (half-moves)\n\n", options.maxPly);
  console.flush();

  BookWalk walk(app, options, escape, files);
  {
    WatchingEscape watching(escape);
    escape.pressed();  // forgets presses made before the walk
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
    if (app.input.readAnswer() == 'y') {
      console.writeText("- saving the book\n");
      if (saveBook(app)) console.writeText("- operation complete\n");
    }
  }
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

void analyseBook(App& app, const BookAnalysisOptions& options, platform::EscapePoll& escape) {
  Console& console = app.console;
  if (!app.book.isLoaded()) {
    console.writeText("\n> No book in memory. Please load a book before (use 'openbk' command)\n", colour::kError);
    return;
  }
  // Deleting an output must never destroy what the command reads: its roots, the book, the open
  // PGN file.
  const std::string bookFile = app.book.fileName;
  for (const std::string& output : {options.out, std::string(kVerifiedFile), std::string(kDebugFile),
                                    std::string(options.ddup ? kDedupFile : "")}) {
    if (output.empty()) continue;
    if (refusesAsOutput(app.console, app.pgn, output, {kRootsFile, bookFile})) return;
  }
  std::remove(options.out.c_str());
  std::remove(kVerifiedFile);
  std::remove(kDebugFile);
  // A list left over from an interrupted run would come back into the result.
  if (options.ddup) std::remove(kDedupFile);

  platform::TextFile roots(kRootsFile);
  if (roots.isOpen()) {
    std::string root;
    while (roots.readLine(root, kRootLength)) {
      if (root.find_first_not_of(" \t") == std::string::npos) continue;
      analyseRoot(app, options, escape, root);
    }
  } else {
    console.writeText("- no 'anabk.epd' file found. The root position will be the normal starting position\n");
    analyseRoot(app, options, escape, kStartPosition);
  }

  if (options.evalTask) return;
  if (options.ddup) {
    if (!removeRepeatedPositions(console, app.pgn, *app.chess.zobrist, kDedupFile, options.out)) {
      console.writeText("- can't start or terminate the process !\n", colour::kError);
      return;
    }
    std::remove(kDedupFile);
  }
  console.print(colour::kSuccess, "- please consult the '%s' file to see the resulting epd\n", options.out.c_str());
}

}  // namespace kestrova

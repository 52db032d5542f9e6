#include "book/book_commands.hpp"

#include <cinttypes>
#include <cstdio>
#include <string>

#include "book/book_analysis.hpp"
#include "book/book_browser.hpp"
#include "book/book_lifecycle.hpp"
#include "book/book_writer.hpp"
#include "book/console_book_reporter.hpp"
#include "book/new_book.hpp"
#include "book/polyglot_book.hpp"
#include "commands/epd_dedup.hpp"
#include "pgn/output_files.hpp"
#include "platform/escape_key.hpp"
#include "platform/output_file.hpp"
#include "shell/app.hpp"

namespace kestrova {

namespace {

// The book's numeration base and hash size as the settings give them now.
void takeBookSettings(App& app) {
  applyBookSettings(app.book, app.console, app.settings.bkNumBase, app.settings.bkHashSz);
}

// The polyglot book "-bin=" asks for ("book.bin" when it names no file); empty without the option.
std::string polyglotOutput(const CommandLine& line) {
  if (!line.findOption("-bin=")) return "";
  const std::string_view path = line.optionValue("-bin=");
  return path.empty() ? "book.bin" : std::string(path);
}

}  // namespace

int handleNewbk(App& app, CommandLine& line) {
  NewBookRequest request;
  request.minPly = static_cast<int>(line.number(1));
  request.maxPly = static_cast<int>(line.number(2));
  if (line.findOption("-out=") && !line.optionValue("-out=").empty()) request.out = line.optionValue("-out=");
  if (line.findOption("-pgn=")) request.pgn = line.optionValue("-pgn=");
  request.bin = polyglotOutput(line);
  request.threads = app.settings.threads;
  const bool reload = line.findOption("!") != 0;
  app.console.print(colour::kDefault,
                    "\n> WARNING ! this will create/overwrite a book named %s !\n"
                    "> type 'y' to create the book from %s'%s': ",
                    request.out.c_str(), request.pgn.empty() ? "the folder " : "", request.pgn.empty() ? "pgn_book" : request.pgn.c_str());
  app.console.flush();
  if (app.input.readAnswer() == 'y') {
    takeBookSettings(app);
    buildBook(app.book, app.loopParts(), app.timers, request);
  }
  if (reload) {
    takeBookSettings(app);
    ConsoleBookReporter reporter(app.console);
    app.book.loadBook(request.out, reporter);
  }
  return 1;
}

int handleOpenbk(App& app, CommandLine& line) {
  const std::string& path = line.word(1);
  const std::string bin = polyglotOutput(line);
  if (refusesOutputs(app.console, app.pgn, {bin}, {path})) return 1;
  takeBookSettings(app);
  ConsoleBookReporter reporter(app.console);
  if (!app.book.loadBook(path, reporter)) {
    app.console.fail("> Can't load the specified book !\n");
    return 1;
  }
  app.console.writeText("- Book loaded\n", colour::kSuccess);
  if (bin.empty()) return 1;
  platform::OutputFile out;
  if (!beginOutputOrSay(app.console, out, bin)) return 1;
  const int entries = exportPolyglotBook(app.book, app.chess, out);
  if (finishOutput(app.console, out)) {
    app.console.print(colour::kDefault, "- %d moves written to the polyglot book %s\n", entries, bin.c_str());
  }
  return 1;
}

int handleShowbk(App& app, CommandLine& line) {
  app.console.writeText("\n");
  if (!app.book.isLoaded()) {
    app.console.fail("> No book in memory. Please load a book before (use 'openbk' command)\n");
    return 1;
  }
  browseBook(app.bookParts());
  return 1;
}

int handleDcmbk(App& app, CommandLine& line) {
  app.console.writeText("\n- do you really want to erase all comments included in the current book ? (y,n) : ");
  app.console.flush();
  const int answer = app.input.readAnswer();
  app.console.writeText("\n");
  if (answer != 'y') return 1;
  BookTable& book = app.book;
  if (!book.isLoaded()) {
    app.console.fail("- no book loaded\n");
    return 1;
  }
  app.console.writeText("- erasing comments\n");
  BookEntry* entries = book.entries();
  for (int i = 1; i <= book.moves; ++i) entries[i].cmt = 0;
  app.console.writeText("- saving book\n");
  if (saveBook(book, app.console, app.pgn)) app.console.writeText("- operation complete\n");
  return 1;
}

int handleAnabk(App& app, CommandLine& line) {
  const BookAnalysisOptions options = readBookAnalysisOptions(line);
  platform::EscapeKey escape;
  // Only a list this run wrote is pointed at.
  if (!analyseBook(app.bookParts(), app.engine, app.timers, app.pgn, options, escape) || options.evalTask) return 1;
  if (options.ddup) {
    // A list that could not be cleaned stays in its scratch file: the walks' work is not lost.
    if (!removeRepeatedPositions(app.console, app.pgn, *app.chess.zobrist, BookAnalysisOptions::kDedupFile, options.out)) {
      app.console.fail("- can't start or terminate the process !\n");
      return 1;
    }
    std::remove(BookAnalysisOptions::kDedupFile);
  }
  app.console.print(colour::kSuccess, "- please consult the '%s' file to see the resulting epd\n", options.out.c_str());
  return 1;
}

int handleBdoor(App& app, CommandLine& line) {
  // The self-test of the book's number encoding: alternating bytes 0xAA and 0x55.
  constexpr std::uint64_t kPattern = 12273903644374837845u;
  const BookNumeration numbers(app.settings.bkNumBase);
  const std::string text = numbers.encode(kPattern);
  std::uint64_t back = 0;
  numbers.decode(text, back);
  app.console.print(colour::kNormal, "%" PRIu64 "\n", kPattern);
  app.console.writeText(text + "\n");
  app.console.print(colour::kNormal, "%" PRIu64 "\n", back);
  return 1;
}

}  // namespace kestrova

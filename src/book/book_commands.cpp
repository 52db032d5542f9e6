#include "book/book_commands.hpp"

#include <cinttypes>
#include <string>

#include "book/book_analysis.hpp"
#include "book/book_browser.hpp"
#include "book/book_lifecycle.hpp"
#include "book/book_writer.hpp"
#include "book/console_book_reporter.hpp"
#include "book/new_book.hpp"
#include "platform/escape_key.hpp"
#include "shell/app.hpp"
#include "shell/command_table.hpp"

namespace kestrova {

int handleNewbk(App& app, CommandLine& line) {
  NewBookRequest request;
  request.minPly = static_cast<int>(line.number(1));
  request.maxPly = static_cast<int>(line.number(2));
  if (line.findOption("-out=") && !line.optionValue("-out=").empty()) request.out = line.optionValue("-out=");
  if (line.findOption("-pgn=")) request.pgn = line.optionValue("-pgn=");
  const bool reload = line.findOption("!") != 0;
  app.console.print(colour::kDefault,
                    "\n> WARNING ! this will create/overwrite a book named %s !\n"
                    "> type 'y' to create the book from '/pgn_book': ",
                    request.out.c_str());
  app.console.flush();
  if (app.input.readAnswer() == 'y') {
    applyBookSettings(app);
    buildBook(app, request);
  }
  if (reload) {
    applyBookSettings(app);
    ConsoleBookReporter reporter(app.console);
    app.book.loadBook(request.out, reporter);
  }
  return 1;
}

int handleOpenbk(App& app, CommandLine& line) {
  applyBookSettings(app);
  ConsoleBookReporter reporter(app.console);
  if (app.book.loadBook(line.word(1), reporter)) app.console.writeText("- Book loaded\n", colour::kSuccess);
  else app.console.writeText("> Can't load the specified book !\n", colour::kError);
  return 1;
}

int handleShowbk(App& app, CommandLine& line) {
  app.console.writeText("\n");
  if (!app.book.isLoaded()) {
    app.console.writeText("> No book in memory. Please load a book before (use 'openbk' command)\n", colour::kError);
    return 1;
  }
  browseBook(app);
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
    app.console.writeText("- no book loaded\n", colour::kError);
    return 1;
  }
  app.console.writeText("- erasing comments\n");
  BookEntry* entries = book.entries();
  for (int i = 1; i <= book.moves; ++i) entries[i].cmt = 0;
  app.console.writeText("- saving book\n");
  saveBook(app);
  app.console.writeText("- operation complete\n");
  return 1;
}

int handleAnabk(App& app, CommandLine& line) {
  const BookAnalysisOptions options = readBookAnalysisOptions(line);
  platform::EscapeKey escape;
  analyseBook(app, options, escape);
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

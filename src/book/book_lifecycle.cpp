#include "book/book_lifecycle.hpp"

#include "book/console_book_reporter.hpp"
#include "shell/app.hpp"

namespace kestrova {

void applyBookSettings(App& app) {
  if (!app.book.setNumerationBase(app.settings.bkNumBase)) {
    app.console.print(colour::kError, "> bkNumBase=%u is not a book numeration base (2 to 224): 224 used\n",
                      static_cast<unsigned>(app.settings.bkNumBase));
  }
  if (!app.book.setHashSize(app.settings.bkHashSz)) {
    app.console.print(colour::kError, "> bkHashSz=%u is not a book hash size (32 or 64): 32 used\n",
                      static_cast<unsigned>(app.settings.bkHashSz));
  }
}

void loadBookAtStartUp(App& app) {
  applyBookSettings(app);
  ConsoleBookReporter reporter(app.console);
  app.book.loadBook("book.obk", reporter);
}

void releaseBook(App& app) { app.book.closeBook(); }

}  // namespace kestrova

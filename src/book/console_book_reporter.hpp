#pragma once
// The program's book messages go to its console.
#include "book/book_reporter.hpp"
#include "platform/console.hpp"

namespace kestrova {

class ConsoleBookReporter final : public BookReporter {
 public:
  explicit ConsoleBookReporter(Console& console) : console_(console) {}
  // Progress lines (ended by "\r") are for a terminal; in a pipe they would only garble the text.
  void write(int colour, std::string_view text) override {
    if (!text.empty() && text.back() == '\r' && !console_.isTerminal()) return;
    console_.writeText(text, colour);
  }

 private:
  Console& console_;
};

}  // namespace kestrova

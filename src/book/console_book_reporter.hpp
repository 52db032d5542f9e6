#pragma once
// The program's book messages go to its console.
#include "book/book_reporter.hpp"
#include "platform/console.hpp"

namespace kestrova {

class ConsoleBookReporter final : public BookReporter {
 public:
  explicit ConsoleBookReporter(Console& console) : console_(console) {}
  void write(int colour, std::string_view text) override { console_.writeText(text, colour); }

 private:
  Console& console_;
};

}  // namespace kestrova

#pragma once
// Where the book reader's messages go: the console in the program, the log file in vellum, so
// that one reader serves both.
#include <string_view>

namespace kestrova {

class BookReporter {
 public:
  virtual ~BookReporter() = default;

  // Shows a text in a console colour (0 default, 10 success, 12 error); a text ending in "\r"
  // is a progress line.
  virtual void write(int colour, std::string_view text) = 0;

  // Formats printf-style, then writes (texts are cut at 1,023 characters).
  void print(int colour, const char* format, ...) __attribute__((format(printf, 3, 4)));
};

}  // namespace kestrova

#pragma once
// Line input from standard input, or from a text given by a test.
#include <cstdio>
#include <string>

namespace kestrova::platform {

class Input {
 public:
  // Reads standard input.
  Input() = default;
  // Reads the given text (tests and scripted sessions).
  explicit Input(std::string scripted);

  // Reads one line without its line end (LF or CR LF). A line longer than `limit` characters
  // is cut to `limit`; the rest of it is discarded. False at end of input.
  bool readLine(std::string& line, std::size_t limit = 255);

  // Reads a line and returns its first character, '\n' for an empty line, or EOF at end of input
  // ("read one character and discard the rest of the line").
  int readAnswer();

  // True when the lines come from a terminal (not a script, not a pipe or a file).
  bool fromTerminal() const;

 private:
  int next();

  bool scripted_ = false;
  std::string text_;
  std::size_t pos_ = 0;
};

}  // namespace kestrova::platform

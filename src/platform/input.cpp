#include "platform/input.hpp"

#include <unistd.h>

#include "platform/terminal.hpp"

namespace kestrova::platform {

Input::Input(std::string scripted) : scripted_(true), text_(std::move(scripted)) {}

int Input::next() {
  if (scripted_) return pos_ < text_.size() ? static_cast<unsigned char>(text_[pos_++]) : EOF;
  return std::getchar();
}

bool Input::readLine(std::string& line, std::size_t limit) {
  line.clear();
  int c = next();
  if (c == EOF) return false;
  while (c != EOF && c != '\n') {
    if (line.size() < limit) line.push_back(static_cast<char>(c));
    c = next();
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

int Input::readAnswer() {
  std::string line;
  if (!readLine(line)) return EOF;
  return line.empty() ? '\n' : static_cast<unsigned char>(line[0]);
}

bool Input::fromTerminal() const { return !scripted_ && isTerminal(STDIN_FILENO); }

}  // namespace kestrova::platform

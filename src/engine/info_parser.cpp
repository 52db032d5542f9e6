#include "engine/info_parser.hpp"

#include <climits>
#include <cstdio>

#include "platform/console.hpp"

namespace kestrova {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A word of the info line: the letters preceded and followed by a blank.
bool isWordAt(const std::string& text, std::size_t pos, std::size_t end, std::string_view word) {
  return pos > 0 && text[pos - 1] == ' ' && pos + word.size() < end &&
         text.compare(pos, word.size(), word) == 0 && text[pos + word.size()] == ' ';
}

}  // namespace

int readDecimal(std::string_view text) {
  std::size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) negative = text[pos++] == '-';
  long long magnitude = 0;
  for (; pos < text.size() && isDigit(text[pos]); ++pos) {
    magnitude = magnitude * 10 + (text[pos] - '0');
    if (magnitude > INT_MAX) magnitude = static_cast<long long>(INT_MAX) + 1;  // saturate
  }
  if (negative) return magnitude > INT_MAX ? INT_MIN : static_cast<int>(-magnitude);
  return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

void InfoParser::addChunk(std::string_view chunk, Console& console) {
  if (text_.size() + chunk.size() < kTextLimit) {
    text_.append(chunk);
    parseCompleteLines(console);
  } else {
    text_.assign(chunk);
  }
}

void InfoParser::parseCompleteLines(Console& console) {
  const std::size_t first = text_.find("inf");
  if (first == std::string::npos) return;
  std::size_t last = first;
  for (std::size_t at = text_.find("inf", first + 1); at != std::string::npos;
       at = text_.find("inf", at + 1)) {
    last = at;
  }
  if (last == first) return;
  scanInfo(first, last, console);
  text_.erase(0, last);
}

void InfoParser::scanInfo(std::size_t begin, std::size_t end, Console& console) {
  for (std::size_t pos = begin; pos < end; ++pos) {
    const std::size_t left = end - pos;
    if (left >= 9 && pos > 0 && text_[pos - 1] == ' ' && text_.compare(pos, 5, "depth") == 0) {
      std::size_t digit = pos + 5;
      while (digit < end - 3 && !isDigit(text_[digit])) ++digit;
      if (isDigit(text_[digit])) {
        depth_ = text_[digit] - '0';
        // Depths are read as at most two digits.
        if (isDigit(text_[digit + 1])) depth_ = depth_ * 10 + (text_[digit + 1] - '0');
      }
    } else if (left >= 4 && isWordAt(text_, pos, end, "cp")) {
      const std::size_t start = pos + 3;
      std::size_t stop = start;
      while (stop < end && stop - start < kValueLimit &&
             (isDigit(text_[stop]) || text_[stop] == '-' || text_[stop] == '+')) {
        ++stop;
      }
      value_ = readDecimal(std::string_view(text_).substr(start, stop - start));
    } else if (isWordAt(text_, pos, end, "pv")) {
      const std::size_t start = pos + 3;
      std::size_t stop = text_.find('\n', start);  // one line, without its line end
      if (stop == std::string::npos || stop > end) stop = end;
      if (stop > start && text_[stop - 1] == '\r') --stop;
      if (stop - start > kPvLimit) stop = start + kPvLimit;
      pv_.assign(text_, start, stop - start);
      hasPv_ = true;
      if (show_) display(console);
      return;
    }
  }
}

void InfoParser::display(Console& console) const {
  // Overwriting the last line means something on a terminal only; a pipe or a file gets a line each.
  std::string line = scroll_ || !console.isTerminal() ? "\n" : "\r" + std::string(78, ' ') + "\r";
  char numbers[48];
  std::snprintf(numbers, sizeof numbers, "d=%d\tv=%d\t", depth_, value_);
  line += numbers;
  if (pv_.size() > kShownPv) {
    line.append(pv_, 0, kShownPv);
    line += "...";
  } else {
    line += pv_;
  }
  console.writeText(line, colour::kNormal);
  console.flush();  // the line is watched while the engine thinks
}

}  // namespace kestrova

#include "engine/info_parser.hpp"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "platform/console.hpp"

namespace kestrova {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The next blank-separated word of the line from `at` on, and `at` moved past it.
std::string_view nextWord(std::string_view line, std::size_t& at) {
  while (at < line.size() && line[at] == ' ') ++at;
  const std::size_t start = at;
  while (at < line.size() && line[at] != ' ') ++at;
  return line.substr(start, at - start);
}

}  // namespace

int mateValue(int moves) {
  moves = std::clamp(moves, -kLongestMate, kLongestMate);
  return moves > 0 ? kMateValue - moves : -kMateValue - moves;
}

bool isMateValue(int value) { return value >= kMateValue - kLongestMate || value <= -kMateValue + kLongestMate; }

std::string formatValue(int value) {
  if (!isMateValue(value)) return std::to_string(value);
  return value > 0 ? "M" + std::to_string(kMateValue - value) : "-M" + std::to_string(value + kMateValue);
}

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
  for (;;) {
    const std::size_t end = chunk.find('\n');
    const std::string_view piece = chunk.substr(0, end);
    if (!overlong_ && line_.size() + piece.size() > kTextLimit) {
      overlong_ = true;
      line_.clear();
    }
    if (!overlong_) line_.append(piece);
    if (end == std::string_view::npos) return;
    if (!overlong_) parseLine(line_, console);
    line_.clear();
    overlong_ = false;
    chunk.remove_prefix(end + 1);
  }
}

void InfoParser::parseLine(std::string_view line, Console& console) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  std::size_t at = 0;
  if (nextWord(line, at) != "info") return;
  int depth = 0;
  int value = 0;
  bool scored = false;
  std::string_view pv;
  bool hasPv = false;
  for (std::string_view word = nextWord(line, at); !word.empty(); word = nextWord(line, at)) {
    if (word == "depth") {
      depth = std::max(0, readDecimal(nextWord(line, at)));
    } else if (word == "score") {
      const std::string_view kind = nextWord(line, at);
      const int number = readDecimal(nextWord(line, at));
      if (kind == "cp") {
        value = std::clamp(number, -kMateValue + kLongestMate + 1, kMateValue - kLongestMate - 1);
        scored = true;
      } else if (kind == "mate") {
        value = mateValue(number);
        scored = true;
      }
    } else if (word == "pv") {
      while (at < line.size() && line[at] == ' ') ++at;
      pv = line.substr(at, kPvLimit);
      hasPv = true;
      break;
    } else if (word == "string") {
      break;  // free text to the end of the line
    }
  }
  // A line without a score (the current move, the nodes searched) is no result of the search.
  if (!scored) return;
  depth_ = depth;
  value_ = value;
  hasPv_ = hasPv;
  pv_.assign(pv);
  if (show_) display(console);
}

void InfoParser::display(Console& console) const {
  // Overwriting the last line means something on a terminal only; a pipe or a file gets a line each.
  std::string line = scroll_ || !console.isTerminal() ? "\n" : "\r" + std::string(78, ' ') + "\r";
  line += "d=" + std::to_string(depth_) + "\tv=" + formatValue(value_) + "\t";
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

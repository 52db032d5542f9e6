#pragma once
// Reading depth, score and principal variation out of what an engine prints while it thinks.
#include <cstddef>
#include <string>
#include <string_view>

namespace kestrova {

class Console;

// A mate score as a value, beyond any centipawn value an engine gives: "mate N" (the side to move
// mates in N) is kMateValue - N, "mate -N" (it is mated in N) is -kMateValue + N, and "mate 0" (it
// is mated now) is -kMateValue. Centipawn values are held within the gap below.
inline constexpr int kMateValue = 1000000;
inline constexpr int kLongestMate = 10000;
int mateValue(int moves);
bool isMateValue(int value);
// The value as an engine tester reads it: "M3" for a mate in 3, "-M3" for mated in 3, else the
// centipawns.
std::string formatValue(int value);

class InfoParser {
 public:
  static constexpr std::size_t kTextLimit = 2048;  // longer lines are skipped whole
  static constexpr std::size_t kPvLimit = 1023;    // characters of a principal variation kept
  static constexpr std::size_t kShownPv = 60;      // characters of it displayed
  static constexpr int kNoValue = 12345;           // the value when no score came

  // With show, every scored line read is displayed on the console: on a new line with scroll or
  // when the console is no terminal, otherwise over the previous one.
  InfoParser(bool show, bool scroll) : show_(show), scroll_(scroll) {}

  // Adds one piece of engine output. A line is parsed once its line end has come; the result is
  // the last info line with a score: its depth, its score and its variation.
  void addChunk(std::string_view chunk, Console& console);

  int depth() const { return depth_; }
  int value() const { return value_; }
  bool hasPv() const { return hasPv_; }
  const std::string& pv() const { return pv_; }

 private:
  void parseLine(std::string_view line, Console& console);
  void display(Console& console) const;

  bool show_;
  bool scroll_;
  std::string line_;       // the line being received
  bool overlong_ = false;  // the line being received is skipped
  int depth_ = 0;
  int value_ = kNoValue;
  bool hasPv_ = false;
  std::string pv_;
};

// The decimal integer at the start of the text (an optional sign, then digits), held within the
// range of int; 0 when there is none.
int readDecimal(std::string_view text);

}  // namespace kestrova

#pragma once
// Reading depth, score and principal variation out of what an engine prints while it thinks.
#include <cstddef>
#include <string>
#include <string_view>

namespace kestrova {

class Console;

class InfoParser {
 public:
  static constexpr std::size_t kTextLimit = 2048;  // the accumulated text stays below this
  static constexpr std::size_t kValueLimit = 511;  // characters of a "cp" number read
  static constexpr std::size_t kPvLimit = 1023;    // characters of a principal variation kept
  static constexpr std::size_t kShownPv = 60;      // characters of it displayed
  static constexpr int kNoValue = 12345;           // the value when no "cp" score came

  // With show, every principal variation read is displayed on the console: on a new line with
  // scroll, otherwise over the previous one.
  InfoParser(bool show, bool scroll) : show_(show), scroll_(scroll) {}

  // Adds one piece of engine output. An info line is parsed once the next line starting with
  // "inf" begins to arrive, so the last info line before "stop" is never read.
  void addChunk(std::string_view chunk, Console& console);

  int depth() const { return depth_; }
  int value() const { return value_; }
  bool hasPv() const { return hasPv_; }
  const std::string& pv() const { return pv_; }
  const std::string& text() const { return text_; }

 private:
  void parseCompleteLines(Console& console);
  void scanInfo(std::size_t begin, std::size_t end, Console& console);
  void display(Console& console) const;

  bool show_;
  bool scroll_;
  std::string text_;
  int depth_ = 0;
  int value_ = kNoValue;
  bool hasPv_ = false;
  std::string pv_;
};

// The decimal integer at the start of the text (an optional sign, then digits), held within the
// range of int; 0 when there is none.
int readDecimal(std::string_view text);

}  // namespace kestrova

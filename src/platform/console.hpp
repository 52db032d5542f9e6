#pragma once
// The one console writer: every text the program shows passes through writeText.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// Console attributes the program speaks in (foreground in the low nibble, background in the high).
namespace colour {
constexpr int kDefault = 0;  // replaced by kNormal
constexpr int kTitle = 6;
constexpr int kNormal = 7;
constexpr int kSuccess = 10;
constexpr int kError = 12;
constexpr int kBanner = 14;
constexpr int kBright = 15;
}  // namespace colour

// One stretch of a text shown in its own colour; a table of runs ends with attribute 0.
struct ColourRun {
  std::uint32_t attribute = 0;
  std::uint32_t first = 0;  // index of the first character
  std::uint32_t last = 0;   // index of the last character, inclusive
};

class Console {
 public:
  // Writes to standard output, in colour when it is a terminal and NO_COLOR is unset.
  Console();
  // Collects everything written into a text instead (tests), with ANSI colours when asked.
  static Console capturing(bool ansi = false);
  ~Console();
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;
  Console(Console&&) = default;

  // Prints text verbatim in a colour (0 means 7); with runs, stretches get their own colour.
  // The terminal is back at attribute 7 afterwards. Returns 1.
  int writeText(std::string_view text, int colour = colour::kNormal,
                const ColourRun* runs = nullptr);

  // Formats printf-style, then writes in the colour.
  void print(int colour, const char* format, ...) __attribute__((format(printf, 3, 4)));

  void flush();

  // Everything written so far when capturing; the capture is emptied.
  std::string takeCaptured();
  const std::string& captured() const { return captured_; }

 private:
  struct CaptureTag {};
  Console(CaptureTag, bool ansi);
  void setAttribute(int attribute);
  void emit(std::string_view text);

  bool capturing_ = false;
  bool ansi_ = false;
  int attribute_ = colour::kNormal;
  std::string pending_;
  std::string captured_;
  std::vector<char> formatBuffer_;
};

}  // namespace kestrova

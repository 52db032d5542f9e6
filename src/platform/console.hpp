#pragma once
// The one console writer: every text the program shows passes through writeText.
#include <cstdarg>
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
  // Writes results to standard output and error messages (colour 12) to standard error, each in
  // colour when it is a terminal and NO_COLOR is unset.
  Console();
  // Collects everything written into a text instead (tests), with ANSI colours when asked.
  static Console capturing(bool ansi = false);
  // Keeps what is written, to be written later to `target` (replayTo) as if written there: a worker
  // thread's messages, shown in the order of the games. It shows colour when the target does.
  static Console recording(const Console& target);
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

  // Reports that the command failed: the message in colour 12, and the command counts as failed.
  void fail(const char* format, ...) __attribute__((format(printf, 2, 3)));
  bool failed() const { return failed_; }
  void clearFailed() { failed_ = false; }

  // A progress line (ended by "\r" to be overwritten) or a bell: written to a terminal only,
  // never into a pipe or a file.
  void progress(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void bell();
  bool isTerminal() const { return terminal_; }
  // Results are shown in colour (a terminal without NO_COLOR, or an ANSI capture).
  bool showsColour() const { return out_.ansi; }
  // Tests that watch the progress lines make the captured console a terminal.
  void setTerminal(bool terminal) { terminal_ = terminal; }

  void flush();

  // Writes what a recording console holds to the target, in order, and empties it; a failure
  // recorded fails the target too.
  void replayTo(Console& target);
  // Exchanges what two recording consoles hold.
  void swapRecording(Console& other) {
    recordedText_.swap(other.recordedText_);
    recordedRuns_.swap(other.recordedRuns_);
    recorded_.swap(other.recorded_);
  }

  // Everything written so far when capturing; the capture is emptied.
  std::string takeCaptured();
  const std::string& captured() const { return captured_; }

 private:
  // One of the two standard streams, with its own pending text and attribute.
  struct Stream {
    std::FILE* file = nullptr;
    bool ansi = false;
    int attribute = colour::kNormal;
    std::string pending;
    // A write failed (a closed pipe): nothing more is written there.
    bool closed = false;
  };

  // One recorded writeText: its text and runs are stretches of the recorded buffers.
  struct Recorded {
    std::size_t textBegin, textEnd, runsBegin, runsEnd;
    int colour;
    bool failed;
  };

  struct CaptureTag {};
  Console(CaptureTag, bool ansi);
  void setAttribute(Stream& stream, int attribute);
  void emit(Stream& stream, std::string_view text);
  void flushStream(Stream& stream);
  void vprint(int colour, const char* format, va_list args);

  bool capturing_ = false;
  bool recording_ = false;
  std::string recordedText_;
  std::vector<ColourRun> recordedRuns_;
  std::vector<Recorded> recorded_;
  bool terminal_ = false;
  bool failed_ = false;
  Stream out_;
  Stream err_;
  std::string captured_;
  std::vector<char> formatBuffer_;
};

}  // namespace kestrova

#include "platform/console.hpp"

#include <algorithm>
#include <cstdarg>
#include <unistd.h>

#include "platform/terminal.hpp"

namespace kestrova {

namespace {
constexpr std::size_t kFlushThreshold = 1 << 16;
}

Console::Console() : terminal_(platform::isTerminal(STDOUT_FILENO)) {
  out_.file = stdout;
  out_.ansi = platform::wantsColour(STDOUT_FILENO);
  err_.file = stderr;
  err_.ansi = platform::wantsColour(STDERR_FILENO);
}

Console::Console(CaptureTag, bool ansi) : capturing_(true) {
  out_.ansi = err_.ansi = ansi;
}

Console Console::capturing(bool ansi) { return Console(CaptureTag{}, ansi); }

Console Console::recording(const Console& target) {
  Console console(CaptureTag{}, false);
  console.capturing_ = false;
  console.recording_ = true;
  console.out_.ansi = target.out_.ansi;
  console.err_.ansi = target.err_.ansi;
  return console;
}

void Console::replayTo(Console& target) {
  for (const Recorded& r : recorded_) {
    const std::string_view text(recordedText_.data() + r.textBegin, r.textEnd - r.textBegin);
    const ColourRun* runs = r.runsBegin == r.runsEnd ? nullptr : recordedRuns_.data() + r.runsBegin;
    target.writeText(text, r.colour, runs);
    if (r.failed) target.failed_ = true;
  }
  recorded_.clear();
  recordedText_.clear();
  recordedRuns_.clear();
}

Console::~Console() { flush(); }

void Console::setAttribute(Stream& stream, int attribute) {
  if (!stream.ansi || attribute == stream.attribute) return;
  stream.attribute = attribute;
  emit(stream, platform::ansiSequence(attribute));
}

void Console::emit(Stream& stream, std::string_view text) {
  if (capturing_) {
    captured_.append(text);
    return;
  }
  stream.pending.append(text);
  // A progress line overwrites itself and must be seen while the work goes on.
  if (stream.pending.size() >= kFlushThreshold || (!text.empty() && text.back() == '\r')) flushStream(stream);
}

int Console::writeText(std::string_view text, int colour, const ColourRun* runs) {
  if (recording_) {
    Recorded r{recordedText_.size(), 0, recordedRuns_.size(), 0, colour, false};
    recordedText_.append(text);
    r.textEnd = recordedText_.size();
    if (runs != nullptr && runs[0].attribute != 0) {
      for (const ColourRun* run = runs; run->attribute != 0; ++run) recordedRuns_.push_back(*run);
      recordedRuns_.push_back(ColourRun{});
    }
    r.runsEnd = recordedRuns_.size();
    recorded_.push_back(r);
    return 1;
  }
  const int base = colour == colour::kDefault ? colour::kNormal : colour;
  // Error messages go to standard error, after what standard output holds, so that the two read in
  // order on a terminal.
  const bool error = base == colour::kError && runs == nullptr;
  Stream& stream = error ? err_ : out_;
  flushStream(error ? out_ : err_);
  if (runs == nullptr || runs[0].attribute == 0) {
    setAttribute(stream, base);
    emit(stream, text);
    setAttribute(stream, colour::kNormal);
    if (error) flushStream(stream);
    return 1;
  }
  long previousEnd = -1;
  for (const ColourRun* run = runs; run->attribute != 0; ++run) {
    if (run->first >= text.size()) break;
    const std::size_t last = std::min<std::size_t>(run->last, text.size() - 1);
    if (static_cast<long>(run->first) > previousEnd + 1) {
      setAttribute(stream, base);
      emit(stream, text.substr(previousEnd + 1, run->first - (previousEnd + 1)));
    }
    setAttribute(stream, static_cast<int>(run->attribute));
    emit(stream, text.substr(run->first, last - run->first + 1));
    previousEnd = static_cast<long>(last);
  }
  if (static_cast<long>(text.size()) > previousEnd + 1) {
    setAttribute(stream, base);
    emit(stream, text.substr(previousEnd + 1));
  }
  setAttribute(stream, colour::kNormal);
  return 1;
}

void Console::vprint(int colour, const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  const int needed = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (needed < 0) return;
  formatBuffer_.resize(static_cast<std::size_t>(needed) + 1);
  std::vsnprintf(formatBuffer_.data(), formatBuffer_.size(), format, args);
  writeText(std::string_view(formatBuffer_.data(), static_cast<std::size_t>(needed)), colour);
}

void Console::print(int colour, const char* format, ...) {
  va_list args;
  va_start(args, format);
  vprint(colour, format, args);
  va_end(args);
}

void Console::fail(const char* format, ...) {
  va_list args;
  va_start(args, format);
  vprint(colour::kError, format, args);
  va_end(args);
  failed_ = true;
  if (recording_ && !recorded_.empty()) recorded_.back().failed = true;
}

void Console::progress(const char* format, ...) {
  if (!terminal_) return;
  va_list args;
  va_start(args, format);
  vprint(colour::kNormal, format, args);
  va_end(args);
}

void Console::bell() {
  if (terminal_) writeText("\a");
}

void Console::flushStream(Stream& stream) {
  if (capturing_ || stream.pending.empty()) return;
  if (!stream.closed) {
    const bool written = std::fwrite(stream.pending.data(), 1, stream.pending.size(), stream.file) ==
                         stream.pending.size();
    // A reader that went away (a closed pipe) ends the console's output quietly; the command
    // goes on to finish its files.
    if (std::fflush(stream.file) != 0 || !written) stream.closed = true;
  }
  stream.pending.clear();
}

void Console::flush() {
  flushStream(out_);
  flushStream(err_);
}

std::string Console::takeCaptured() {
  std::string out;
  out.swap(captured_);
  return out;
}

}  // namespace kestrova

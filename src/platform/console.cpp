#include "platform/console.hpp"

#include <algorithm>
#include <cstdarg>

#include "platform/terminal.hpp"

namespace kestrova {

namespace {
constexpr std::size_t kFlushThreshold = 1 << 16;
}

Console::Console() : ansi_(platform::stdoutWantsColour()) {}

Console::Console(CaptureTag, bool ansi) : capturing_(true), ansi_(ansi) {}

Console Console::capturing(bool ansi) { return Console(CaptureTag{}, ansi); }

Console::~Console() { flush(); }

void Console::setAttribute(int attribute) {
  if (!ansi_ || attribute == attribute_) return;
  attribute_ = attribute;
  emit(platform::ansiSequence(attribute));
}

void Console::emit(std::string_view text) {
  pending_.append(text);
  if (capturing_) {
    captured_.append(pending_);
    pending_.clear();
    return;
  }
  // A progress line overwrites itself and must be seen while the work goes on.
  if (pending_.size() >= kFlushThreshold || (!text.empty() && text.back() == '\r')) flush();
}

int Console::writeText(std::string_view text, int colour, const ColourRun* runs) {
  const int base = colour == colour::kDefault ? colour::kNormal : colour;
  if (runs == nullptr || runs[0].attribute == 0) {
    setAttribute(base);
    emit(text);
    setAttribute(colour::kNormal);
    return 1;
  }
  long previousEnd = -1;
  for (const ColourRun* run = runs; run->attribute != 0; ++run) {
    if (run->first >= text.size()) break;
    const std::size_t last = std::min<std::size_t>(run->last, text.size() - 1);
    if (static_cast<long>(run->first) > previousEnd + 1) {
      setAttribute(base);
      emit(text.substr(previousEnd + 1, run->first - (previousEnd + 1)));
    }
    setAttribute(static_cast<int>(run->attribute));
    emit(text.substr(run->first, last - run->first + 1));
    previousEnd = static_cast<long>(last);
  }
  if (static_cast<long>(text.size()) > previousEnd + 1) {
    setAttribute(base);
    emit(text.substr(previousEnd + 1));
  }
  setAttribute(colour::kNormal);
  return 1;
}

void Console::print(int colour, const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int needed = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (needed < 0) {
    va_end(args);
    return;
  }
  formatBuffer_.resize(static_cast<std::size_t>(needed) + 1);
  std::vsnprintf(formatBuffer_.data(), formatBuffer_.size(), format, args);
  va_end(args);
  writeText(std::string_view(formatBuffer_.data(), static_cast<std::size_t>(needed)), colour);
}

void Console::flush() {
  if (capturing_ || pending_.empty()) return;
  std::fwrite(pending_.data(), 1, pending_.size(), stdout);
  std::fflush(stdout);
  pending_.clear();
}

std::string Console::takeCaptured() {
  std::string out;
  out.swap(captured_);
  return out;
}

}  // namespace kestrova

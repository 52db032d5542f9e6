#include "book/book_reporter.hpp"

#include <array>
#include <cstdarg>
#include <cstdio>

namespace kestrova {

void BookReporter::print(int colour, const char* format, ...) {
  std::array<char, 1024> text;
  va_list args;
  va_start(args, format);
  const int length = std::vsnprintf(text.data(), text.size(), format, args);
  va_end(args);
  if (length < 0) return;
  const std::size_t shown = static_cast<std::size_t>(length) < text.size() ? length : text.size() - 1;
  write(colour, std::string_view(text.data(), shown));
}

}  // namespace kestrova

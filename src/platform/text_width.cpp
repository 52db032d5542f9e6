#include "platform/text_width.hpp"

namespace kestrova::platform {

namespace {

// Bytes of the character at `at`: a whole UTF-8 sequence, or 1 for a byte that starts none.
std::size_t characterLength(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const std::size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 1;
  if (length == 1 || lead > 0xF4 || at + length > text.size()) return 1;
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

}  // namespace

std::size_t textWidth(std::string_view text) {
  std::size_t width = 0;
  for (std::size_t at = 0; at < text.size(); at += characterLength(text, at)) ++width;
  return width;
}

void appendPadded(std::string& out, std::string_view text, std::size_t width) {
  out += text;
  const std::size_t used = textWidth(text);
  if (used < width) out.append(width - used, ' ');
}

std::string leadingColumns(std::string_view text, std::size_t count) {
  std::size_t end = 0, taken = 0;
  for (; end < text.size() && taken < count; ++taken) end += characterLength(text, end);
  std::string head(text.substr(0, end));
  head.append(count - taken, ' ');
  return head;
}

void appendHtmlEscaped(std::string& out, std::string_view text) {
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
}

}  // namespace kestrova::platform

#include "commands/tag_editing.hpp"

#include <string>

#include "pgn/tag_table.hpp"

namespace kestrova {

namespace {

char upperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool endsWord(char c) { return c == ' ' || c == '-' || c == ',' || c == '.' || c == ';'; }

}  // namespace

bool insertTagText(TagTable& tags, int tag, long position, std::string_view text) {
  const std::string& value = tags.value(tag);
  const std::size_t length = value.size();
  if (length + text.size() > kMaxInsertedValue || position < 0 || static_cast<std::size_t>(position) >= length) {
    return false;
  }
  std::string changed = value;
  changed.insert(static_cast<std::size_t>(position), text);
  tags.setValue(tag, changed);
  return true;
}

void setTagCase(TagTable& tags, int tag, int direction) {
  std::string changed = tags.value(tag);
  for (char& c : changed) c = direction > 0 ? upperAscii(c) : lowerAscii(c);
  tags.setValue(tag, changed);
}

void setWordInitials(TagTable& tags, int tag, int direction) {
  std::string changed = tags.value(tag);
  for (std::size_t i = 0; i < changed.size(); ++i) {
    if (i > 0 && !endsWord(changed[i - 1])) continue;
    changed[i] = direction > 0 ? upperAscii(changed[i]) : lowerAscii(changed[i]);
  }
  tags.setValue(tag, changed);
}

}  // namespace kestrova

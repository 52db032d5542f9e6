#include "platform/command_line.hpp"

#include <cctype>

#include "platform/numbers.hpp"

namespace kestrova {

namespace {
bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}
}  // namespace

void CommandLine::split(std::string_view line) {
  for (std::size_t i = 0; i < used_; ++i) words_[i].clear();
  count_ = 0;
  used_ = 0;
  std::size_t pos = 0;
  while (pos < line.size()) {
    std::string* word = count_ < kMaxWords ? &words_[count_] : nullptr;
    bool quoted = false;
    while (pos < line.size() && (quoted || line[pos] != ' ')) {
      const char c = line[pos++];
      if (c == '"') {
        quoted = !quoted;
        continue;
      }
      if (word != nullptr && word->size() < kMaxWordLength) word->push_back(c);
    }
    while (pos < line.size() && line[pos] == ' ') ++pos;
    if (count_ < kMaxWords) ++count_;
  }
  used_ = count_;
}

bool CommandLine::matchWord(std::size_t i, std::string_view literal) {
  if (!hasWord(i)) return false;
  std::string& w = words_[i];
  for (char& c : w) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return equalsIgnoringCase(w, literal);
}

std::size_t CommandLine::findOption(std::string_view prefix) const {
  for (std::size_t i = 1; i < kMaxWords && hasWord(i); ++i) {
    if (std::string_view(words_[i]).substr(0, prefix.size()) == prefix) return i;
  }
  return 0;
}

std::string_view CommandLine::optionValue(std::string_view prefix) const {
  const std::size_t i = findOption(prefix);
  if (i == 0) return {};
  return std::string_view(words_[i]).substr(prefix.size());
}

bool CommandLine::wantsHelp() const {
  return hasWord(1) && (equalsIgnoringCase(words_[1], "/?") || equalsIgnoringCase(words_[1], "/help") ||
                        words_[1] == "--help" || words_[1] == "-h");
}

long CommandLine::number(std::size_t i) const { return hasWord(i) ? leadingInteger(words_[i]) : 0; }

}  // namespace kestrova

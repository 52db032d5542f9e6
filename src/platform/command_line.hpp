#pragma once
// The words of the current command line and the only operations handlers read them with.
#include <array>
#include <string>
#include <string_view>

namespace kestrova {

class CommandLine {
 public:
  static constexpr std::size_t kMaxLine = 255;
  static constexpr std::size_t kMaxWords = 500;
  static constexpr std::size_t kMaxWordLength = 199;

  // Splits a line into words: blanks separate words, double quotes group blanks into a word and
  // are dropped, a leading blank gives an empty word 0. Words beyond 500 and characters beyond
  // 199 in a word are dropped.
  void split(std::string_view line);

  // Word i is present and equals the literal without regard to case; lower-cases word i in place.
  bool matchWord(std::size_t i, std::string_view literal);
  bool hasWord(std::size_t i) const { return i < kMaxWords && !words_[i].empty(); }
  // Index of the first word from 1 on (up to the first absent one) that begins with the prefix,
  // case-sensitively; 0 when none.
  std::size_t findOption(std::string_view prefix) const;
  // The rest of the option's word after the prefix, or an empty text.
  std::string_view optionValue(std::string_view prefix) const;
  // Word 1 asks for help: "/?" or "/help" in any case, "--help" or "-h".
  bool wantsHelp() const;

  const std::string& word(std::size_t i) const { return words_[i < kMaxWords ? i : 0]; }
  // Word i read as a decimal integer by its leading digits (0 when absent).
  long number(std::size_t i) const;

  std::string& raw() { return raw_; }
  const std::string& raw() const { return raw_; }

 private:
  std::string raw_;
  std::array<std::string, kMaxWords> words_;
  std::size_t count_ = 0;
  std::size_t used_ = 0;  // slots that may hold text, so clearing stays cheap
};

}  // namespace kestrova

#include "commands/criteria.hpp"

#include <algorithm>
#include <cctype>
#include <limits>

#include "pgn/tag_table.hpp"
#include "platform/command_line.hpp"
#include "platform/console.hpp"
#include "platform/numbers.hpp"

namespace kestrova {

namespace {

constexpr std::size_t kMaxDateField = 19;

std::string_view upToNewline(std::string_view text) { return text.substr(0, text.find('\n')); }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool containsIgnoringCase(std::string_view text, std::string_view needle) {
  if (needle.size() > text.size()) return false;
  for (std::size_t at = 0; at + needle.size() <= text.size(); ++at) {
    std::size_t k = 0;
    while (k < needle.size() && lowerAscii(text[at + k]) == lowerAscii(needle[k])) ++k;
    if (k == needle.size()) return true;
  }
  return false;
}

// The number a value of its class compares by (texts have none).
std::uint64_t comparedNumber(std::string_view text, int valueClass) {
  if (valueClass == criterion::kDate) return parseDateValue(text);
  if (valueClass == criterion::kNumber) return numberValue(text);
  return 0;
}

}  // namespace

CriterionWord splitCriterionWord(std::string_view word) {
  static constexpr struct {
    char symbol;
    int op;
  } kOperators[] = {{'>', criterion::kGreater}, {'<', criterion::kLess}, {'=', criterion::kEqual}};
  for (const auto& candidate : kOperators) {
    const std::size_t at = word.find(candidate.symbol);
    if (at != std::string_view::npos) return {candidate.op, word.substr(0, at), word.substr(at + 1)};
  }
  return {};
}

int classifyValue(std::string_view text) {
  text = upToNewline(text);
  int separators = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.' || c == '/' || (c == '-' && i == 0)) ++separators;
    else if (!isDigit(c) && c != '?') return criterion::kText;
  }
  return separators == 2 ? criterion::kDate : criterion::kNumber;
}

std::uint64_t parseDateValue(std::string_view text) {
  text = upToNewline(text);
  std::uint64_t fields[3] = {0, 0, 0};
  int field = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '.' && text[i] != '/' && text[i] != '-') continue;
    // Unsigned arithmetic: an absurdly long field wraps instead of overflowing.
    fields[std::min(field, 2)] = leadingUnsigned64(text.substr(start, std::min(i - start, kMaxDateField)));
    ++field;
    start = i + 1;
  }
  return (fields[0] * 100 + fields[1]) * 100 + fields[2];
}

std::uint32_t numberValue(std::string_view text) {
  const long value = leadingInteger(upToNewline(text));
  constexpr long kMax = std::numeric_limits<std::uint32_t>::max();
  // Negative values wrap as unsigned 32-bit values do; values beyond 32 bits stay the largest.
  return static_cast<std::uint32_t>(std::min(value, kMax));
}

SelectionCriterion makeCriterion(const CriterionWord& word) {
  SelectionCriterion criterion;
  criterion.tag = TagTable::lookupName(word.name);
  criterion.op = word.op;
  criterion.value.assign(word.value);
  criterion.valueClass = classifyValue(criterion.value);
  criterion.valueNumber = comparedNumber(criterion.value, criterion.valueClass);
  return criterion;
}

bool matchCriterion(const SelectionCriterion& criterion, const TagTable& tags, Console& console) {
  const std::string_view value = tags.value(criterion.tag);
  const int valueClass = classifyValue(value);
  if (valueClass != criterion.valueClass) {
    console.writeText("> bad data format specified in selection's criteria\n", colour::kError);
    return false;
  }
  if (valueClass == criterion::kText) {
    return criterion.op == criterion::kEqual && containsIgnoringCase(value, upToNewline(criterion.value));
  }
  const std::uint64_t number = comparedNumber(value, valueClass);
  switch (criterion.op) {
    case criterion::kLess: return number < criterion.valueNumber;
    case criterion::kEqual: return number == criterion.valueNumber;
    case criterion::kGreater: return number > criterion.valueNumber;
    default: return false;
  }
}

Selection::Status parseSelection(CommandLine& line, Selection& selection) {
  selection = Selection{};
  for (std::size_t i = 1; line.hasWord(i); ++i) {
    if (line.word(i).starts_with("-out=")) continue;
    // Criterion words are read before matchWord, which lower-cases the words it compares.
    if (const CriterionWord word = splitCriterionWord(line.word(i)); word.op != criterion::kNoOperator) {
      if (!selection.hasFirst) {
        selection.first = makeCriterion(word);
        selection.hasFirst = true;
      } else {
        selection.second = makeCriterion(word);
        selection.hasSecond = true;
      }
    } else if (line.matchWord(i, "and")) {
      selection.connective = Selection::kAnd;
    } else if (line.matchWord(i, "or")) {
      selection.connective = Selection::kOr;
    }
  }
  if (!selection.hasFirst) return Selection::kNoCriterion;
  if (selection.first.tag < 0 || (selection.hasSecond && selection.second.tag < 0)) return Selection::kUnknownTag;
  if ((selection.connective != Selection::kNone) != selection.hasSecond) return Selection::kUnpairedConnective;
  return Selection::kValid;
}

bool isSelected(const Selection& selection, const TagTable& tags, Console& console) {
  switch (selection.connective) {
    case Selection::kAnd:
      return matchCriterion(selection.first, tags, console) && matchCriterion(selection.second, tags, console);
    case Selection::kOr:
      return matchCriterion(selection.first, tags, console) || matchCriterion(selection.second, tags, console);
    default: return matchCriterion(selection.first, tags, console);
  }
}

}  // namespace kestrova

#pragma once
// Selection criteria: a tag name, an operator and a value in one command word, and how the value
// of a game's tag is compared with one or two of them.
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrova {

class CommandLine;
class Console;
class TagTable;

namespace criterion {
// Operator codes.
constexpr int kNoOperator = 0;
constexpr int kLess = 1;
constexpr int kEqual = 2;
constexpr int kGreater = 3;
// Value classes.
constexpr int kText = 1;
constexpr int kDate = 2;
constexpr int kNumber = 3;
}  // namespace criterion

// A command word cut at its operator: the first of ">", "<", "=" the word contains, tried in that
// order (so WhiteElo>=2800 is ">" with the value "=2800"). kNoOperator when it has none.
struct CriterionWord {
  int op = criterion::kNoOperator;
  std::string_view name;
  std::string_view value;
};
CriterionWord splitCriterionWord(std::string_view word);

// Text, date or number, judged on the text up to its end or a newline: any character other than a
// digit, "?", ".", "/" or a leading "-" makes a text; exactly two separators ("." or "/", a leading
// "-" counting as one) make a date; anything else (also an empty text) is a number.
int classifyValue(std::string_view text);

// The date's fields cut at ".", "/" and "-", each read by its leading digits ("?" reads 0), as
// (a * 100 + b) * 100 + c, so that year.month.day dates order chronologically.
std::uint64_t parseDateValue(std::string_view text);

// A number's leading decimal integer, compared as an unsigned 32-bit value.
std::uint32_t numberValue(std::string_view text);

struct SelectionCriterion {
  int tag = -1;  // tag-table index, -1 for a name the commands do not know
  int op = criterion::kNoOperator;
  std::string value;
  // The value's class and its number (or date number), worked out once for all games.
  int valueClass = criterion::kNumber;
  std::uint64_t valueNumber = 0;
};
SelectionCriterion makeCriterion(const CriterionWord& word);

// Whether the game's tag value satisfies the criterion. Values of different classes print
// "> bad data format specified in selection's criteria" and do not match.
bool matchCriterion(const SelectionCriterion& criterion, const TagTable& tags, Console& console);

// One or two criteria, joined by "and" or "or", as select and delete read them.
struct Selection {
  enum Connective { kNone, kAnd, kOr };
  enum Status { kValid, kNoCriterion, kUnknownTag, kUnpairedConnective };

  SelectionCriterion first;
  SelectionCriterion second;
  bool hasFirst = false;
  bool hasSecond = false;
  Connective connective = kNone;
};

// Reads the criteria and connective from the command words ("-out=" words aside): the first
// criterion word is the first criterion, every later one the second; the last "and" or "or"
// counts. kValid only for one criterion without a connective, or two with one, all of known tags.
Selection::Status parseSelection(CommandLine& line, Selection& selection);

// The selection rule for the game's tags; with "or" the second criterion is only tried when the
// first fails, with "and" only when the first matches.
bool isSelected(const Selection& selection, const TagTable& tags, Console& console);

}  // namespace kestrova

#include "commands/criteria.hpp"

#include <gtest/gtest.h>

#include "pgn/tag_table.hpp"
#include "shell/command_line.hpp"
#include "shell/console.hpp"

namespace kestrova {
namespace {

using namespace criterion;

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

const std::string kBadFormat = "> bad data format specified in selection's criteria\n";

struct SplitCase {
  const char* word;
  int op;
  const char* name;
  const char* value;
};

TEST(CriterionWords, OperatorIsTheFirstOfGreaterLessEqualTheWordContains) {
  const SplitCase cases[] = {
      {"WhiteElo>2800", kGreater, "WhiteElo", "2800"},
      {"Round<5", kLess, "Round", "5"},
      {"Event=blitz", kEqual, "Event", "blitz"},
      {"WhiteElo>=2800", kGreater, "WhiteElo", "=2800"},  // ">" found first: the value keeps the "="
      {"Event=a<b", kLess, "Event=a", "b"},                // "<" is tried before "="
      {"Event=x=y", kEqual, "Event", "x=y"},               // cut at the first occurrence
      {"Site=", kEqual, "Site", ""},
  };
  for (const SplitCase& c : cases) {
    const CriterionWord word = splitCriterionWord(c.word);
    EXPECT_EQ(word.op, c.op) << c.word;
    EXPECT_EQ(word.name, c.name) << c.word;
    EXPECT_EQ(word.value, c.value) << c.word;
  }
  EXPECT_EQ(splitCriterionWord("and").op, kNoOperator);
  EXPECT_EQ(splitCriterionWord("").op, kNoOperator);
}

TEST(CriterionValues, ClassesByCharactersAndSeparators) {
  const std::pair<const char*, int> cases[] = {
      {"2800", kNumber},        {"", kNumber},           {"4.1", kNumber},     {"-5", kNumber},
      {"?", kNumber},           {"1.2.3.4", kNumber},    {"2010.01.01", kDate}, {"????.??.??", kDate},
      {"2010/1/2", kDate},      {"-5.3", kDate},         {"1-0", kText},       {"1/2-1/2", kText},
      {"=2800", kText},         {"blitz", kText},        {"2800 ", kText},     {"2010.01.01\nx", kDate},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(classifyValue(text), expected) << '"' << text << '"';
}

TEST(CriterionValues, DateNumbers) {
  EXPECT_EQ(parseDateValue("2010.01.01"), 20100101u);
  EXPECT_EQ(parseDateValue("????.??.??"), 0u);
  EXPECT_EQ(parseDateValue("2010.??.??"), 20100000u);
  EXPECT_EQ(parseDateValue("2010/1/2"), 20100102u);
  EXPECT_EQ(parseDateValue("2010.12.31.5"), 20101205u) << "a fourth field overwrites the third";
  EXPECT_EQ(parseDateValue("-2010.01"), 201001u) << "a leading '-' opens an empty first field";
  EXPECT_LT(parseDateValue("2009.12.31"), parseDateValue("2010.01.01"));
  // A field longer than 19 characters is read from its first 19 ("0000000000000000001").
  EXPECT_EQ(parseDateValue("00000000000000000012345.1.1"), 10101u);
}

TEST(CriterionValues, NumbersAreLeadingIntegersAsUnsigned32Bits) {
  EXPECT_EQ(numberValue("4.1"), 4u);
  EXPECT_EQ(numberValue("2850"), 2850u);
  EXPECT_EQ(numberValue(""), 0u);
  EXPECT_EQ(numberValue("-1"), 4294967295u);
  EXPECT_EQ(numberValue("99999999999"), 4294967295u);
}

class Matching : public ::testing::Test {
 protected:
  bool match(int tag, const std::string& value, const std::string& word) {
    tags.setValue(tag, value);
    return matchCriterion(makeCriterion(splitCriterionWord(word)), tags, console);
  }
  TagTable tags;
  Console console = Console::capturing();
};

TEST_F(Matching, TextValuesMatchByContainmentWithoutCase) {
  EXPECT_TRUE(match(kTagEvent, "Blitz Cup", "Event=blitz"));
  EXPECT_TRUE(match(kTagEvent, "open blitz", "Event=BLITZ"));
  EXPECT_FALSE(match(kTagEvent, "Rapid", "Event=blitz"));
  EXPECT_FALSE(match(kTagEvent, "Blitz", "Event<zzz")) << "texts have no order";
  EXPECT_FALSE(match(kTagEvent, "Blitz", "Event>a"));
  EXPECT_TRUE(match(kTagResult, "1-0", "Result=1-0")) << "a '-' after the first character makes a text";
  EXPECT_FALSE(match(kTagResult, "1/2-1/2", "Result=1-0"));
  EXPECT_EQ(console.takeCaptured(), "");
}

TEST_F(Matching, NumbersAndDatesCompareByValue) {
  EXPECT_TRUE(match(kTagRound, "4.1", "Round<5")) << "4.1 is a number with one separator: 4";
  EXPECT_FALSE(match(kTagRound, "5", "Round<5"));
  EXPECT_TRUE(match(kTagRound, "5", "Round=5"));
  EXPECT_TRUE(match(kTagWhiteElo, "2850", "WhiteElo>2800"));
  EXPECT_FALSE(match(kTagWhiteElo, "2800", "WhiteElo>2800"));
  EXPECT_FALSE(match(kTagWhiteElo, "", "WhiteElo>2800")) << "an empty value is the number 0";
  EXPECT_TRUE(match(kTagDate, "2009.12.31", "Date<2010.01.01"));
  EXPECT_TRUE(match(kTagDate, "????.??.??", "Date<2010.01.01")) << "question marks: the date 0";
  EXPECT_FALSE(match(kTagDate, "2010.01.01", "Date<2010.01.01"));
  EXPECT_TRUE(match(kTagDate, "2010/01/01", "Date=2010.01.01"));
  EXPECT_TRUE(match(kTagDate, "2011.02.03", "Date>2010.12.31"));
  EXPECT_EQ(console.takeCaptured(), "");
}

TEST_F(Matching, DifferentClassesGiveTheBadFormatMessageAndNoMatch) {
  EXPECT_FALSE(match(kTagWhiteElo, "2850", "WhiteElo>=2800"));
  EXPECT_FALSE(match(kTagWhiteElo, "", "WhiteElo>=2800"));
  EXPECT_FALSE(match(kTagDate, "2010", "Date<2010.01.01"));
  EXPECT_FALSE(match(kTagEvent, "Blitz", "Event=5"));
  EXPECT_EQ(count(console.takeCaptured(), kBadFormat), 4);
}

class SelectionParsing : public ::testing::Test {
 protected:
  Selection::Status parse(const std::string& text) {
    line.split(text);
    return parseSelection(line, selection);
  }
  CommandLine line;
  Selection selection;
};

TEST_F(SelectionParsing, OneCriterionOrTwoWithAConnective) {
  EXPECT_EQ(parse("select WhiteElo>2800"), Selection::kValid);
  EXPECT_EQ(selection.connective, Selection::kNone);
  EXPECT_EQ(selection.first.tag, kTagWhiteElo);
  EXPECT_EQ(selection.first.op, kGreater);
  EXPECT_EQ(selection.first.valueNumber, 2800u);

  EXPECT_EQ(parse("select WhiteElo>2800 OR blackelo>2700 -out=top.pgn"), Selection::kValid);
  EXPECT_EQ(selection.connective, Selection::kOr);
  EXPECT_EQ(selection.second.tag, kTagBlackElo);

  EXPECT_EQ(parse("select Event=Blitz and Round<5 or"), Selection::kValid) << "the last connective counts";
  EXPECT_EQ(selection.connective, Selection::kOr);
  EXPECT_EQ(selection.first.value, "Blitz") << "criterion words keep their case";

  EXPECT_EQ(parse("select Event=a and Round<5 Date>2000.01.01"), Selection::kValid);
  EXPECT_EQ(selection.second.tag, kTagDate) << "a third criterion replaces the second";
}

TEST_F(SelectionParsing, InvalidCombinations) {
  EXPECT_EQ(parse("select and"), Selection::kNoCriterion);
  EXPECT_EQ(parse("select -out=x.pgn"), Selection::kNoCriterion);
  EXPECT_EQ(parse("select Foo>3"), Selection::kUnknownTag);
  EXPECT_EQ(parse("select Round<3 or Foo>3"), Selection::kUnknownTag);
  EXPECT_EQ(parse("select WhiteElo>1 and"), Selection::kUnpairedConnective);
  EXPECT_EQ(parse("select WhiteElo>1 BlackElo>2"), Selection::kUnpairedConnective);
}

TEST_F(SelectionParsing, OrTriesTheSecondOnlyWhenTheFirstFails) {
  TagTable tags;
  Console console = Console::capturing();
  ASSERT_EQ(parse("select WhiteElo>2800 or Event=x"), Selection::kValid);
  tags.setValue(kTagEvent, "");  // a number: the second criterion would complain
  tags.setValue(kTagWhiteElo, "2900");
  EXPECT_TRUE(isSelected(selection, tags, console));
  EXPECT_EQ(console.takeCaptured(), "");
  tags.setValue(kTagWhiteElo, "2700");
  EXPECT_FALSE(isSelected(selection, tags, console));
  EXPECT_EQ(console.takeCaptured(), kBadFormat);

  ASSERT_EQ(parse("select WhiteElo>2800 and BlackElo>2800"), Selection::kValid);
  tags.setValue(kTagBlackElo, "2900");
  EXPECT_FALSE(isSelected(selection, tags, console));
  tags.setValue(kTagWhiteElo, "2801");
  EXPECT_TRUE(isSelected(selection, tags, console));
}

}  // namespace
}  // namespace kestrova

#include "commands/criteria.hpp"

#include <gtest/gtest.h>

#include "pgn/tag_table.hpp"
#include "platform/command_line.hpp"
#include "platform/console.hpp"

namespace kestrova {
namespace {

using namespace criterion;

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

const std::string kBadFormat = "> bad data format specified in selection's criteria\n";

TEST(CriterionWords, OperatorIsTheFirstOfGreaterLessEqualTheWordContains) {
  const struct {
    const char *word;
    int op;
    const char *name, *value;
  } cases[] = {
      {"WhiteElo>2800", kGreater, "WhiteElo", "2800"},
      {"Round<5", kLess, "Round", "5"},
      {"Event=blitz", kEqual, "Event", "blitz"},
      {"WhiteElo>=2800", kGreater, "WhiteElo", "=2800"},  // ">" found first: the value keeps the "="
      {"Event=a<b", kLess, "Event=a", "b"},                // "<" is tried before "="
      {"Event=x=y", kEqual, "Event", "x=y"},               // cut at the first occurrence
      {"Site=", kEqual, "Site", ""},
  };
  for (const auto& c : cases) {
    const CriterionWord word = splitCriterionWord(c.word);
    EXPECT_EQ(word.op, c.op) << c.word;
    EXPECT_EQ(word.name, c.name) << c.word;
    EXPECT_EQ(word.value, c.value) << c.word;
  }
  for (const char* none : {"and", ""}) EXPECT_EQ(splitCriterionWord(none).op, kNoOperator);
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

TEST(CriterionValues, DatesAndNumbers) {
  const std::pair<const char*, std::uint32_t> dates[] = {
      {"2010.01.01", 20100101u}, {"????.??.??", 0u}, {"2010.??.??", 20100000u}, {"2010/1/2", 20100102u},
      {"2010.12.31.5", 20101205u},  // a fourth field overwrites the third
      {"-2010.01", 201001u},        // a leading '-' opens an empty first field
      {"00000000000000000012345.1.1", 10101u},  // a field is read from its first 19 characters
  };
  for (const auto& [text, value] : dates) EXPECT_EQ(parseDateValue(text), value) << text;
  const std::pair<const char*, std::uint32_t> numbers[] = {
      {"4.1", 4u}, {"2850", 2850u}, {"", 0u}, {"-1", 4294967295u}, {"99999999999", 4294967295u}};
  for (const auto& [text, value] : numbers) EXPECT_EQ(numberValue(text), value) << text;
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

TEST_F(Matching, TextsByContainmentWithoutCaseNumbersAndDatesByValue) {
  const struct {
    int tag;
    const char *value, *word;
    bool matches;
  } cases[] = {
      {kTagEvent, "Blitz Cup", "Event=blitz", true},   {kTagEvent, "open blitz", "Event=BLITZ", true},
      {kTagEvent, "Rapid", "Event=blitz", false},      {kTagEvent, "Blitz", "Event<zzz", false},  // no order
      {kTagEvent, "Blitz", "Event>a", false},          {kTagResult, "1-0", "Result=1-0", true},
      {kTagResult, "1/2-1/2", "Result=1-0", false},    {kTagRound, "4.1", "Round<5", true},
      {kTagRound, "5", "Round<5", false},              {kTagRound, "5", "Round=5", true},
      {kTagWhiteElo, "2850", "WhiteElo>2800", true},   {kTagWhiteElo, "2800", "WhiteElo>2800", false},
      {kTagWhiteElo, "", "WhiteElo>2800", false},      // an empty value is the number 0
      {kTagDate, "2009.12.31", "Date<2010.01.01", true}, {kTagDate, "????.??.??", "Date<2010.01.01", true},
      {kTagDate, "2010.01.01", "Date<2010.01.01", false}, {kTagDate, "2010/01/01", "Date=2010.01.01", true},
      {kTagDate, "2011.02.03", "Date>2010.12.31", true},
  };
  for (const auto& c : cases) EXPECT_EQ(match(c.tag, c.value, c.word), c.matches) << c.value << " " << c.word;
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
  const std::pair<const char*, Selection::Status> cases[] = {
      {"select and", Selection::kNoCriterion},         {"select -out=x.pgn", Selection::kNoCriterion},
      {"select Foo>3", Selection::kUnknownTag},        {"select Round<3 or Foo>3", Selection::kUnknownTag},
      {"select WhiteElo>1 and", Selection::kUnpairedConnective},
      {"select WhiteElo>1 BlackElo>2", Selection::kUnpairedConnective}};
  for (const auto& [text, status] : cases) EXPECT_EQ(parse(text), status) << text;
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

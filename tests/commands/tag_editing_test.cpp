#include "commands/tag_editing.hpp"

#include <gtest/gtest.h>

#include <string>

#include "pgn/tag_table.hpp"

namespace kestrova {
namespace {

struct InsertCase {
  const char* value;
  long position;
  const char* text;
  bool done;
  const char* result;
};

TEST(TagTextInsertion, InsideTheValueAndUpToThirtyCharacters) {
  const std::string v28(28, 'e'), v29(29, 'e');
  const std::string xy28 = "XY" + v28;
  const InsertCase cases[] = {
      {"Match", 0, "XY", true, "XYMatch"},
      {"Match", 1, "XY", true, "MXYatch"},
      {"Match", 4, "XY", true, "MatcXYh"},
      {"Match", 5, "XY", false, "Match"},  // not after the last character
      {"", 0, "XY", false, ""},            // nor into an empty value
      {"Match", -1, "XY", false, "Match"},
      {v28.c_str(), 0, "XY", true, xy28.c_str()},  // 30 characters: the limit
      {v29.c_str(), 0, "XY", false, v29.c_str()},
      {"Match", 2, "", true, "Match"},
  };
  for (const InsertCase& c : cases) {
    TagTable tags;
    tags.setValue(kTagEvent, c.value);
    EXPECT_EQ(insertTagText(tags, kTagEvent, c.position, c.text), c.done) << c.value << " at " << c.position;
    EXPECT_EQ(tags.value(kTagEvent), c.result) << c.value << " at " << c.position;
  }
}

std::string cased(const std::string& value, bool initialsOnly, int direction) {
  TagTable tags;
  tags.setValue(kTagWhite, value);
  if (initialsOnly) setWordInitials(tags, kTagWhite, direction);
  else setTagCase(tags, kTagWhite, direction);
  return tags.value(kTagWhite);
}

TEST(TagLetterCase, WholeValue) {
  EXPECT_EQ(cased("stockfish 5 64", false, +1), "STOCKFISH 5 64");
  EXPECT_EQ(cased("Stockfish 5 64", false, -1), "stockfish 5 64");
  EXPECT_EQ(cased("M\xc3\xbcller", false, +1), "M\xc3\xbcLLER") << "bytes of UTF-8 characters stay";
}

TEST(TagLetterCase, FirstLetterOfEachWord) {
  EXPECT_EQ(cased("stockfish 5 64", true, +1), "Stockfish 5 64");
  EXPECT_EQ(cased("jean-luc o'neil,anna.b;c  d", true, +1), "Jean-Luc O'neil,Anna.B;C  D");
  EXPECT_EQ(cased("Deep Blue-Team", true, -1), "deep blue-team");
  EXPECT_EQ(cased("ABC DEF", true, -1), "aBC dEF") << "only the initials change";
  EXPECT_EQ(cased("1st place", true, +1), "1st Place") << "an initial that is no letter stays";
}

}  // namespace
}  // namespace kestrova

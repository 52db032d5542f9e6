#pragma once
// Commands run on a PGN file of a scratch directory, and the games they write.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "support/test_app.hpp"
#include "support/text.hpp"

namespace kestrova::test {

using Texts = std::vector<std::string>;

// A game in the writer's form: the moves are "1.e4 e5 " (each followed by a blank) or empty.
inline std::string game(const std::string& event, const std::string& result, const std::string& moves) {
  return "[Event \"" + event + "\"]\n[Result \"" + result + "\"]\n\n" + moves + result + "\n\n";
}

// The values of one tag in the games of a PGN text, in file order.
inline Texts tagValues(const std::string& text, const std::string& tag) {
  Texts values;
  const std::regex line("\\[" + tag + " \"([^\"]*)\"\\]");
  for (std::sregex_iterator it(text.begin(), text.end(), line), end; it != end; ++it) values.push_back((*it)[1]);
  return values;
}

class CommandTest : public ::testing::Test {
 protected:
  // Opens the text as "games.pgn"; the games are written with Event, Result and the tags given.
  void open(const std::string& text, std::initializer_list<int> moreTags = {}) {
    for (int tag : {kTagEvent, kTagResult}) app->game.tags.setOutputEnabled(tag, true);
    for (int tag : moreTags) app->game.tags.setOutputEnabled(tag, true);
    dir.write("games.pgn", text);
    ASSERT_TRUE(app->pgn.open("games.pgn"));
  }
  std::string run(const std::string& line) { return test::run(*app, line); }
  std::string output(const std::string& name = "pgn-out.pgn") const { return dir.read(name); }

  ScratchDir dir;
  std::unique_ptr<App> app = makeApp();
};

}  // namespace kestrova::test

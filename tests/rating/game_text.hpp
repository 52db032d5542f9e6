#pragma once
// Small PGN texts for the rating, tournament and scan tests: one short game per call.
#include <string>

namespace kestrova::test {

struct GameTags {
  std::string white, black, result;  // result: "1-0", "0-1", "1/2-1/2", "*"...
  std::string event = "Test";
  int round = 1;
  std::string date = "2024.01.01", eventDate = "";
};

inline std::string gameText(const GameTags& t) {
  return "[Event \"" + t.event + "\"]\n[Site \"Lab\"]\n[Date \"" + t.date + "\"]\n[Round \"" + std::to_string(t.round) +
         "\"]\n[White \"" + t.white + "\"]\n[Black \"" + t.black + "\"]\n[Result \"" + t.result + "\"]\n" +
         (t.eventDate.empty() ? "" : "[EventDate \"" + t.eventDate + "\"]\n") + "\n1. e4 e5 2. Nf3 Nc6 " + t.result +
         "\n\n";
}

// `count` games of white against black with one result.
inline std::string games(int count, const std::string& white, const std::string& black, const std::string& result) {
  std::string text;
  for (int i = 0; i < count; ++i) text += gameText({white, black, result});
  return text;
}

}  // namespace kestrova::test

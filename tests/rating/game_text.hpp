#pragma once
// Small PGN texts for the rating and tournament tests: one short game per call.
#include <string>
#include <utility>

namespace kestrova::test {

struct GameTags {
  GameTags(std::string white, std::string black, std::string result, std::string event = "Test", int round = 1,
           std::string date = "2024.01.01", std::string eventDate = "")
      : white(std::move(white)), black(std::move(black)), result(std::move(result)), event(std::move(event)),
        round(round), date(std::move(date)), eventDate(std::move(eventDate)) {}

  std::string white;
  std::string black;
  std::string result;  // "1-0", "0-1", "1/2-1/2", "*"...
  std::string event;
  int round;
  std::string date;
  std::string eventDate;
};

inline std::string gameText(const GameTags& tags) {
  std::string text = "[Event \"" + tags.event + "\"]\n[Site \"Lab\"]\n[Date \"" + tags.date + "\"]\n[Round \"" +
                     std::to_string(tags.round) + "\"]\n[White \"" + tags.white + "\"]\n[Black \"" + tags.black +
                     "\"]\n[Result \"" + tags.result + "\"]\n";
  if (!tags.eventDate.empty()) text += "[EventDate \"" + tags.eventDate + "\"]\n";
  return text + "\n1. e4 e5 2. Nf3 Nc6 " + tags.result + "\n\n";
}

// `count` games of white against black with one result, all in one round.
inline std::string games(int count, const std::string& white, const std::string& black, const std::string& result,
                         const std::string& event = "Test", int round = 1) {
  std::string text;
  for (int i = 0; i < count; ++i) text += gameText({white, black, result, event, round});
  return text;
}

}  // namespace kestrova::test

#include "scan/synthesis_html.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "pgn/game.hpp"
#include "pgn/game_loop.hpp"
#include "pgn/pgn_file.hpp"
#include "pgn/tag_table.hpp"
#include "platform/console.hpp"
#include "platform/line_reader.hpp"
#include "platform/output_file.hpp"
#include "platform/text_width.hpp"
#include "rating/rating_computation.hpp"
#include "rating/rating_repository.hpp"

namespace kestrova {

namespace {

constexpr std::size_t kLineLimit = 8000;

// The chart's frame in pixels: the plot lies inside the margins.
constexpr int kWidth = 640, kHeight = 180, kLeft = 40, kRight = 10, kTop = 10, kBottom = 20;
constexpr int kPlotWidth = kWidth - kLeft - kRight, kPlotHeight = kHeight - kTop - kBottom;
constexpr int kEvaluationRange = 500;  // centipawns at the top and bottom edges; beyond, the edge

void writeEscaped(platform::OutputFile& out, std::string_view text) {
  std::string escaped;
  platform::appendHtmlEscaped(escaped, text);
  out.write(escaped);
}

// A text file as preformatted text; false when it cannot be opened.
bool writeFileAsText(platform::OutputFile& out, std::string_view path) {
  platform::LineReader reader;
  if (!reader.open(std::string(path))) return false;
  out.write("<pre>");
  std::string line;
  while (reader.read(line, kLineLimit)) writeEscaped(out, line);
  out.write("</pre>\n");
  return true;
}

// One line of the scan's log: "N: [w] Rule (value) before 33...Kb7   [White-Black, 1-0]".
struct Report {
  std::uint32_t game = 0;  // 0 for a line that names no game
  std::string text;
  int moveNumber = 0;  // of the half-move the report names; 0 when it names none
  bool black = false;
};

Report parseReport(std::string line) {
  Report report;
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  std::size_t at = 0;
  while (at < line.size() && line[at] >= '0' && line[at] <= '9') {
    report.game = report.game * 10 + static_cast<std::uint32_t>(line[at++] - '0');
  }
  if (at == 0 || at >= line.size() || line[at] != ':') report.game = 0;
  for (const char* word : {" before ", " after "}) {
    const std::size_t found = line.find(word);
    if (found == std::string::npos) continue;
    std::size_t digit = found + std::char_traits<char>::length(word);
    int number = 0;
    while (digit < line.size() && line[digit] >= '0' && line[digit] <= '9') number = number * 10 + (line[digit++] - '0');
    if (number == 0 || digit >= line.size() || line[digit] != '.') continue;
    report.moveNumber = number;
    report.black = line.compare(digit, 3, "...") == 0;
    break;
  }
  report.text = std::move(line);
  return report;
}

// Polyline points, one per half-move that has the value.
template <typename Value, typename Has>
std::string points(const Game& game, int first, int last, Value value, Has has) {
  std::string text;
  char point[32];
  for (int ply = first; ply <= last; ++ply) {
    if (!has(game.plies[ply])) continue;
    const int x = kLeft + (last == first ? 0 : (ply - first) * kPlotWidth / (last - first));
    std::snprintf(point, sizeof point, "%d,%d ", x, value(ply, game.plies[ply]));
    text += point;
  }
  return text;
}

// Each rated player of a cluster as a dot at the rating with a bar of its 95% error; an error
// without bound runs to the chart's edge.
void writeRatingChart(const RatingRepository& ratings, int cluster, platform::OutputFile& out) {
  constexpr int kNameWidth = 200, kRow = 20, kRight = 620;
  std::vector<const PlayerRating*> players;
  double low = 1e9, high = -1e9;
  for (std::uint32_t p : ratings.playerList()) {  // in the rating list's order
    const PlayerRating& player = ratings.player(p);
    if (player.cluster != cluster || player.countedGames == 0) continue;
    players.push_back(&player);
    const double error = playerEstimate(player).error95;
    const double reach = std::isfinite(error) ? error : 0.0;
    low = std::min(low, player.rating - reach - 50);
    high = std::max(high, player.rating + reach + 50);
  }
  if (players.empty()) return;
  const int height = kRow * static_cast<int>(players.size()) + 30;
  auto x = [&](double rating) {
    return kNameWidth + static_cast<int>((std::clamp(rating, low, high) - low) * (kRight - kNameWidth) / (high - low));
  };
  out.print("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"640\" height=\"%d\" viewBox=\"0 0 640 %d\" role=\"img\">\n"
            "<title>Ratings of cluster %d with their 95%% error bars</title>\n",
            height, height, cluster);
  for (std::size_t k = 0; k < players.size(); ++k) {
    const PlayerRating& player = *players[k];
    const double error = playerEstimate(player).error95;
    const int y = kRow * static_cast<int>(k) + kRow;
    const double from = std::isfinite(error) ? player.rating - error : low, to = std::isfinite(error) ? player.rating + error : high;
    out.print("<text x=\"0\" y=\"%d\" font-size=\"12\">", y + 4);
    writeEscaped(out, player.name);
    out.print("</text>\n<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"#888\"/>\n", x(from), y, x(to), y);
    out.print("<circle cx=\"%d\" cy=\"%d\" r=\"4\" fill=\"#1f5fbf\"><title>", x(player.rating), y);
    writeEscaped(out, player.name);
    if (std::isfinite(error)) out.print(": %d +- %.0f</title></circle>\n", player.rating, error);
    else out.print(": %d, error without bound</title></circle>\n", player.rating);
  }
  out.print("<text x=\"%d\" y=\"%d\" font-size=\"10\">%.0f</text><text x=\"%d\" y=\"%d\" font-size=\"10\" "
            "text-anchor=\"end\">%.0f</text>\n</svg>\n",
            kNameWidth, height - 5, low, kRight, height - 5, high);
}

class PageWriter : public GameVisitor {
 public:
  PageWriter(const GameLoopParts& games, platform::LineReader& log, platform::OutputFile& out, GameLoop& loop)
      : games_(games), log_(log), out_(out), loop_(loop) {
    advance();
  }

  bool hasReports() const { return pending_.game != 0; }
  bool wants(std::uint32_t gameNumber) override { return gameNumber == pending_.game; }

  void onGame() override {
    const std::uint32_t number = pending_.game;
    reports_.clear();
    while (pending_.game == number) {
      reports_.push_back(std::move(pending_));
      advance();
    }
    writeGame(number);
    if (pending_.game == 0) loop_.stop();
  }

 private:
  // The next log line that names a game; game 0 at the end of the log.
  void advance() {
    std::string line;
    pending_ = Report{};
    while (log_.read(line, kLineLimit)) {
      pending_ = parseReport(line);
      if (pending_.game != 0) return;
    }
  }

  void writeGame(std::uint32_t number) {
    const Game& game = games_.game;
    out_.print("<section id=\"game-%u\">\n<h3>Game %u: ", number, number);
    writeEscaped(out_, game.tags.value(kTagWhite));
    out_.write(" - ");
    writeEscaped(out_, game.tags.value(kTagBlack));
    out_.write(", ");
    writeEscaped(out_, game.tags.value(kTagResult));
    out_.write("</h3>\n<ul>\n");
    for (std::size_t k = 0; k < reports_.size(); ++k) {
      const bool marked = plyOf(reports_[k]) != 0;
      out_.write("<li>");
      if (marked) out_.print("<a href=\"#g%u-r%zu\">", number, k + 1);
      writeEscaped(out_, reports_[k].text);
      out_.write(marked ? "</a></li>\n" : "</li>\n");
    }
    out_.write("</ul>\n");
    writeChart(number);
    out_.write("</section>\n");
  }

  // The half-move a report names in this game, or 0.
  int plyOf(const Report& report) const {
    const Game& game = games_.game;
    if (report.moveNumber == 0) return 0;
    const int ply = 2 * (report.moveNumber - game.firstMoveNumber + 1) - (report.black ? 0 : 1);
    return ply >= game.firstPly() && ply <= game.plyCount ? ply : 0;
  }

  void writeChart(std::uint32_t number) {
    const Game& game = games_.game;
    const int first = game.firstPly(), last = game.plyCount;
    if (last < first) return;
    int maxDepth = 1, maxTime = 1;
    for (int ply = first; ply <= last; ++ply) {
      maxDepth = std::max(maxDepth, game.plies[ply].depth);
      maxTime = std::max(maxTime, game.plies[ply].timeMs);
    }
    const int middle = kTop + kPlotHeight / 2, bottom = kTop + kPlotHeight;
    out_.print("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" viewBox=\"0 0 %d %d\" "
               "role=\"img\">\n<title>Game %u: evaluation, depth and time per half-move</title>\n",
               kWidth, kHeight, kWidth, kHeight, number);
    out_.print("<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"none\" stroke=\"#999\"/>\n", kLeft, kTop,
               kPlotWidth, kPlotHeight);
    out_.print("<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"#ccc\"/>\n", kLeft, middle, kLeft + kPlotWidth,
               middle);
    // The evaluation from White's side (odd half-moves are White's), the depth and the time each on
    // a scale of its own.
    const std::string evaluation = points(
        game, first, last,
        [&](int ply, const PlyRecord& r) {
          const int white = std::clamp(ply % 2 == 1 ? r.evaluation : -r.evaluation, -kEvaluationRange, kEvaluationRange);
          return middle - white * (kPlotHeight / 2) / kEvaluationRange;
        },
        [](const PlyRecord& r) { return r.evaluationPresent != 0; });
    const std::string depth = points(
        game, first, last, [&](int, const PlyRecord& r) { return bottom - r.depth * kPlotHeight / maxDepth; },
        [](const PlyRecord& r) { return r.depth > 0; });
    const std::string time = points(
        game, first, last,
        [&](int, const PlyRecord& r) {
          return bottom - static_cast<int>(static_cast<long long>(r.timeMs) * kPlotHeight / maxTime);
        },
        [](const PlyRecord& r) { return r.timeMs > 0; });
    out_.print("<polyline fill=\"none\" stroke=\"#888\" stroke-dasharray=\"3 2\" points=\"%s\"/>\n", depth.c_str());
    out_.print("<polyline fill=\"none\" stroke=\"#2a9d3c\" stroke-dasharray=\"1 2\" points=\"%s\"/>\n", time.c_str());
    out_.print("<polyline fill=\"none\" stroke=\"#1f5fbf\" stroke-width=\"1.5\" points=\"%s\"/>\n", evaluation.c_str());
    for (std::size_t k = 0; k < reports_.size(); ++k) {
      const int ply = plyOf(reports_[k]);
      if (ply == 0) continue;
      const int x = kLeft + (last == first ? 0 : (ply - first) * kPlotWidth / (last - first));
      out_.print("<line id=\"g%u-r%zu\" x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"#d62828\"><title>", number,
                 k + 1, x, kTop, x, bottom);
      writeEscaped(out_, reports_[k].text);
      out_.write("</title></line>\n");
    }
    out_.print("<text x=\"%d\" y=\"%d\" font-size=\"10\" fill=\"#1f5fbf\">evaluation for White, +-%d cp</text>\n",
               kLeft, kHeight - 5, kEvaluationRange);
    out_.print("<text x=\"%d\" y=\"%d\" font-size=\"10\" fill=\"#888\">depth (top %d)</text>\n", kLeft + 220,
               kHeight - 5, maxDepth);
    out_.print("<text x=\"%d\" y=\"%d\" font-size=\"10\" fill=\"#2a9d3c\">time (top %.1f s)</text>\n", kLeft + 330,
               kHeight - 5, maxTime / 1000.0);
    out_.write("</svg>\n");
  }

  const GameLoopParts& games_;
  platform::LineReader& log_;
  platform::OutputFile& out_;
  GameLoop& loop_;
  Report pending_;
  std::vector<Report> reports_;
};

}  // namespace

bool writeSynthesisHtml(const GameLoopParts& games, const RatingRepository& ratings, std::string_view tournamentsFile,
                        std::string_view ratingFile, std::string_view logFile, platform::OutputFile& out) {
  platform::LineReader log;
  if (!log.open(std::string(logFile))) {
    games.console.fail("\n> Kestrova can't read the log file\n");
    return false;
  }
  out.write("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>Kestrova synthesis</title>\n"
            "<style>body{font-family:sans-serif;margin:2em}pre{font-size:13px}svg{display:block;margin:0.5em 0 1.5em}"
            "</style>\n</head>\n<body>\n<h1>Synthesis of ");
  writeEscaped(out, games.pgn.name());
  out.write("</h1>\n<h2>Tournaments</h2>\n");
  if (!writeFileAsText(out, tournamentsFile)) {
    games.console.fail("\n> Kestrova can't read the file trnfound\n");
    return false;
  }
  if (!ratingFile.empty()) {
    out.write("<h2>Ratings</h2>\n");
    if (!writeFileAsText(out, ratingFile)) out.write("<p>No rating list.</p>\n");
    for (int cluster : ratings.clusters()) writeRatingChart(ratings, cluster, out);
  }
  out.write("<h2>Games the scan reported on</h2>\n");
  GameLoop loop(games, GameDepth::kReplay);
  PageWriter writer(games, log, out, loop);
  if (writer.hasReports()) loop.run(writer);
  out.write("</body>\n</html>\n");
  return true;
}

}  // namespace kestrova

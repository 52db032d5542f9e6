#include "tournament/tournament_writer.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <string>
#include <string_view>
#include <vector>

#include "platform/output_file.hpp"
#include "platform/text_width.hpp"
#include "rating/elo_statistics.hpp"
#include "rating/rating_repository.hpp"
#include "tournament/tournament_table.hpp"

namespace kestrova {

namespace {

constexpr std::string_view kHalfPoint = "\xC2\xBD";  // in UTF-8, as every text file is written

// What every part of one tournament's output reads.
struct TournamentView {
  const TournamentTable& table;
  const RatingRepository& repository;

  const std::string& name(int entry) const { return repository.player(table.entry(entry).player).name; }

  // Games per pairing: those of the winner against its first opponent.
  int gamesPerPairing() const {
    if (table.ranking().empty()) return 0;
    const TournamentPlayer& first = table.entry(table.ranking().front());
    return first.opponentCount > 0 ? static_cast<int>(first.opponents().front().results.size()) : 0;
  }

  int longestName() const {
    std::size_t longest = 0;
    for (int entry : table.ranking()) longest = std::max(longest, platform::textWidth(name(entry)));
    return static_cast<int>(longest);
  }

  // The gauntlet's evaluated player: the lowest-ranked one that met more than one opponent.
  int evaluatedPlayer() const {
    const std::span<const int> ranking = table.ranking();
    for (auto entry = ranking.rbegin(); entry != ranking.rend(); ++entry) {
      if (table.entry(*entry).opponentCount > 1) return *entry;
    }
    return -1;
  }

  // The results of one entry against another's player ("" when they did not meet).
  std::string results(int entry, int opponentEntry) const {
    std::string text;
    const TournamentOpponent* opponent = table.findOpponent(entry, table.entry(opponentEntry).player);
    if (opponent != nullptr) appendResults(text, *opponent);
    return text;
  }

  static void appendResults(std::string& text, const TournamentOpponent& opponent) {
    for (const TournamentResult& result : opponent.results) {
      if (result.score == 50) text += kHalfPoint;
      else text += result.score == 100 ? '1' : '0';
    }
  }
};

// "3.5" or "3": whole points and the half point.
std::string pointsText(int score) {
  return std::to_string(score / 100) + (score % 100 != 0 ? ".5" : "");
}

// The games counted once, from the White side of each: White wins, draws, Black wins.
struct GameCounts {
  int whiteWins = 0;
  int draws = 0;
  int blackWins = 0;
  int total() const { return whiteWins + draws + blackWins; }
};

GameCounts countGames(const TournamentTable& table) {
  GameCounts counts;
  for (int i = 0; i < table.playerCount(); ++i) {
    for (const TournamentOpponent& opponent : table.entry(i).opponents()) {
      for (const TournamentResult& result : opponent.results) {
        if (result.colour != 1) continue;
        if (result.score == 100) ++counts.whiteWins;
        else if (result.score == 50) ++counts.draws;
        else ++counts.blackWins;
      }
    }
  }
  return counts;
}

// The first two characters of a name for a column head; a shorter name leaves blanks.
std::string columnHead(const std::string& name) { return platform::leadingColumns(name, 2); }

const char* typeTitle(int type) {
  switch (type) {
    case kRoundRobin: return "Round Robin tournament";
    case kGauntlet: return "Gauntlet tournament";
    case kNoTournament: return "Match";
    default: return "Swiss tournament";
  }
}

std::string format(const char* pattern, auto... values) {
  const int size = std::snprintf(nullptr, 0, pattern, values...);
  std::string text(static_cast<std::size_t>(std::max(size, 0)), '\0');
  std::snprintf(text.data(), text.size() + 1, pattern, values...);
  return text;
}

// Text -----------------------------------------------------------------------------------------

void writeRoundRobinText(const TournamentView& view, std::string& text) {
  const std::span<const int> ranking = view.table.ranking();
  const int n = static_cast<int>(ranking.size());
  const int g = view.gamesPerPairing();
  const int w = view.longestName();

  text += "\nRk  Name";
  text.append(static_cast<std::size_t>(w), ' ');
  for (int entry : ranking) {
    text += columnHead(view.name(entry));
    text.append(static_cast<std::size_t>(std::max(0, g - 1)), ' ');
  }
  text += "  Sc  \n";
  const std::string rule = std::string(static_cast<std::size_t>((g + 1) * n + w + 14), '=') + "\n";
  text += rule;

  for (int rank = 1; rank <= n; ++rank) {
    const int entry = ranking[rank - 1];
    const TournamentPlayer& player = view.table.entry(entry);
    text += format("%d. ", rank);
    if (rank < 10) text += ' ';
    platform::appendPadded(text, view.name(entry), static_cast<std::size_t>(w) + 4);
    for (int column : ranking) {
      text += column == entry ? std::string(static_cast<std::size_t>(g), 'X') : view.results(entry, column);
      text += ' ';
    }
    const std::string score = "  " + pointsText(player.score);
    text += score;
    text.append(static_cast<std::size_t>(std::max<int>(1, 8 - static_cast<int>(score.size()))), ' ');
    if (player.sonnebornBerger != 0) text += format("%.2f", player.sonnebornBerger / 100.0);
    text += "\n";
  }
  const GameCounts counts = countGames(view.table);
  text += rule;
  text += format("\n%d games : +%d =%d -%d\n%d games per player\n\n\n", counts.total(), counts.whiteWins,
                 counts.draws, counts.blackWins, view.table.entry(ranking.front()).games);
}

// Swiss ---------------------------------------------------------------------------------------

// One game of a Swiss player's row: the opponent's rank (0: no game in that column) and the result.
struct SwissCell {
  int opponentRank = 0;
  TournamentResult result;
};

// The ranked players' games by round: a column for each round number, or, when a player has two
// games of one round number (rounds left unnumbered), a column for each game in order.
std::vector<std::vector<SwissCell>> swissRows(const TournamentView& view) {
  const std::span<const int> ranking = view.table.ranking();
  std::vector<int> rankOf(static_cast<std::size_t>(view.table.playerCount()));
  for (std::size_t i = 0; i < ranking.size(); ++i) rankOf[ranking[i]] = static_cast<int>(i) + 1;
  std::vector<std::vector<SwissCell>> games(ranking.size());
  std::vector<std::int32_t> rounds;
  bool oneGameARound = true;
  for (std::size_t i = 0; i < ranking.size(); ++i) {
    for (const TournamentOpponent& opponent : view.table.entry(ranking[i]).opponents()) {
      for (const TournamentResult& result : opponent.results) {
        games[i].push_back({opponent.entry >= 0 ? rankOf[opponent.entry] : 0, result});
      }
    }
    // Games of a run with several at once are in the order they ended.
    std::ranges::stable_sort(games[i], {}, [](const SwissCell& cell) { return cell.result.round; });
    for (std::size_t k = 0; k < games[i].size(); ++k) {
      rounds.push_back(games[i][k].result.round);
      if (k > 0 && games[i][k].result.round == games[i][k - 1].result.round) oneGameARound = false;
    }
  }
  if (!oneGameARound) return games;
  std::ranges::sort(rounds);
  rounds.erase(std::unique(rounds.begin(), rounds.end()), rounds.end());
  std::vector<std::vector<SwissCell>> rows(ranking.size(), std::vector<SwissCell>(rounds.size()));
  for (std::size_t i = 0; i < ranking.size(); ++i) {
    for (const SwissCell& game : games[i]) {
      rows[i][static_cast<std::size_t>(std::ranges::lower_bound(rounds, game.result.round) - rounds.begin())] = game;
    }
  }
  return rows;
}

std::size_t columnCount(const std::vector<std::vector<SwissCell>>& rows) {
  std::size_t count = 0;
  for (const std::vector<SwissCell>& row : rows) count = std::max(count, row.size());
  return count;
}

// "3w1": the opponent's rank, the colour and the result as the cross-tables write it.
std::string swissCellText(const SwissCell& cell, int rankWidth) {
  if (cell.opponentRank == 0) return std::string(static_cast<std::size_t>(rankWidth + 2), ' ');
  TournamentOpponent one;
  one.results.push_back(cell.result);
  std::string text = format("%*d", rankWidth, cell.opponentRank) + (cell.result.colour == 1 ? "w" : "b");
  TournamentView::appendResults(text, one);
  return text;
}

// Rank, name, score, Buchholz, Sonneborn-Berger and the games by round, as Swiss results are published.
void writeSwissText(const TournamentView& view, std::string& text) {
  const std::span<const int> ranking = view.table.ranking();
  const std::vector<std::vector<SwissCell>> rows = swissRows(view);
  const std::size_t columns = columnCount(rows);
  const int w = view.longestName();
  const int rankWidth = static_cast<int>(std::to_string(ranking.size()).size());

  text += "\nRk  Name";
  text.append(static_cast<std::size_t>(w), ' ');
  text += "Sc    Bh     SB      ";
  for (std::size_t k = 1; k <= columns; ++k) text += format("%-*d", rankWidth + 3, static_cast<int>(k));
  text += "\n";
  const std::string rule =
      std::string(static_cast<std::size_t>(w + 29) + columns * static_cast<std::size_t>(rankWidth + 3), '=') + "\n";
  text += rule;
  for (std::size_t i = 0; i < ranking.size(); ++i) {
    const TournamentPlayer& player = view.table.entry(ranking[i]);
    const std::string rank = format("%d. ", static_cast<int>(i) + 1);
    platform::appendPadded(text, rank, 4);
    platform::appendPadded(text, view.name(ranking[i]), static_cast<std::size_t>(w + 4));
    platform::appendPadded(text, pointsText(player.score), 6);
    platform::appendPadded(text, pointsText(player.buchholz), 7);
    platform::appendPadded(text, format("%.2f", player.sonnebornBerger / 100.0), 8);
    for (const SwissCell& cell : rows[i]) text += swissCellText(cell, rankWidth) + " ";
    text += "\n";
  }
  const GameCounts counts = countGames(view.table);
  text += rule;
  text += format("\n%d games : +%d =%d -%d\n\n\n", counts.total(), counts.whiteWins, counts.draws, counts.blackWins);
}

void writeGauntletText(const TournamentView& view, std::string& text) {
  const int evaluated = view.evaluatedPlayer();
  if (evaluated < 0) {
    text += "Error : no player to evaluate\n";
    return;
  }
  const TournamentPlayer& player = view.table.entry(evaluated);
  const int g = view.gamesPerPairing();
  const int w = view.longestName();
  text += "Evaluated player : " + view.name(evaluated) + "\n";
  text += "Score : " + pointsText(player.score) + format("/%d\n", player.games);
  text += "\nName";
  text.append(static_cast<std::size_t>(w), ' ');
  text += "Sc\n";
  const std::string rule = std::string(static_cast<std::size_t>(g + w + 4), '=') + "\n";
  text += rule;
  for (const TournamentOpponent& opponent : player.opponents()) {
    platform::appendPadded(text, view.repository.player(opponent.player).name, static_cast<std::size_t>(w) + 4);
    TournamentView::appendResults(text, opponent);
    text += "\n";
  }
  text += rule;
  text += "\n\n";
}

// HTML -----------------------------------------------------------------------------------------

std::string escaped(std::string_view text) {
  std::string out;
  platform::appendHtmlEscaped(out, text);
  return out;
}

constexpr const char* kTableTag =
    "<table border=\"1\" cellpadding=\"0\" cellspacing=\"0\" style=\"border-collapse: collapse\" "
    "bordercolor=\"#111111\" width=\"%d\">";
constexpr const char* kNameHead =
    "    <td width=\"%d\" bgcolor=\"#F5E8CF\" height=\"31\" style=\"padding-left: 4\"><b>Name</b></td>\n";
constexpr const char* kScoreHead =
    "    <td width=\"%d\" align=\"center\" bgcolor=\"#F5E8CF\" height=\"31\"><b>Sc</b></td>\n";
constexpr const char* kNameCell =
    "    <td width=\"%d\" bgcolor=\"#F5E8CF\" height=\"23\" style=\"padding-left: 4\">%s</td>\n";
constexpr const char* kResultCell = "    <td width=\"%d\" align=\"center\" bgcolor=\"#FFFFF0\" height=\"23\">";

void writeRoundRobinHtml(const TournamentView& view, std::string& text) {
  const std::span<const int> ranking = view.table.ranking();
  const int n = static_cast<int>(ranking.size());
  const int g = view.gamesPerPairing();
  const int c = 10 * g + 14;

  text += format(kTableTag, n * c + 270);
  text += "  <tr>\n";
  text += format("    <td width=\"%d\" align=\"center\" bgcolor=\"#F5E8CF\" height=\"31\"><b>Rk</b></td>\n", 30);
  text += format(kNameHead, 150);
  for (int entry : ranking) {
    text += format("    <td width=\"%d\" align=\"center\" bgcolor=\"#F5E8CF\" height=\"31\">%s</td>\n", c,
                   escaped(columnHead(view.name(entry))).c_str());
  }
  text += format(kScoreHead, 30);
  text += format("    <td width=\"%d\" align=\"center\" bgcolor=\"#F5E8CF\" height=\"31\">SB</td>\n", 30);
  text += "  </tr>\n";

  for (int rank = 1; rank <= n; ++rank) {
    const int entry = ranking[rank - 1];
    const TournamentPlayer& player = view.table.entry(entry);
    text += "  <tr>\n";
    text += format("    <td width=\"%d\" align=\"center\" bgcolor=\"#F5E8CF\" height=\"23\">%d</td>\n", 30, rank);
    text += format(kNameCell, 150, escaped(view.name(entry)).c_str());
    for (int column : ranking) {
      if (column == entry) {
        text += format("    <td width=\"%d\" align=\"center\" bgcolor=\"#F5E8CF\" height=\"23\"></td>\n", c);
      } else {
        text += format(kResultCell, c);
        text += view.results(entry, column);
        text += "</td>\n";
      }
    }
    text += format("    <td width=\"%d\" align=\"center\" bgcolor=\"#F5E8CF\" height=\"23\"><b>", 30);
    text += pointsText(player.score);
    text += "</b></td>\n";
    text += format("    <td width=\"%d\" align=\"center\" bgcolor=\"#FFFFF0\" height=\"23\"><font size=\"1\">", 30);
    if (player.sonnebornBerger != 0) text += format("%.2f", player.sonnebornBerger / 100.0);
    text += "</font></td>\n";
    text += "  </tr>\n";
  }
  const GameCounts counts = countGames(view.table);
  text += "</table>\n";
  text += format("<p style=\"margin-top: 12\">%d games : +%d =%d -%d<br>%d games per player<br>&nbsp;</p>\n",
                 counts.total(), counts.whiteWins, counts.draws, counts.blackWins,
                 view.table.entry(ranking.front()).games);
}

void writeSwissHtml(const TournamentView& view, std::string& text) {
  const std::span<const int> ranking = view.table.ranking();
  const std::vector<std::vector<SwissCell>> rows = swissRows(view);
  const std::size_t columns = columnCount(rows);
  constexpr const char* kHead =
      "    <td width=\"%d\" align=\"center\" bgcolor=\"#F5E8CF\" height=\"31\"><b>%s</b></td>\n";

  text += format(kTableTag, static_cast<int>(columns) * 40 + 290);
  text += "  <tr>\n";
  text += format(kHead, 30, "Rk");
  text += format(kNameHead, 150);
  text += format(kScoreHead, 30);
  text += format(kHead, 40, "Bh");
  text += format(kHead, 40, "SB");
  for (std::size_t k = 1; k <= columns; ++k) text += format(kHead, 40, std::to_string(k).c_str());
  text += "  </tr>\n";
  for (std::size_t i = 0; i < ranking.size(); ++i) {
    const TournamentPlayer& player = view.table.entry(ranking[i]);
    text += "  <tr>\n";
    text += format("    <td width=\"%d\" align=\"center\" bgcolor=\"#F5E8CF\" height=\"23\">%d</td>\n", 30,
                   static_cast<int>(i) + 1);
    text += format(kNameCell, 150, escaped(view.name(ranking[i])).c_str());
    text += format(kResultCell, 30) + "<b>" + pointsText(player.score) + "</b></td>\n";
    text += format(kResultCell, 40) + pointsText(player.buchholz) + "</td>\n";
    text += format(kResultCell, 40) + format("%.2f", player.sonnebornBerger / 100.0) + "</td>\n";
    for (std::size_t k = 0; k < columns; ++k) {
      text += format(kResultCell, 40);
      // An empty cell of the text file's alignment is no cell content here.
      if (k < rows[i].size() && rows[i][k].opponentRank != 0) text += swissCellText(rows[i][k], 1);
      text += "</td>\n";
    }
    text += "  </tr>\n";
  }
  text += "</table>\n<p>&nbsp;</p>\n";
}

void writeGauntletHtml(const TournamentView& view, std::string& text) {
  const int evaluated = view.evaluatedPlayer();
  if (evaluated < 0) {
    text += "</font></p>\n<p>Error : no player to evaluate</p>\n";
    return;
  }
  const TournamentPlayer& player = view.table.entry(evaluated);
  const int g = view.gamesPerPairing();
  text += "Evaluated player : " + escaped(view.name(evaluated)) + "<br>";
  text += "Score : " + pointsText(player.score) + format("/%d<br></font></p>\n", player.games);
  text += format(kTableTag, 30 * g + 130);
  text += "  <tr>\n";
  text += format(kNameHead, 130);
  text += format(kScoreHead, 30);
  text += "  </tr>\n";
  for (const TournamentOpponent& opponent : player.opponents()) {
    text += "  <tr>\n";
    text += format(kNameCell, 130, escaped(view.repository.player(opponent.player).name).c_str());
    text += format(kResultCell, 30);
    TournamentView::appendResults(text, opponent);
    text += "</td>\n";
    text += "  </tr>\n";
  }
  text += "</table>\n<p>&nbsp;</p>\n";
}

// Matches -------------------------------------------------------------------------------------

// Each pairing once, its first player the one met earlier in `order`; in that order.
template <class Each>
void forEachPairing(const TournamentView& view, std::span<const int> order, Each each) {
  std::vector<std::size_t> place(static_cast<std::size_t>(view.table.playerCount()));
  for (std::size_t i = 0; i < order.size(); ++i) place[static_cast<std::size_t>(order[i])] = i;
  auto placeOf = [&](int entry) { return place[static_cast<std::size_t>(entry)]; };
  for (int entry : order) {
    for (const TournamentOpponent& opponent : view.table.entry(entry).opponents()) {
      if (opponent.entry >= 0 && placeOf(opponent.entry) > placeOf(entry)) each(entry, opponent);
    }
  }
}

MatchResults matchResults(const TournamentOpponent& opponent) {
  MatchResults results;
  for (const TournamentResult& result : opponent.results) {
    if (result.score == 100) ++results.wins;
    else if (result.score == 50) ++results.draws;
    else ++results.losses;
  }
  return results;
}

// A score of 0 or 100% has an infinite difference and error bar, which printf writes as "inf"; an
// even score is 0.0, not the -0.0 of the logarithm.
double eloDifference(const EloEstimate& elo) {
  return elo.finite ? elo.difference + 0.0 : elo.score > 0.5 ? HUGE_VAL : -HUGE_VAL;
}

// As cutechess-cli and fastchess print it, so that testers compare the figures at a glance.
std::string eloLine(const EloEstimate& elo) {
  return format("Elo difference: %.1f +/- %.1f, LOS: %.1f %%, DrawRatio: %.1f %%", eloDifference(elo),
                elo.finite ? elo.error95 : HUGE_VAL, 100 * elo.los, 100 * elo.drawRatio);
}

void writePairingsText(const TournamentView& view, std::span<const int> order, std::string& text) {
  forEachPairing(view, order, [&](int entry, const TournamentOpponent& opponent) {
    const MatchResults results = matchResults(opponent);
    const EloEstimate elo = estimateElo(results);
    text += view.name(entry) + " vs " + view.repository.player(opponent.player).name +
            format(" : %d games, +%d =%d -%d, score %.1f %%\n", results.games(), results.wins, results.draws,
                   results.losses, 100 * elo.score);
    text += eloLine(elo) + "\n";
  });
  text += "\n\n";
}

void writePairingsHtml(const TournamentView& view, std::span<const int> order, std::string& text) {
  text += "<table border=\"1\" cellpadding=\"4\" cellspacing=\"0\" style=\"border-collapse: collapse\">\n  <tr>";
  for (const char* head : {"Pairing", "Games", "+", "=", "-", "Score", "Elo difference", "LOS", "DrawRatio"}) {
    text += format("<th bgcolor=\"#F5E8CF\">%s</th>", head);
  }
  text += "</tr>\n";
  forEachPairing(view, order, [&](int entry, const TournamentOpponent& opponent) {
    const MatchResults results = matchResults(opponent);
    const EloEstimate elo = estimateElo(results);
    text += "  <tr><td>" + escaped(view.name(entry)) + " vs " + escaped(view.repository.player(opponent.player).name);
    text += format("</td><td align=\"right\">%d</td><td align=\"right\">%d</td><td align=\"right\">%d</td>"
                   "<td align=\"right\">%d</td><td align=\"right\">%.1f %%</td>"
                   "<td align=\"right\">%.1f &plusmn; %.1f</td><td align=\"right\">%.1f %%</td>"
                   "<td align=\"right\">%.1f %%</td></tr>\n",
                   results.games(), results.wins, results.draws, results.losses, 100 * elo.score, eloDifference(elo),
                   elo.finite ? elo.error95 : HUGE_VAL, 100 * elo.los, 100 * elo.drawRatio);
  });
  text += "</table>\n<p>&nbsp;</p>\n";
}

// A match lists its players as they first appear, the first one White in the first game, as the
// engines of a cutechess-cli match are listed; a tournament's pairings follow its ranking.
std::vector<int> pairingOrder(const TournamentTable& table, int type) {
  if (type != kNoTournament) return {table.ranking().begin(), table.ranking().end()};
  std::vector<int> order(static_cast<std::size_t>(table.playerCount()));
  std::iota(order.begin(), order.end(), 0);
  return order;
}

}  // namespace

void writeHtmlIndex(const RatingRepository& repository, platform::OutputFile& out) {
  out.write("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>trnFound</title>\n</head>\n"
            "<body>\n");
  out.write("<p style=\"margin-top: 0; margin-bottom: 40\"><b><font size=\"6\">Tournaments list</font></b></p>\n");
  for (const EventGroup& group : repository.groups()) {
    out.print("<p style=\"margin-top: 0; margin-bottom: 0\"><a href=\"#%d\">%d. %s (%s)</a></p>\n", group.number,
              group.number, escaped(group.event).c_str(), escaped(group.date).c_str());
  }
  out.write("<p style=\"margin-top: 25; margin-bottom: 25\">&nbsp;</p>\n");
}

void writeHtmlEnd(platform::OutputFile& out) { out.write("</body>\n</html>\n"); }

void writeTournamentText(const TournamentTable& table, const RatingRepository& repository, const EventGroup& group,
                         int type, platform::OutputFile& out) {
  if (table.ranking().empty()) return;
  const TournamentView view{table, repository};
  std::string text = typeTitle(type);
  // The Swiss title has always ended with this mark; readers of the file may look for it.
  text += type == kSwiss ? ">\n" : "\n";
  text += "Name : " + group.event + "\nDate : " + group.date + "\n";
  if (type != kGauntlet && type != kNoTournament) text += "Winner : " + view.name(table.ranking().front()) + "\n";
  if (type == kRoundRobin) writeRoundRobinText(view, text);
  else if (type == kGauntlet) writeGauntletText(view, text);
  else if (type == kNoTournament) text += "\n";
  else writeSwissText(view, text);
  if (type == kNoTournament || table.reportPairings) writePairingsText(view, pairingOrder(table, type), text);
  out.write(text);
}

void writeTournamentHtml(const TournamentTable& table, const RatingRepository& repository, const EventGroup& group,
                         int type, platform::OutputFile& out) {
  if (table.ranking().empty()) return;
  const TournamentView view{table, repository};
  std::string text = format("<p><font size=\"5\"><b><a id=\"%d\"></a>%s</b></font><br>\n", group.number,
                            typeTitle(type));
  text += "<font size =\"4\">Name : " + escaped(group.event) + "<br>Date : " + escaped(group.date) + "<br>";
  if (type != kGauntlet) {
    if (type != kNoTournament) text += "Winner : " + escaped(view.name(table.ranking().front())) + "<br>";
    text += "</font></p>\n";
  }
  if (type == kRoundRobin) writeRoundRobinHtml(view, text);
  else if (type == kGauntlet) writeGauntletHtml(view, text);
  else if (type != kNoTournament) writeSwissHtml(view, text);
  if (type == kNoTournament || table.reportPairings) writePairingsHtml(view, pairingOrder(table, type), text);
  out.write(text);
}

}  // namespace kestrova

#include "pgn/movetext.hpp"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "pgn/comment_parser.hpp"
#include "pgn/game.hpp"
#include "pgn/pgn_file.hpp"

namespace kestrova {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Blanks of any kind separate tokens: a movetext may hold tabs, CR and form feeds as well.
constexpr std::array<bool, 256> kBlanks = [] {
  std::array<bool, 256> table{};
  for (char c : std::string_view(" \t\r\n\f\v")) table[static_cast<unsigned char>(c)] = true;
  return table;
}();

bool isBlank(char c) { return kBlanks[static_cast<unsigned char>(c)]; }

// Where a move token ends: a blank, or the start of a comment, variation or annotation glued to it.
constexpr std::array<bool, 256> kTokenEnds = [] {
  std::array<bool, 256> table = kBlanks;
  for (char c : std::string_view("{}();$")) table[static_cast<unsigned char>(c)] = true;
  return table;
}();

bool endsToken(char c) { return kTokenEnds[static_cast<unsigned char>(c)]; }

void loadTags(Game& game, const PgnFile& pgn) {
  game.tags.clearValues();
  const HeaderLines& header = pgn.header();
  std::string_view name;
  for (int n = 0; n < header.count; ++n) {
    if (!readTagLine(header.lines[static_cast<std::size_t>(n)], name, game.tagScratch)) continue;
    const int index = TagTable::lookupTag(name);
    // A tag given twice keeps its first value, as it is written once.
    if (index >= 0 && game.tags.value(index).empty()) game.tags.setValue(index, game.tagScratch);
  }
}

bool isResultAt(std::string_view text, std::size_t pos, std::string_view result) {
  return text.substr(pos, result.size()) == result &&
         (pos + result.size() == text.size() || endsToken(text[pos + result.size()]));
}

// The end (one past) of the variation that opens at `pos`: its brackets counted, comments inside
// skipped; the end of the text when it never closes.
std::size_t variationEnd(std::string_view text, std::size_t pos) {
  int depth = 0;
  for (std::size_t i = pos; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '{') {
      i = text.find('}', i);
      if (i == std::string_view::npos) return text.size();
    } else if (c == ';') {
      i = text.find('\n', i);
      if (i == std::string_view::npos) return text.size();
    } else if (c == '(') {
      ++depth;
    } else if (c == ')' && --depth == 0) {
      return i + 1;
    }
  }
  return text.size();
}

// Marks that may stand on their own after a move: annotation glyphs and "e.p.".
bool isMoveMark(std::string_view token) {
  if (token == "e.p." || token == "ep") return true;
  return std::all_of(token.begin(), token.end(), [](char c) { return c == '!' || c == '?'; });
}

}  // namespace

bool readTagLine(std::string_view line, std::string_view& name, std::string& value) {
  std::size_t i = 1;
  while (i < line.size() && !isBlank(line[i]) && line[i] != '"' && line[i] != ']') ++i;
  name = line.substr(1, i - 1);
  while (i < line.size() && isBlank(line[i])) ++i;
  if (name.empty() || i >= line.size() || line[i] != '"') return false;
  value.clear();
  for (++i; i < line.size() && line[i] != '"'; ++i) {
    if (line[i] == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\')) ++i;
    value.push_back(line[i]);
  }
  return true;
}

int resultScoreOf(std::string_view result) {
  if (result.size() >= 1 && result[0] == '1') return result.size() >= 2 && result[1] == '/' ? 50 : 100;
  if (result.size() >= 2 && result[0] == '0' && (result[1] == '.' || result[1] == ',')) return 50;
  return 0;
}

LoadResult loadGame(Game& game, const PgnFile& pgn, int printCmt, bool withMoves) {
  loadTags(game, pgn);
  game.resultScore = static_cast<std::uint8_t>(resultScoreOf(game.tags.value(kTagResult)));
  game.evaluationCount = game.depthCount = game.timeCount = 0;
  game.plyCount = game.firstPly() - 1;
  game.movetextResult.clear();
  game.plies[0] = PlyRecord{};
  if (game.plyCount == 1) {
    // A game that starts with Black to move keeps ply 1 empty so that odd plies stay White's.
    game.plies[1] = PlyRecord{};
    game.plies[1].keys = game.startKeys;
  }
  if (!withMoves) return LoadResult::kLoaded;
  game.comments.clearAll();

  // What follows a half-move (comments, variations, annotation marks) is kept as written, for the
  // writer to give back; the comments are also read for the engines' values.
  const bool keep = printCmt == 1;
  const std::string_view text = pgn.gameBuffer();
  const std::size_t size = text.size();
  std::size_t pos = 0;
  while (pos < size) {
    const char c = text[pos];
    if (isBlank(c)) {
      ++pos;
      continue;
    }
    const int ply = game.plyCount;
    if (c == '{') {
      std::size_t end = text.find('}', pos);
      end = end == std::string_view::npos ? size : end + 1;
      const std::string_view comment = text.substr(pos, end - pos);
      // A comment before the first move says nothing of a half-move's values.
      if (ply >= game.firstPly()) parseComment(game, ply, comment);
      if (keep) game.comments.append(ply, comment);
      pos = end;
      continue;
    }
    if (c == ';') {
      std::size_t end = text.find('\n', pos);
      if (end == std::string_view::npos) end = size;
      // Kept in braces, as the line end that closes it is not kept.
      game.tagScratch.assign("{");
      game.tagScratch.append(text.substr(pos + 1, end - pos - 1));
      std::replace(game.tagScratch.begin(), game.tagScratch.end(), '}', ')');
      game.tagScratch.push_back('}');
      if (ply >= game.firstPly()) parseComment(game, ply, game.tagScratch);
      if (keep) game.comments.append(ply, game.tagScratch);
      pos = end;
      continue;
    }
    if (c == '(' || c == '$') {
      std::size_t end = pos + 1;
      if (c == '(') end = variationEnd(text, pos);
      else while (end < size && isDigit(text[end])) ++end;
      if (keep) game.comments.append(ply, text.substr(pos, end - pos));
      pos = end;
      continue;
    }
    if (c == '*' || (isDigit(c) && (isResultAt(text, pos, "1-0") || isResultAt(text, pos, "0-1") ||
                                     isResultAt(text, pos, "1/2-1/2")))) {
      std::size_t end = pos;
      while (end < size && !endsToken(text[end])) ++end;
      game.movetextResult.assign(text.substr(pos, end - pos));
      break;
    }
    if (isDigit(c) && text.substr(pos, 3) != "0-0") {
      // A move number, "12." or "12...", maybe glued to its move ("0-0" is castling).
      while (pos < size && isDigit(text[pos])) ++pos;
      while (pos < size && text[pos] == '.') ++pos;
      continue;
    }
    std::size_t end = pos;
    while (end < size && !endsToken(text[end])) ++end;
    if (end == pos) ++end;  // a stray ")" or "}" is a token of its own, which no move reads
    const std::string_view token = text.substr(pos, end - pos);
    pos = end;
    if (isMoveMark(token) && ply >= game.firstPly()) {
      if (keep) game.comments.append(ply, token);
      continue;
    }
    if (game.plyCount + 1 >= Game::kSlots) return LoadResult::kTooManyPlies;
    PlyRecord& record = game.plies[++game.plyCount];
    record = PlyRecord{};
    // A token longer than a move's text is cut; no notation is that long, so it stays unreadable.
    const std::size_t length = std::min<std::size_t>(token.size(), Move::kSanLength);
    std::memcpy(record.san, token.data(), length);
    record.san[length] = '\0';
  }
  return LoadResult::kLoaded;
}

}  // namespace kestrova

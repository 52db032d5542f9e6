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

// The characters of a move token, looked up once per character of every movetext.
constexpr std::array<bool, 256> kTokenChars = [] {
  std::array<bool, 256> table{};
  for (char c = 'a'; c <= 'h'; ++c) table[static_cast<unsigned char>(c)] = true;
  for (char c = '1'; c <= '8'; ++c) table[static_cast<unsigned char>(c)] = true;
  for (char c : std::string_view("RNBKQx+=#Op?!/-")) table[static_cast<unsigned char>(c)] = true;
  return table;
}();

bool isTokenChar(char c) { return kTokenChars[static_cast<unsigned char>(c)]; }

// ASCII lower case, as tolower in the C locale the program runs in.
constexpr std::array<char, 256> kLowerCase = [] {
  std::array<char, 256> table{};
  for (int c = 0; c < 256; ++c) table[c] = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return table;
}();

char lowerCase(char c) { return kLowerCase[static_cast<unsigned char>(c)]; }

// Finds a lower-case needle in a line without copying the line.
bool containsIgnoringCase(std::string_view line, std::string_view lowerNeedle) {
  if (lowerNeedle.size() > line.size()) return false;
  for (std::size_t at = 0; at + lowerNeedle.size() <= line.size(); ++at) {
    std::size_t k = 0;
    while (k < lowerNeedle.size() && lowerCase(line[at + k]) == lowerNeedle[k]) ++k;
    if (k == lowerNeedle.size()) return true;
  }
  return false;
}

// The first table entry whose lower-case prefix occurs anywhere in the line, whatever its case,
// or -1. The line is lowered once, and only the places of a "[" can begin a prefix.
int findTagEntry(std::string_view line) {
  char lowered[HeaderLines::kMaxLength + 1];
  if (line.size() > sizeof lowered) {
    // Longer than a stored tag line: an edited header. Searched in place.
    for (int i = 0; i < TagTable::kEntries; ++i) {
      if (containsIgnoringCase(line, TagTable::lowerPrefix(i))) return i;
    }
    return -1;
  }
  std::size_t brackets[8];
  std::size_t bracketCount = 0;
  for (std::size_t k = 0; k < line.size(); ++k) {
    lowered[k] = lowerCase(line[k]);
    if (lowered[k] == '[' && bracketCount < std::size(brackets)) brackets[bracketCount++] = k;
  }
  if (bracketCount == 0) return -1;
  // A line with more brackets than places noted is searched whole.
  const bool searchWhole = bracketCount == std::size(brackets);
  const std::string_view text(lowered, line.size());
  for (int i = 0; i < TagTable::kEntries; ++i) {
    const std::string_view prefix = TagTable::lowerPrefix(i);
    if (searchWhole) {
      if (text.find(prefix) != std::string_view::npos) return i;
      continue;
    }
    for (std::size_t b = 0; b < bracketCount; ++b) {
      if (text.substr(brackets[b]).starts_with(prefix)) return i;
    }
  }
  return -1;
}

void loadTags(Game& game, const PgnFile& pgn) {
  game.tags.clearValues();
  const HeaderLines& header = pgn.header();
  for (int n = 0; n < header.count; ++n) {
    const std::string_view line = header.lines[n];
    const int i = findTagEntry(line);
    if (i >= 0) {
      const std::size_t open = line.find('"');
      std::size_t close = open == std::string_view::npos ? open : line.find('"', open + 1);
      if (open != std::string_view::npos) {
        if (close == std::string_view::npos) close = line.find_last_not_of("\n") + 1;  // a cut line
        game.tags.setValue(i, line.substr(open + 1, close - open - 1));
      }
    }
  }
}

// Copies a comment's text (after its bracket, nested brackets kept) into the ply's slot; the
// slot holds comment size - 1 characters, so the search for the closing bracket stops there.
void storeComment(Game& game, int ply, std::string_view text) {
  const std::size_t room = static_cast<std::size_t>(game.comments.size() - 1);
  const std::size_t limit = text.size() - 1 > room ? room + 1 : text.size();
  int nesting = 1;
  std::size_t end = 1;
  for (; end < limit && text[end] != '\n'; ++end) {
    if (text[end] == '{' || text[end] == '(') ++nesting;
    if ((text[end] == '}' || text[end] == ')') && --nesting == 0) break;
  }
  game.comments.set(ply, text.substr(1, end - 1));
}

// The comment last met for a half-move: a later comment of the same half-move replaces an earlier
// one, so only the last is copied, when the half-move is done. Copying each comment at once would
// scan the rest of the line again and again for comments before the first move, which the
// tokenizer leaves at their first "}" while the copy runs to the matching bracket.
class PendingComment {
 public:
  PendingComment(Game& game, std::string_view buffer, bool keep) : game_(game), buffer_(buffer), keep_(keep) {}
  ~PendingComment() { store(); }
  void met(int ply, std::size_t at) {
    if (!keep_) return;
    if (ply != ply_) store();
    ply_ = ply;
    at_ = at;
  }
  void store() {
    if (ply_ >= 0) storeComment(game_, ply_, buffer_.substr(at_));
    ply_ = -1;
  }

 private:
  Game& game_;
  std::string_view buffer_;
  bool keep_;
  int ply_ = -1;
  std::size_t at_ = 0;
};

}  // namespace

int resultScoreOf(std::string_view result) {
  if (result.size() >= 1 && result[0] == '1') return result.size() >= 2 && result[1] == '/' ? 50 : 100;
  if (result.size() >= 2 && result[0] == '0' && (result[1] == '.' || result[1] == ',')) return 50;
  return 0;
}

int loadGame(Game& game, const PgnFile& pgn, int printCmt, bool withMoves) {
  loadTags(game, pgn);
  game.resultScore = static_cast<std::uint8_t>(resultScoreOf(game.tags.value(kTagResult)));
  game.evaluationCount = game.depthCount = game.timeCount = 0;
  game.plyCount = game.firstPly() - 1;
  game.plies[0] = PlyRecord{};
  if (game.plyCount == 1) {
    // A game that starts with Black to move keeps ply 1 empty so that odd plies stay White's.
    game.plies[1] = PlyRecord{};
    game.plies[1].keys = game.startKeys;
  }
  if (!withMoves) return 1;
  game.comments.clearAll();

  const std::string& buffer = pgn.gameBuffer();
  const std::size_t size = buffer.size();
  const char* text = buffer.data();
  std::size_t pos = 0;
  PendingComment pending(game, buffer, printCmt == 1);
  while (pos < size && text[pos] != '\n') {
    bool skipped = false;
    if (text[pos] == '{' || text[pos] == '(') {
      const std::string_view rest(text + pos, size - pos);
      pending.met(game.plyCount, pos);
      if (text[pos] == '{' && game.plyCount < game.firstPly()) pos += skipComment(rest);
      else pos += parseComment(game, game.plyCount, rest);
      skipped = true;
    }
    while (pos < size && isDigit(text[pos])) pos++, skipped = true;
    while (pos < size && text[pos] == '.') pos++, skipped = true;
    while (pos < size && text[pos] == '$') pos++, skipped = true;
    if (pos < size && text[pos] == ' ') {
      while (pos < size && text[pos] == ' ') ++pos;
      continue;
    }
    if (skipped) continue;

    const std::size_t start = pos;
    while (pos < size && isTokenChar(text[pos]) && !(text[pos] == '-' && pos > 0 && isDigit(text[pos - 1]))) ++pos;
    if (pos >= size || text[pos] != ' ') return 1;  // "1-0", "*", "0-0" or any other character ends it
    if (game.plyCount + 1 >= Game::kSlots) return 0;
    if (pos > start) {
      PlyRecord& record = game.plies[++game.plyCount];
      record = PlyRecord{};
      // A token longer than a SAN text holds is cut; the replay then reports it if unreadable.
      const std::size_t length = std::min<std::size_t>(pos - start, Move::kSanLength);
      std::memcpy(record.san, text + start, length);
      record.san[length] = '\0';
      ++pos;
    }
  }
  return 1;
}

}  // namespace kestrova

#include "pgn/comment_parser.hpp"

#include <cstdlib>

#include "pgn/game.hpp"

namespace kestrova {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Numbers in comments saturate here, so that evaluations, times and their sums and differences
// in the rules stay inside an int.
constexpr long long kMaxNumber = 999999999;

int saturate(long long value) {
  return static_cast<int>(value > kMaxNumber ? kMaxNumber : value < -kMaxNumber ? -kMaxNumber : value);
}

// The integer of a run of digits from `from` on (0 when none), saturating.
int digitsAt(std::string_view text, std::size_t from, std::size_t* end = nullptr) {
  long value = 0;
  std::size_t i = from;
  for (; i < text.size() && isDigit(text[i]); ++i) {
    if (value < 100000000) value = value * 10 + (text[i] - '0');
  }
  if (end != nullptr) *end = i;
  return static_cast<int>(value);
}

// Start of the run of characters ending at `last` (inclusive) that satisfy `accept`.
template <typename Accept>
std::size_t runStart(std::string_view text, std::size_t last, Accept accept) {
  std::size_t start = last + 1;
  while (start > 0 && accept(text[start - 1])) --start;
  return start;
}

// Reads digits and signs from `from`, dropping "." and ",", up to the first other character,
// whose index goes to `end`.
int signedNumberAt(std::string_view text, std::size_t from, std::size_t* end = nullptr) {
  long value = 0;
  bool negative = false;
  std::size_t i = from;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (isDigit(c)) {
      if (value < 100000000) value = value * 10 + (c - '0');
    } else if (c == '-') {
      negative = true;
    } else if (c == '+' || c == '.' || c == ',') {
    } else {
      break;
    }
  }
  if (end != nullptr) *end = i;
  return static_cast<int>(negative ? -value : value);
}

// The decimals of a time in seconds from `at` (just after the point) on, in milliseconds: "056"
// gives 56, "5" gives 500; digits beyond the third are cut. Moves `at` past every digit;
// `decimals` gets how many were written, at most 3.
int fractionMs(std::string_view text, std::size_t& at, int& decimals) {
  int ms = 0;
  int read = 0;
  for (; at < text.size() && isDigit(text[at]); ++at) {
    if (read < 3) ms = ms * 10 + (text[at] - '0'), ++read;
  }
  decimals = read;
  for (; read < 3; ++read) ms *= 10;
  return ms;
}

// Seconds written as digits with an optional fraction ("5", "0.056", "1.5", ".5") from `from` on,
// in milliseconds; `decimals` as fractionMs gives them.
long long secondsMsAt(std::string_view text, std::size_t from, int& decimals) {
  std::size_t at = from;
  const long long whole = digitsAt(text, from, &at);
  decimals = 0;
  if (at >= text.size() || text[at] != '.') return whole * 1000;
  ++at;
  return whole * 1000 + fractionMs(text, at, decimals);
}

// A time adds to the half-move's earlier ones (two comments, or "1m 3s"); its written precision is
// the finest of them.
void addTime(PlyRecord& record, long long ms, int decimals) {
  record.timeMs = saturate(record.timeMs + ms);
  if (decimals > record.timeDecimals) record.timeDecimals = static_cast<std::uint8_t>(decimals);
}

bool isNumberChar(char c) { return isDigit(c) || c == '.' || c == ',' || c == '+' || c == '-'; }

// The value of the run of number characters around an index. Every position of a run such as
// "1,11,11,11" may qualify as a decimal evaluation, and all read the same run: it is read once, so
// that a long run costs its length and not its length squared.
class DecimalRun {
 public:
  int valueAround(std::string_view text, std::size_t i) {
    if (i < start_ || i >= end_) {
      start_ = runStart(text, i, isNumberChar);
      value_ = signedNumberAt(text, start_, &end_);
    }
    return value_;
  }

 private:
  std::size_t start_ = 0;
  std::size_t end_ = 0;
  int value_ = 0;
};

// A mate announced right after two equal mate scores of the other plies: the engine of the
// previous half-move counted one move less than its opponent; move it 100 further out.
void correctNeighbour(Game& game, int ply) {
  if (ply <= 3) return;
  int& p = game.plies[ply - 1].evaluation;
  const int q = game.plies[ply - 2].evaluation;
  const int n = game.plies[ply].evaluation;
  if (std::abs(p) > 5000 && std::abs(p) == std::abs(q) && std::abs(n) - std::abs(p) == 200) {
    p = p > 0 ? p + 100 : p - 100;
  }
}

}  // namespace

int mateScore(int n) {
  if (n == 0) return 10000;
  const long long distance = n > 0 ? n : -static_cast<long long>(n);
  const int score = saturate(10100 - 200 * distance);
  return n > 0 ? score : -score;
}

namespace {

// Reads a run of 1 to `most` digits from `at` on; false when there is none or a longer one.
bool shortDigits(std::string_view text, std::size_t& at, std::size_t most, int& value) {
  const std::size_t start = at;
  int read = 0;
  while (at < text.size() && isDigit(text[at]) && at - start < most) read = read * 10 + (text[at++] - '0');
  if (at == start || (at < text.size() && isDigit(text[at]))) return false;
  value = read;
  return true;
}

// The form engines write on almost every move, "{+0.35/12 5s}", "{-1.20/15 12}" or
// "{+0.20/15 0.041s}", read straight through: an evaluation with exactly two decimals, a depth and
// a time in seconds (a fraction only before "s"). The general parser gives the same values for it;
// anything else, including longer numbers, is left to that parser. Returns 0 when the comment does
// not have this form, touching nothing.
std::size_t parseCommonComment(Game& game, int ply, std::string_view text) {
  std::size_t i = 1;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int whole = 0, hundredths = 0, depth = 0, seconds = 0;
  // Short runs keep every sum far inside the digit limits of the general parser.
  if (!shortDigits(text, i, 6, whole) || i + 3 >= text.size() || text[i] != '.' || !isDigit(text[i + 1]) ||
      !isDigit(text[i + 2]) || text[i + 3] != '/') {
    return 0;
  }
  hundredths = (text[i + 1] - '0') * 10 + (text[i + 2] - '0');
  i += 4;
  if (!shortDigits(text, i, 8, depth) || i >= text.size() || text[i] != ' ') return 0;
  ++i;
  if (!shortDigits(text, i, 8, seconds) || i >= text.size()) return 0;
  int fraction = 0, decimals = 0;
  if (text[i] == '.') {
    const std::size_t start = ++i;
    fraction = fractionMs(text, i, decimals);
    if (i == start || i - start > 8 || i >= text.size() || text[i] != 's') return 0;
  }
  if (i < text.size() && text[i] == 's') ++i;
  if (i >= text.size() || text[i] != '}') return 0;

  PlyRecord& record = game.plies[ply];
  const int evaluation = whole * 100 + hundredths;
  record.evaluation = negative ? -evaluation : evaluation;
  record.evaluationPresent = 1;
  record.mate = 0;
  record.evaluationIsMate = 0;
  ++game.evaluationCount;
  record.depth = depth;
  ++game.depthCount;
  addTime(record, seconds * 1000LL + fraction, decimals);
  ++game.timeCount;
  return i + 1;
}

}  // namespace

std::size_t parseComment(Game& game, int ply, std::string_view text) {
  if (!text.empty() && text[0] == '{') {
    if (const std::size_t end = parseCommonComment(game, ply, text)) return end;
  }
  return parseCommentFully(game, ply, text);
}

std::size_t parseCommentFully(Game& game, int ply, std::string_view text) {
  PlyRecord& record = game.plies[ply];
  int nesting = 1;
  int squares = 0;
  bool percent = false;
  DecimalRun decimal;
  std::size_t i = 1;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '{' || c == '(') ++nesting;
    if (c == '}' || c == ')') {
      if (--nesting == 0) return i + 1;
    }
    if (c == '[') ++squares;
    if (c == ']') --squares;
    const char before = text[i - 1];
    const char after = i + 1 < text.size() ? text[i + 1] : '\0';

    if (squares == 0) {
      percent = false;
      if (nesting == 1 && i > 3 && isDigit(c) && isDigit(before) && !isDigit(after) && after != 's' &&
          (text[i - 2] == '.' || text[i - 2] == ',') && isDigit(text[i - 3])) {
        record.evaluation = decimal.valueAround(text, i);
        record.evaluationPresent = 1;
        record.mate = 0;
        record.evaluationIsMate = 0;
        ++game.evaluationCount;
      } else if (nesting == 1 && i > 1 && c == 'M' && isDigit(after)) {
        std::size_t end = 0;
        int n = digitsAt(text, i + 1, &end);
        if (before == '-') n = -n;
        record.evaluation = mateScore(n);
        record.mate = n;
        record.evaluationIsMate = 1;
        record.evaluationPresent = 1;
        ++game.evaluationCount;
        correctNeighbour(game, ply);
        i = end;
        continue;
      } else if (i > 4 && (c == 'm' || c == ':') && isDigit(before)) {
        // Whole minutes; they replace what the half-move's time was.
        const std::size_t start = runStart(text, i - 1, isDigit);
        record.timeMs = saturate(digitsAt(text, start) * 60000LL);
        record.timeDecimals = 0;
        ++game.timeCount;
      } else if (i > 4 && (c == 's' || c == '"') && isDigit(before)) {
        const std::size_t start = runStart(text, i - 1, [](char x) { return isDigit(x) || x == '.'; });
        int decimals = 0;
        const long long ms = secondsMsAt(text.substr(0, i), start, decimals);
        addTime(record, ms, decimals);
        ++game.timeCount;
      } else if (i > 4 && isDigit(c) && (after == '}' || after == ' ')) {
        // Bare whole seconds only: "0.5}" is no time, "5}" is.
        const std::size_t start = runStart(text, i, isDigit);
        if (start > 0 && text[start - 1] == ' ') {
          addTime(record, digitsAt(text, start) * 1000LL, 0);
          ++game.timeCount;
        }
      } else if (c == '/' && isDigit(before) && isDigit(after)) {
        record.depth = digitsAt(text, i + 1);
        ++game.depthCount;
      }
    } else {
      if (c == '%') percent = true;
      if (percent && i > 3 && c == ',' && isDigit(before) && isDigit(after)) {
        const std::size_t start = runStart(text, i - 1, [](char x) { return isDigit(x) || x == '+' || x == '-'; });
        int a = signedNumberAt(text.substr(0, i), start);
        // 32767 - n announces a mate in n (negative: White is mated).
        const bool isMate = std::abs(a) > 20000 && std::abs(a) < 32767;
        int mate = 0;
        if (isMate) {
          mate = a > 0 ? 32767 - a : -(32767 + a);
          record.evaluation = a > 0 ? a * 200 - 6543300 : 6543300 - std::abs(a) * 200;
          correctNeighbour(game, ply);
          a = record.evaluation;
        }
        if (ply % 2 == 0) a = -a, mate = -mate;
        record.evaluation = a;
        record.mate = mate;
        record.evaluationIsMate = isMate ? 1 : 0;
        record.evaluationPresent = 1;
        ++game.evaluationCount;
        record.depth = digitsAt(text, i + 1);
        ++game.depthCount;
      } else if (percent && i > 3 && c == ':' && isDigit(before) && isDigit(after)) {
        std::size_t end = 0;
        const int minutes = digitsAt(text, i + 1, &end);
        int seconds = 0, fraction = 0, decimals = 0;
        if (end + 1 < text.size()) {
          const std::size_t secondsStart = end + 1;
          seconds = digitsAt(text, secondsStart, &end);
          if (end > secondsStart && end + 1 < text.size() && text[end] == '.' && isDigit(text[end + 1])) {
            ++end;
            fraction = fractionMs(text, end, decimals);
          }
        }
        record.timeMs = saturate(((before - '0') * 3600LL + minutes * 60LL + seconds) * 1000 + fraction);
        record.timeDecimals = static_cast<std::uint8_t>(decimals);
        ++game.timeCount;
        i = end;
        continue;
      }
    }
    ++i;
  }
  return i;
}

}  // namespace kestrova

#include "book/book_statistics.hpp"

#include "book/book_entry.hpp"
#include "rating/rating_difference.hpp"

namespace kestrova {

int perf(const BookEntry& entry) {
  if (entry.oppElo == 0) return 0;
  return entry.oppElo + ratingDifference(entry.pc * 10);
}

int eloGain(const BookEntry& entry) {
  const int performance = perf(entry);
  if (entry.myElo == 0 || performance == 0) return 0;
  return performance - entry.myElo;
}

}  // namespace kestrova

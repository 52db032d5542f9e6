#pragma once
// The seven evaluation classes a book move's comment (cmt) holds, and their symbols.
#include <string_view>

namespace kestrova {

// The class 1..7 of a centipawn score seen from the side that played the move: below -109 is 1,
// from 110 up is 7, 4 is the level band -21..21.
int evaluationClass(int centipawns);

// The symbol of a class offset k = class - 4 seen from White's side: -3 "-+" ... 0 "=" ... 3 "+-";
// any other k gives an empty text.
std::string_view classSymbol(int k);

}  // namespace kestrova

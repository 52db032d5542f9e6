#pragma once
// Changing the value of one tag of the Game: inserting a text, changing the letter case.
#include <cstddef>
#include <string_view>

namespace kestrova {

class TagTable;

// The longest value an insertion may produce.
inline constexpr std::size_t kMaxInsertedValue = 30;

// Puts the text after the first `position` characters of the value (0 in front). Refused (false,
// value unchanged) when the result would exceed 30 characters or the position is not inside the
// value: a text cannot be appended after the last character, nor given to an empty value.
bool insertTagText(TagTable& tags, int tag, long position, std::string_view text);

// The whole value in upper case (+1) or lower case (-1); ASCII letters only, so UTF-8 text is kept.
void setTagCase(TagTable& tags, int tag, int direction);

// Only the first letter of each word: a word starts the value or follows a blank, "-", ",", "."
// or ";". An ASCII lower-case initial becomes upper case for +1, an upper-case one lower case for
// -1; every other character stays.
void setWordInitials(TagTable& tags, int tag, int direction);

}  // namespace kestrova

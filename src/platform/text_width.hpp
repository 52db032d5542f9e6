#pragma once
// Columns of text files read on UTF-8 terminals: a name takes as many columns as it has
// characters, not bytes.
#include <cstddef>
#include <string>
#include <string_view>

namespace kestrova::platform {

// Characters of UTF-8 text; a byte that starts no valid sequence (a Latin-1 name) counts as one.
std::size_t textWidth(std::string_view text);

// The text followed by blanks up to `width` characters (none when it is that long or longer).
void appendPadded(std::string& out, std::string_view text, std::size_t width);

// The first `count` characters of the text, never a part of one, padded with blanks to `count`.
std::string leadingColumns(std::string_view text, std::size_t count);

// The text with HTML's markup characters as entities: names and events come from the games.
void appendHtmlEscaped(std::string& out, std::string_view text);

}  // namespace kestrova::platform

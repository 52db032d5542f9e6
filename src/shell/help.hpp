#pragma once
// Command descriptions read on demand from the help file, in the section of a language.
#include <string_view>

namespace kestrova {

struct App;

// Prints the description filed under `name` in the language's section. Returns 0 only when the
// help file cannot be opened.
int showHelpEntry(App& app, std::string_view name, int language, bool longDescription);

// The section marker of a language: languages outside 0..5 read the French section.
std::string_view helpSectionMarker(int language);

}  // namespace kestrova

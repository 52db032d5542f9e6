#pragma once
// Command descriptions read on demand from the help file, in the section of a language.
#include <string>
#include <string_view>

namespace kestrova {

struct App;

// Prints the description filed under `name` in the language's section. Returns 0 only when the
// help file cannot be opened.
int showHelpEntry(App& app, std::string_view name, int language, bool longDescription);

// Prints the command's long description from the help file in the current language; nothing for
// names over 20 characters.
void showCommandHelp(App& app, std::string_view name);

// The help file a lookup reads: the working directory's (app.helpFile) when it is there, else the
// installed one when that is there, else app.helpFile (whose opening then fails as usual).
std::string helpFileToRead(const App& app);

// The section marker of a language: languages outside 0..5 read the French section.
std::string_view helpSectionMarker(int language);

}  // namespace kestrova

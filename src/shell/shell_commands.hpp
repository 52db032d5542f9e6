#pragma once
// The shell's own commands: verbose, lang, help, exit (bye, salut) and bin.
namespace kestrova {

struct App;
class CommandLine;

int handleVerbose(App& app, CommandLine& line);
int handleLang(App& app, CommandLine& line);
int handleHelp(App& app, CommandLine& line);
int handleExit(App& app, CommandLine& line);
int handleBin(App& app, CommandLine& line);

// Sets the language 0..4 with its notice; anything else falls back to French with an error line
// and returns 0.
int setLanguage(App& app, long language);

}  // namespace kestrova

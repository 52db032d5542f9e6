#pragma once
// Opening book commands: newbk, openbk, showbk, dcmbk, anabk, bdoor.
namespace kestrova {

struct App;
class CommandLine;

int handleNewbk(App& app, CommandLine& line);
int handleOpenbk(App& app, CommandLine& line);
int handleShowbk(App& app, CommandLine& line);
int handleDcmbk(App& app, CommandLine& line);
int handleAnabk(App& app, CommandLine& line);
int handleBdoor(App& app, CommandLine& line);

}  // namespace kestrova

#pragma once
// Engine-driven commands: askng and vfilt.
namespace kestrova {

struct App;
class CommandLine;

int handleAskng(App& app, CommandLine& line);
int handleVfilt(App& app, CommandLine& line);

}  // namespace kestrova

#pragma once
// Ratings commands: elo and givelo.
namespace kestrova {

struct App;
class CommandLine;

int handleElo(App& app, CommandLine& line);
int handleGivelo(App& app, CommandLine& line);

}  // namespace kestrova

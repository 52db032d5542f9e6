#pragma once
// The board command: the diagram of the current position.
namespace kestrova {

struct App;
class CommandLine;

int handleBoard(App& app, CommandLine& line);

}  // namespace kestrova

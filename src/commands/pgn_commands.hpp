#pragma once
// The commands of the PGN store and the board: open, cmem, show, play, debug and board.
namespace kestrova {

struct App;
class CommandLine;

int handleOpen(App& app, CommandLine& line);
int handleCmem(App& app, CommandLine& line);
int handleShow(App& app, CommandLine& line);
int handlePlay(App& app, CommandLine& line);
int handleDebug(App& app, CommandLine& line);
int handleBoard(App& app, CommandLine& line);

}  // namespace kestrova

#pragma once
// The commands of the PGN store: open, cmem, show, play and debug.
namespace kestrova {

struct App;
class CommandLine;

int handleOpen(App& app, CommandLine& line);
int handleCmem(App& app, CommandLine& line);
int handleShow(App& app, CommandLine& line);
int handlePlay(App& app, CommandLine& line);
int handleDebug(App& app, CommandLine& line);

// Reads games from the start of the open file until game `number` has been read; the last
// result of the reader (0 when the file ended first).
int readGameNumber(App& app, long number);

// Sets the standard start position (or the game's FEN tag) and loads the game just read.
int startGame(App& app, bool withMoves);

}  // namespace kestrova

#pragma once
namespace kestrova {

struct App;
class CommandLine;

// merge -dir=<directory> [-out=<file>]: joins the directory's PGN files into one.
int handleMerge(App& app, CommandLine& line);

}  // namespace kestrova

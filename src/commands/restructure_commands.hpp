#pragma once
// Splitting, cutting, doubles and subtraction: split, cut, dbl, sub.
namespace kestrova {

struct App;
class CommandLine;

int handleSplit(App& app, CommandLine& line);
int handleCut(App& app, CommandLine& line);
int handleDbl(App& app, CommandLine& line);
int handleSub(App& app, CommandLine& line);

}  // namespace kestrova

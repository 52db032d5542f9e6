#pragma once
// Scan commands: scan and syn.
namespace kestrova {

struct App;
class CommandLine;

int handleScan(App& app, CommandLine& line);
int handleSyn(App& app, CommandLine& line);

}  // namespace kestrova

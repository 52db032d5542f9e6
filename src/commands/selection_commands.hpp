#pragma once
// Selection and tag editing: select, delete, instxt, reptxt, setcap, setcmt, tag.
namespace kestrova {

struct App;
class CommandLine;

int handleSelect(App& app, CommandLine& line);
int handleDelete(App& app, CommandLine& line);
int handleInstxt(App& app, CommandLine& line);
int handleReptxt(App& app, CommandLine& line);
int handleSetcap(App& app, CommandLine& line);
int handleSetcmt(App& app, CommandLine& line);
int handleTag(App& app, CommandLine& line);

}  // namespace kestrova

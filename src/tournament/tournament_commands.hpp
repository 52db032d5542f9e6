#pragma once
// Tournament finder command: ftrn.
namespace kestrova {

struct App;
class CommandLine;

int handleFtrn(App& app, CommandLine& line);

}  // namespace kestrova

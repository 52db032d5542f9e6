#pragma once
// EPD commands: epdsv, fenstat, fepd, ddepd.
namespace kestrova {

struct App;
class CommandLine;

int handleEpdsv(App& app, CommandLine& line);
int handleFenstat(App& app, CommandLine& line);
int handleFepd(App& app, CommandLine& line);
int handleDdepd(App& app, CommandLine& line);

}  // namespace kestrova

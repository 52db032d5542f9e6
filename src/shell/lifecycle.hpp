#pragma once
// Building every shared object at start-up, and the one way the program ends.
namespace kestrova {

struct App;

// Loads the history, prints the banner, reads the configuration and builds the shared objects
// in their order, then prints the information lines.
void startUp(App& app);

// Stops the engine, releases the book, prints the farewell and marks the run finished.
void shutDown(App& app);

}  // namespace kestrova

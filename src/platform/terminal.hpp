#pragma once
// Terminal facts the console needs: whether to colour, and how a console attribute looks in ANSI.
#include <string>

namespace kestrova::platform {

// True when the stream (a file descriptor) is a terminal.
bool isTerminal(int fd);

// True when the stream is a terminal and NO_COLOR is unset.
bool wantsColour(int fd);

// The SGR sequence that shows a console attribute (low nibble foreground, high nibble
// background; bits 1 blue, 2 green, 4 red, 8 intensity). Attribute 7 is the terminal default.
std::string ansiSequence(int attribute);

}  // namespace kestrova::platform

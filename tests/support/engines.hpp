#pragma once
// The engines the tests drive: Debian's stockfish when installed, and our scripted fake engine.
#include <string>

namespace kestrova::test {

// The stockfish found on PATH or in /usr/games; empty when none is installed.
std::string findStockfish();

// The scripted UCI engine built beside the tests (its mode comes from the environment variable
// KESTROVA_FAKE_ENGINE of the process that starts it).
std::string fakeEnginePath();

}  // namespace kestrova::test

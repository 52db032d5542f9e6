#pragma once
// The program as start-up sets it up, for the benchmarks that run commands in process.
#include <memory>

#include "shell/app.hpp"

namespace kestrova::bench {

// The default configuration's settings and output tags, the buffers, the start position and the
// key check on; the console captures (and the start-up messages are dropped).
std::unique_ptr<App> configuredApp();

}  // namespace kestrova::bench

#pragma once
// The scan's detection table and the output streams its reports go to.
namespace kestrova {

namespace platform {
class OutputFile;
}

struct DetectionSettings {
  // Bound by the scan before every game; nothing is written where a stream is absent.
  platform::OutputFile* log = nullptr;
  platform::OutputFile* epd = nullptr;
  platform::OutputFile* pgn = nullptr;
  bool keepGame = false;
};

}  // namespace kestrova

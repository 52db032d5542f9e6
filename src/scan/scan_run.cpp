#include "scan/scan_run.hpp"

#include "pgn/game.hpp"

namespace kestrova {

ScanRun::ScanRun(Console& console, StringManager& strings, int language, platform::OutputFile& log,
                 platform::OutputFile& epd, platform::OutputFile& pgn)
    : console(console), strings(strings), language(language), log(log), epd(epd), pgn(pgn) {
  // Room for the longest position text, so that writing one never allocates.
  fenText.reserve(Game::kFenCapacity + 1);
}

void ScanRun::beginGame(const Game& game) {
  counts.fill(DetectionCounts{});
  keepGame = false;
}

}  // namespace kestrova

#pragma once
// The fixed table of the 38 known tags: prefix, value and whether the PGN writer emits it.
#include <array>
#include <string>
#include <string_view>

namespace kestrova {

enum TagIndex : int {
  kTagEvent = 0, kTagSite = 1, kTagDate = 2, kTagRound = 3, kTagWhite = 4, kTagBlack = 5,
  kTagResult = 6, kTagEco = 7, kTagOpening = 8, kTagTime = 9, kTagVariation = 10,
  kTagTimeControl = 11, kTagTermination = 12, kTagPlyCount = 13, kTagWhiteType = 14,
  kTagBlackType = 15, kTagWhiteElo = 16, kTagBlackElo = 17, kTagEventDate = 18,
  kTagEventType = 19, kTagSource = 20, kTagSourceDate = 21, kTagAnnotator = 22,
  kTagWhiteTitle = 23, kTagBlackTitle = 24, kTagWhiteNA = 25, kTagBlackNA = 26,
  kTagEventSponsor = 27, kTagSection = 28, kTagStage = 29, kTagBoard = 30,
  kTagSubVariation = 31, kTagNic = 32, kTagUtcTime = 33, kTagUtcDate = 34, kTagSetUp = 35,
  kTagFen = 36, kTagMode = 37,
};

class TagTable {
 public:
  static constexpr int kEntries = 38;
  // The longest value a command composes itself (an Annotator note); values read are kept whole.
  static constexpr std::size_t kValueLength = 69;

  TagTable();

  // The start of the tag line up to and including the opening quote, e.g. "[Event \"".
  static std::string_view prefix(int index);
  // Lower-case prefixes, for the case-insensitive match of header lines.
  static std::string_view lowerPrefix(int index);

  const std::string& value(int index) const { return values_[index]; }
  void setValue(int index, std::string_view value);
  void clearValues();

  bool outputEnabled(int index) const { return enabled_[index]; }
  void setOutputEnabled(int index, bool on) { enabled_[index] = on; }

  // The table index of a tag name typed in a command (case-insensitive), or -1.
  static int lookupName(std::string_view name);
  // The table index of a tag name of a tag line (any of the 38, case-insensitive), or -1.
  static int lookupTag(std::string_view name);

 private:
  std::array<std::string, kEntries> values_;
  std::array<bool, kEntries> enabled_{};
};

namespace platform {
class ConfigFile;
}

// The tag pass over the configuration: the lines of the "[OutputEnabledTags]" section, up to the
// first empty line, enable the first entry whose prefix contains them.
void readOutputEnabledTags(TagTable& tags, const platform::ConfigFile& config);

}  // namespace kestrova

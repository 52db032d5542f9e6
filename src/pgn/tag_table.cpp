#include "pgn/tag_table.hpp"

#include <cctype>

#include "platform/config_file.hpp"

namespace kestrova {

namespace {

constexpr std::array<std::string_view, TagTable::kEntries> kPrefixes = {
    "[Event \"", "[Site \"", "[Date \"", "[Round \"", "[White \"", "[Black \"", "[Result \"", "[ECO \"",
    "[Opening \"", "[Time \"", "[Variation \"", "[TimeControl \"", "[Termination \"", "[PlyCount \"",
    "[WhiteType \"", "[BlackType \"", "[WhiteElo \"", "[BlackElo \"", "[EventDate \"", "[EventType \"",
    "[Source \"", "[SourceDate \"", "[Annotator \"", "[WhiteTitle \"", "[BlackTitle \"", "[WhiteNA \"",
    "[BlackNA \"", "[EventSponsor \"", "[Section \"", "[Stage \"", "[Board \"", "[SubVariation \"",
    "[NIC \"", "[UTCTime \"", "[UTCDate \"", "[SetUp \"", "[FEN \"", "[Mode \""};

constexpr std::array<std::string_view, TagTable::kEntries> kLowerPrefixes = {
    "[event \"", "[site \"", "[date \"", "[round \"", "[white \"", "[black \"", "[result \"", "[eco \"",
    "[opening \"", "[time \"", "[variation \"", "[timecontrol \"", "[termination \"", "[plycount \"",
    "[whitetype \"", "[blacktype \"", "[whiteelo \"", "[blackelo \"", "[eventdate \"", "[eventtype \"",
    "[source \"", "[sourcedate \"", "[annotator \"", "[whitetitle \"", "[blacktitle \"", "[whitena \"",
    "[blackna \"", "[eventsponsor \"", "[section \"", "[stage \"", "[board \"", "[subvariation \"",
    "[nic \"", "[utctime \"", "[utcdate \"", "[setup \"", "[fen \"", "[mode \""};

struct NamedTag {
  std::string_view name;
  int index;
};
constexpr NamedTag kCommandNames[] = {
    {"event", 0}, {"site", 1}, {"date", 2}, {"round", 3}, {"white", 4}, {"black", 5},
    {"result", 6}, {"eco", 7}, {"opening", 8}, {"time", 9}, {"variation", 10}, {"timecontrol", 11},
    {"termination", 12}, {"plycount", 13}, {"whitetype", 14}, {"blacktype", 15}, {"whiteelo", 16},
    {"blackelo", 17}, {"eventdate", 18}, {"source", 20}, {"sourcedate", 21}, {"annotator", 22}};

}  // namespace

TagTable::TagTable() {
  for (std::string& value : values_) value.reserve(kValueLength + 1);
}

std::string_view TagTable::prefix(int index) { return kPrefixes[index]; }
std::string_view TagTable::lowerPrefix(int index) { return kLowerPrefixes[index]; }

void TagTable::setValue(int index, std::string_view value) { values_[index].assign(value); }

int TagTable::lookupTag(std::string_view name) {
  for (int i = 0; i < kEntries; ++i) {
    // "[name \"": the name stands between the bracket and the blank.
    const std::string_view known = kLowerPrefixes[i].substr(1, kLowerPrefixes[i].size() - 3);
    if (known.size() != name.size()) continue;
    bool same = true;
    for (std::size_t k = 0; k < name.size() && same; ++k) {
      same = std::tolower(static_cast<unsigned char>(name[k])) == known[k];
    }
    if (same) return i;
  }
  return -1;
}

void TagTable::clearValues() {
  for (std::string& value : values_) value.clear();
}

int TagTable::lookupName(std::string_view name) {
  for (const NamedTag& tag : kCommandNames) {
    if (tag.name.size() != name.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < name.size() && same; ++i) {
      same = std::tolower(static_cast<unsigned char>(name[i])) == tag.name[i];
    }
    if (same) return tag.index;
  }
  return -1;
}

void readOutputEnabledTags(TagTable& tags, const platform::ConfigFile& config) {
  bool inSection = false;
  for (const platform::ConfigLine& entry : config.lines()) {
    if (!inSection) {
      inSection = entry.text == "[OutputEnabledTags]" && entry.ended;
      continue;
    }
    if (entry.text.empty() && entry.ended) break;
    std::string_view line = entry.text;
    // Every line loses its last character, the line end; a last line without one loses a letter.
    if (!entry.ended && !line.empty()) line.remove_suffix(1);
    if (line.empty()) continue;
    // Compared without regard to case, so that "[Plycount" enables PlyCount.
    std::string lowered(line);
    for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (int i = 0; i < TagTable::kEntries; ++i) {
      if (TagTable::lowerPrefix(i).find(lowered) != std::string_view::npos) {
        tags.setOutputEnabled(i, true);
        break;
      }
    }
  }
}

}  // namespace kestrova

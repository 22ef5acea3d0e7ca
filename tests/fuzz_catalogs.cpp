// libFuzzer target: any text through the lookups, any field values through
// every block layout, any command line through zorvin, and any text as a map
// source read and edited. Checks the shape
// of every text the program produces.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.h"
#include "effects/effects_catalog.h"
#include "light/level_light.h"
#include "map/map_edit.h"
#include "map/map_source.h"
#include "settings/level_catalog.h"

namespace {

using namespace zorvin;

void Require(bool condition) {
  if (!condition) std::abort();
}

// Counts the CR LF pairs, and requires that no bare CR or LF is left over
// where the program itself joins lines (values may hold anything).
std::size_t LineBreaks(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string_view::npos; at = text.find("\r\n", at + 2))
    ++count;
  return count;
}

void CheckLookups(std::string_view text) {
  const LevelEntry* entry = FindLevel(text);
  const std::optional<std::string> block = FindLevelBlock(text);
  Require((entry != nullptr) == block.has_value());
  if (entry != nullptr) {
    Require(entry->Key() == text);
    Require(block->starts_with("{\r\n") && block->ends_with("\r\n}"));
    Require(LineBreaks(*block) == entry->Layout().size() + 1);
  }
  if (const auto listing = FindEffectsListing(text)) {
    Require(!listing->empty() && !listing->ends_with("\r\n"));
    Require(listing->ends_with(".efx"));
  }
}

// The input split at NUL bytes gives the record's values, in field order.
void CheckRendering(std::string_view data) {
  SettingsClass record;
  for (const FieldRow& row : kFields) {
    if (data.empty()) break;
    const std::size_t end = data.find('\0');
    record.*row.member = std::string(data.substr(0, end));
    data = end == std::string_view::npos ? std::string_view() : data.substr(end + 1);
  }
  // The catalog's distinct layouts (forty levels share a handful).
  static const std::vector<BlockLayout> layouts = [] {
    std::vector<BlockLayout> distinct;
    for (const LevelEntry& entry : LevelCatalog()) {
      if (std::find(distinct.begin(), distinct.end(), entry.Layout()) == distinct.end())
        distinct.push_back(entry.Layout());
    }
    return distinct;
  }();
  for (const BlockLayout& layout : layouts) {
    const std::string block = RenderBlock(record, layout);
    Require(block.starts_with(record.oChar) && block.ends_with(record.oChar2));
    // A field the layout shows is in the block, and a change to it shows; a
    // field it does not show cannot change the block.
    for (const FieldRow& row : kFields) {
      SettingsClass changed = record;
      changed.*row.member += "\x01";
      const std::string after = RenderBlock(changed, layout);
      const bool shown = layout.Shows(row.field) || row.field == Field::oChar || row.field == Field::oChar2;
      Require(shown ? after != block && after.find(changed.*row.member) != std::string::npos
                    : after == block);
    }
  }
}

// Any text read as light: channels within 0-255, a sun within its ranges, and
// a likeness that agrees with itself both ways round.
void CheckReading(std::string_view text) {
  if (const auto color = light::ReadColor(text)) {
    for (int channel : color->channels) Require(channel >= 0 && channel <= 255);
    Require(light::Hex(*color).size() == 7);
  }
  if (const auto sun = light::ReadSun(text)) {
    Require(sun->elevation >= -90 && sun->elevation <= 90 && sun->yaw >= 0 && sun->yaw < 360);
  }
  const std::size_t half = text.size() / 2;
  const std::string_view a = text.substr(0, half), b = text.substr(half);
  Require(light::Compared(a, a) == light::Likeness::same);
  Require(light::Compared(a, b) == light::Compared(b, a));
}

// The input split at NUL bytes gives a command line of zorvin: it ends in a
// known status, and prints a result only when it succeeds.
void CheckCommandLine(std::string_view data) {
  std::vector<std::string> args;
  while (!data.empty() && args.size() < 6) {
    const std::size_t end = data.find('\0');
    args.emplace_back(data.substr(0, end));
    data = end == std::string_view::npos ? std::string_view() : data.substr(end + 1);
  }
  // Nothing that reads or writes a file: the fuzzer's paths are its own. No
  // picture of thousands of pixels a side either (a terminal's is 300 MB).
  for (const std::string& arg : args) {
    if (arg == "apply" || arg.find_first_of("/\\") != std::string::npos || arg.find(".map") != std::string::npos ||
        arg.find(".MAP") != std::string::npos || arg.find(".Map") != std::string::npos ||
        arg.starts_with("--output") || arg.starts_with("--size")) {
      return;
    }
  }
  const cli::Result result = cli::Run(args, cli::LineEnd::Lf);
  Require(result.status == cli::kFound || result.status == cli::kNotFound || result.status == cli::kBadUsage);
  Require(result.status == cli::kFound ? result.out.empty() || result.out.ends_with("\n")
                                       : result.out.empty());
  Require(result.status == cli::kFound || !result.err.empty());
}

// Any text as a map source: read, it is refused or gives its worldspawn;
// edited, it reads back with the keys set, every key line it did not set and
// every byte past the worldspawn's keys as they were.
void CheckMap(std::string_view text) {
  map::Reader reader;
  std::vector<map::KeyValue> before;
  try {
    reader.Feed(text);
    reader.Finish();
    before = map::WorldspawnKeyValues(reader, text);
  } catch (const map::MapError& error) {
    Require(error.Line() > 0 ? error.Column() > 0 : true);
    return;
  }
  const std::vector<map::Setting> settings = {{"_color", "1 .95 .95"}, {"sunlight", "1.3"}, {"ambient", ".02"}};
  const map::Plan plan = map::PlanSettings(reader, text, settings);
  const std::string edited = map::Edited(text, 0, plan.edits);
  map::Reader again;
  again.Feed(edited);
  again.Finish();  // a fault here aborts: the edit broke the map
  const std::vector<map::KeyValue> after = map::WorldspawnKeyValues(again, edited);
  const auto isSet = [&](const std::string& key) {
    return std::any_of(settings.begin(), settings.end(), [&](const map::Setting& s) { return map::SameIgnoringCase(key, s.key); });
  };
  std::vector<std::string> keptBefore, keptAfter;
  for (const map::KeyValue& pair : before) {
    if (!isSet(pair.key)) keptBefore.push_back(pair.key + '\0' + pair.value);
  }
  for (const map::KeyValue& pair : after) {
    if (!isSet(pair.key)) {
      keptAfter.push_back(pair.key + '\0' + pair.value);
      continue;
    }
    const auto setting = std::find_if(settings.begin(), settings.end(),
                                      [&](const map::Setting& s) { return map::SameIgnoringCase(pair.key, s.key); });
    Require(pair.value == setting->value);
  }
  Require(keptBefore == keptAfter);
  Require(edited.substr(static_cast<std::size_t>(again.HeadEnd())) == text.substr(static_cast<std::size_t>(reader.HeadEnd())));
  Require(edited.substr(0, static_cast<std::size_t>(reader.WorldspawnKeys().front().keyBegin)) ==
          text.substr(0, static_cast<std::size_t>(reader.WorldspawnKeys().front().keyBegin)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckLookups(text);
  CheckRendering(text);
  CheckReading(text);
  CheckCommandLine(text);
  CheckMap(text);
  return 0;
}

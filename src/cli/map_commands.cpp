// zorvin's map sources: a level's keys as a map holds them (level --format
// map), a map's worldspawn read where a level's record would stand (light,
// compare), and a level's light set in a map (apply). The map is read as it
// streams past, so that a map of hundreds of MB takes little memory; apply
// checks all of it before its new bytes are put in its place.
#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "cli/text.h"
#include "file/user_file.h"
#include "light/level_light.h"
#include "light/tuning.h"
#include "map/map_edit.h"
#include "map/map_source.h"

namespace zorvin::cli {
namespace {

constexpr std::size_t kChunk = std::size_t{1} << 20;
// The worldspawn's keys stay in memory while they are read, and so do the
// few lines after them that a diff shows: a worldspawn whose keys run past
// these is no map an editor writes, and the memory zorvin takes stays small
// whatever the map.
constexpr std::size_t kLongestHead = std::size_t{1} << 20;
constexpr std::size_t kMostHeadLines = 16384;  // of keys, or of any text
constexpr std::size_t kLongestContext = std::size_t{1} << 20;

// The map as messages name it.
std::string Named(std::string_view path) { return Escaped(path, 200); }

Failure BadMap(std::string_view path, const std::string& what) { return {kBadMap, Named(path) + " " + what}; }

Failure BadMap(std::string_view path, const map::MapError& error) {
  if (error.Line() == 0) return BadMap(path, error.what());
  return {kBadMap, Named(path) + ", line " + std::to_string(error.Line()) + ", column " + std::to_string(error.Column()) +
                       ": " + error.what()};
}

// The last part of a path: what stands where a level's name would.
std::string FileName(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

// A map read up to its worldspawn's first brush, or whole.
struct Head {
  std::string bytes;
  bool wholeFile = false;
};

// Reads into head until the worldspawn's keys have gone past, and then on
// until lines more lines follow them (for a diff's context), or 1 MB more
// has been read.
void ReadHead(file::Input& input, map::Reader& reader, Head& head, std::size_t lines = 0) {
  std::vector<char> buffer(64 * 1024);
  const auto enough = [&] {
    if (!reader.HeadDone()) return false;
    if (lines == 0) return true;
    std::size_t found = 0;
    for (std::size_t at = static_cast<std::size_t>(reader.HeadEnd()); found <= lines; ++found, ++at) {
      at = head.bytes.find('\n', at);
      if (at == std::string::npos) return false;
    }
    return true;
  };
  while (!head.wholeFile && !enough() &&
         !(reader.HeadDone() && head.bytes.size() > static_cast<std::size_t>(reader.HeadEnd()) + kLongestContext)) {
    const std::size_t got = input.Read(buffer.data(), buffer.size());
    if (got == 0) {
      if (head.bytes.empty()) throw file::FileError("is empty");
      reader.Finish();
      head.wholeFile = true;
      break;
    }
    const std::string_view chunk(buffer.data(), got);
    reader.Feed(chunk);
    head.bytes += chunk;
    if (reader.HeadDone()) continue;
    if (head.bytes.size() > kLongestHead) {
      throw map::MapError(0, 0, "has a worldspawn whose keys run past 1 MB: that is no map an editor writes");
    }
    if (reader.WorldspawnKeys().size() > kMostHeadLines || reader.Line() > kMostHeadLines) {
      throw map::MapError(0, 0, "has more than 16384 lines or keys in its worldspawn: that is no map an editor writes");
    }
  }
}

}  // namespace

bool IsMapOperand(std::string_view operand) {
  constexpr std::string_view kEnding = ".map";
  return (operand.size() >= kEnding.size() &&
          map::SameIgnoringCase(operand.substr(operand.size() - kEnding.size()), kEnding)) ||
         operand.find_first_of("/\\") != std::string_view::npos;
}

ReadOutcome ReadWorldspawn(std::string_view operand) {
  if (!IsMapOperand(operand)) {
    const LevelEntry* entry = FindLevel(operand);
    if (entry == nullptr) return NoLevel(operand);
    return light::LevelWorldspawn(*entry);
  }
  try {
    file::Input input{std::string(operand)};
    map::Reader reader(true);
    Head head;
    ReadHead(input, reader, head);
    light::Worldspawn worldspawn{FileName(operand), {}, nullptr};
    for (const map::KeyValue& pair : map::WorldspawnKeyValues(reader, head.bytes)) {
      const std::optional<Field> field = light::FieldOfKey(pair.key);
      if (field) FieldOf(worldspawn.record, *field) = pair.value;  // the last of a key twice, as the compilers take it
    }
    return worldspawn;
  } catch (const file::FileError& error) {
    return BadMap(operand, error.what());
  } catch (const map::MapError& error) {
    return BadMap(operand, error);
  }
}

Outcome LevelMapKeys(std::string_view name, std::span<const std::string> set) {
  auto tunings = ReadTunings(set);
  if (Failure* failure = std::get_if<Failure>(&tunings)) return std::move(*failure);
  const LevelEntry* entry = FindLevel(name);
  if (entry == nullptr) return NoLevel(name);
  light::Worldspawn level = light::LevelWorldspawn(*entry);
  light::Tune(level.record, std::get<Tunings>(tunings));
  Lines lines;
  for (const light::MapKeyValue& key : light::MapKeys(level.record, *level.layout)) {
    lines.push_back(light::MapKeyLine(key.key, key.value));
  }
  return lines;
}

Outcome Apply(const ApplyRequest& request) {
  auto tunings = ReadTunings(request.set);
  if (Failure* failure = std::get_if<Failure>(&tunings)) return std::move(*failure);
  const LevelEntry* entry = FindLevel(request.level);
  if (entry == nullptr) return NoLevel(request.level);
  light::Worldspawn source = light::LevelWorldspawn(*entry);
  light::Tune(source.record, std::get<Tunings>(tunings));
  const std::string_view path = request.map;
  // The fields apply sets, and those of them the level gives.
  const auto chosen = [&](Field field) { return light::IsWrittenToMaps(field) && (request.all || light::IsLightField(field)); };
  std::vector<light::MapKeyValue> given;
  std::vector<map::Setting> settings;
  for (const light::MapKeyValue& key : light::MapKeys(source.record, *source.layout)) {
    if (!chosen(key.field)) continue;
    given.push_back(key);
    settings.push_back({std::string(key.key), std::string(key.value)});
  }
  const bool tuned = !request.set.empty();
  const std::string level(entry->Key());
  try {
    file::Input input{std::string(path)};
    if (!request.dryRun) input.RefuseUnwritable();
    map::Reader reader;
    Head head;
    ReadHead(input, reader, head, request.dryRun ? 3 : 0);
    const std::vector<map::KeyValue> pairs = map::WorldspawnKeyValues(reader, head.bytes);
    const map::Plan plan = map::PlanSettings(reader, head.bytes, settings);

    Lines said;
    for (const map::KeyDone& key : plan.keys) {
      if (key.done == map::Done::set) said.push_back("set " + key.key + " " + key.value + " (was " + Escaped(key.old, 200) + ")");
      if (key.done == map::Done::added) said.push_back("added " + key.key + " " + key.value);
    }
    // A key of the chosen ones that the map has and the level does not give.
    std::vector<Field> kept;
    for (const map::KeyValue& pair : pairs) {
      const std::optional<Field> field = light::FieldOfKey(pair.key);
      if (!field || !chosen(*field) || std::find(kept.begin(), kept.end(), *field) != kept.end() ||
          std::any_of(given.begin(), given.end(), [&](const light::MapKeyValue& key) { return key.field == *field; })) {
        continue;
      }
      kept.push_back(*field);
      said.push_back("kept " + Escaped(pair.key, 200) + " " + Escaped(pair.value, 200) + ": " + level + (tuned ? " as tuned" : "") + " has none");
    }

    // The rest of the map, read once: each chunk checked, then written (when
    // it changes), so that what takes the map's place is what was checked.
    const auto readRest = [&](file::Replacement* into) {
      if (into != nullptr) into->Write(map::Edited(head.bytes, 0, plan.edits));
      if (head.wholeFile) return;
      std::vector<char> buffer(kChunk);
      for (;;) {
        const std::size_t got = input.Read(buffer.data(), buffer.size());
        if (got == 0) break;
        const std::string_view chunk(buffer.data(), got);
        reader.Feed(chunk);
        if (into != nullptr) into->Write(chunk);
      }
      reader.Finish();
    };

    const std::string what = (request.all ? level + "'s keys" : level + "'s light") + (tuned ? " as tuned" : "");
    if (!plan.Changes()) {
      readRest(nullptr);
      said.push_back(Named(path) + " already has " + what + ": nothing written");
      return said;
    }
    if (request.dryRun) {
      readRest(nullptr);
      return map::UnifiedDiff(Named(path), head.bytes, head.wholeFile, plan.edits);
    }
    file::Replacement replacement(input);
    readRest(&replacement);
    const std::optional<std::string> backup = replacement.Commit(request.backup);
    said.push_back("wrote " + Named(path) + (backup ? "; its old bytes are in " + Named(*backup) : " (no backup kept)"));
    if (const std::uint64_t others = input.OtherNames(); others > 0) {
      // Hard links: the map's other names still name the old file.
      said.push_back(others == 1 ? "its other name (a hard link) keeps the old bytes"
                                 : "its " + std::to_string(others) + " other names (hard links) keep the old bytes");
    }
    return said;
  } catch (const file::NotDurable& error) {
    return Failure{kCannotWrite, Named(path) + " " + error.what()};
  } catch (const file::FileError& error) {
    return BadMap(path, error.what());
  } catch (const map::MapError& error) {
    return BadMap(path, error);
  }
}

}  // namespace zorvin::cli

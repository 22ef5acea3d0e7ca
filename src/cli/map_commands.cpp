// zorvin's map sources: a level's keys as a map holds them (level --format
// map), and a map's worldspawn read where a level's record would stand
// (light, compare, preview, similar, apply). The map is read as it streams
// past, so that a map of hundreds of MB takes little memory.
#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "cli/map_reading.h"
#include "cli/text.h"
#include "file/user_file.h"
#include "light/level_light.h"
#include "light/tuning.h"
#include "map/map_edit.h"
#include "map/map_source.h"

namespace zorvin::cli {

// The worldspawn's keys stay in memory while they are read, and so do the
// few lines after them that a diff shows: a worldspawn whose keys run past
// these is no map an editor writes, and the memory zorvin takes stays small
// whatever the map.
constexpr std::size_t kLongestHead = std::size_t{1} << 20;
constexpr std::size_t kMostHeadLines = 16384;  // of keys, or of any text
constexpr std::size_t kLongestContext = std::size_t{1} << 20;

std::string MapName(std::string_view path) { return Escaped(path, 200); }

Failure BadMap(std::string_view path, const std::string& what) { return {kBadMap, MapName(path) + " " + what}; }

Failure BadMap(std::string_view path, const map::MapError& error) {
  if (error.Line() == 0) return BadMap(path, error.what());
  return {kBadMap, MapName(path) + ", line " + std::to_string(error.Line()) + ", column " + std::to_string(error.Column()) +
                       ": " + error.what()};
}

std::string FileName(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

void ReadHead(file::Input& input, map::Reader& reader, Head& head, std::size_t lines) {
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

}  // namespace zorvin::cli

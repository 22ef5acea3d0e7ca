// zorvin apply: a level's light, or a map's, set in the worldspawn of one map
// source or several. Every other byte of a map stays; each map is checked
// whole before its new bytes take its place, and with several maps every
// one is checked before any is written.
#include <algorithm>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "cli/map_reading.h"
#include "cli/text.h"
#include "light/level_light.h"
#include "light/tuning.h"
#include "map/map_edit.h"

namespace zorvin::cli {
namespace {

// What apply sets: the keys the source gives, as it (tuned) gives them.
struct Source {
  light::Worldspawn worldspawn;
  std::string name;  // as the lines say it: the level's, or the map's path
  std::vector<light::MapKeyValue> given;
  std::vector<map::Setting> settings;
};

// The keys of a map source in the record's order; a level's in its block's.
std::vector<light::MapKeyValue> KeysOf(const light::Worldspawn& worldspawn) {
  if (worldspawn.layout != nullptr) return light::MapKeys(worldspawn.record, *worldspawn.layout);
  std::vector<light::MapKeyValue> keys;
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    const auto field = static_cast<Field>(i);
    const std::string& value = FieldOf(worldspawn.record, field);
    if (light::IsWrittenToMaps(field) && !value.empty()) keys.push_back({field, *light::MapKey(field), value});
  }
  return keys;
}

// Sets the source's keys in the map at path. Without write it reads and
// checks the whole map, refusing one this user may not replace, and says
// nothing.
Outcome ApplyTo(const Source& source, std::string_view path, const ApplyRequest& request, bool write) {
  const bool tuned = !request.set.empty();
  const auto chosen = [&](Field field) { return light::IsWrittenToMaps(field) && (request.all || light::IsLightField(field)); };
  try {
    file::Input input{std::string(path)};
    if (!request.dryRun) input.RefuseUnwritable();
    map::Reader reader;
    Head head;
    ReadHead(input, reader, head, request.dryRun ? 3 : 0);
    const std::vector<map::KeyValue> pairs = map::WorldspawnKeyValues(reader, head.bytes);
    const map::Plan plan = map::PlanSettings(reader, head.bytes, source.settings);

    Lines said;
    for (const map::KeyDone& key : plan.keys) {
      if (key.done == map::Done::set) said.push_back("set " + key.key + " " + key.value + " (was " + Escaped(key.old, 200) + ")");
      if (key.done == map::Done::added) said.push_back("added " + key.key + " " + key.value);
    }
    // A key of the chosen ones that the map has and the source does not give.
    std::vector<Field> kept;
    for (const map::KeyValue& pair : pairs) {
      const std::optional<Field> field = light::FieldOfKey(pair.key);
      if (!field || !chosen(*field) || std::find(kept.begin(), kept.end(), *field) != kept.end() ||
          std::any_of(source.given.begin(), source.given.end(), [&](const light::MapKeyValue& key) { return key.field == *field; })) {
        continue;
      }
      kept.push_back(*field);
      said.push_back("kept " + Escaped(pair.key, 200) + " " + Escaped(pair.value, 200) + ": " + source.name +
                     (tuned ? " as tuned" : "") + " has none");
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

    const std::string what = (request.all ? source.name + "'s keys" : source.name + "'s light") + (tuned ? " as tuned" : "");
    if (!write || !plan.Changes() || request.dryRun) {
      readRest(nullptr);
      if (!write) return Lines{};
      if (request.dryRun && plan.Changes()) return map::UnifiedDiff(MapName(path), head.bytes, head.wholeFile, plan.edits);
      said.push_back(MapName(path) + " already has " + what + ": nothing written");
      return said;
    }
    file::Replacement replacement(input);
    readRest(&replacement);
    const std::optional<std::string> backup = replacement.Commit(request.backup);
    said.push_back("wrote " + MapName(path) + (backup ? "; its old bytes are in " + MapName(*backup) : " (no backup kept)"));
    if (const std::uint64_t others = input.OtherNames(); others > 0) {
      // Hard links: the map's other names still name the old file.
      said.push_back(others == 1 ? "its other name (a hard link) keeps the old bytes"
                                 : "its " + std::to_string(others) + " other names (hard links) keep the old bytes");
    }
    return said;
  } catch (const file::NotDurable& error) {
    return Failure{kCannotWrite, MapName(path) + " " + error.what()};
  } catch (const file::FileError& error) {
    return BadMap(path, error.what());
  } catch (const map::MapError& error) {
    return BadMap(path, error);
  }
}

}  // namespace

Outcome Apply(const ApplyRequest& request) {
  auto read = ReadTunedWorldspawn(request.source, request.set);
  if (Failure* failure = std::get_if<Failure>(&read)) return std::move(*failure);
  Source source{std::move(std::get<light::Worldspawn>(read)), "", {}, {}};
  const bool fromMap = source.worldspawn.layout == nullptr;
  source.name = fromMap ? MapName(request.source) : source.worldspawn.name;
  for (const light::MapKeyValue& key : KeysOf(source.worldspawn)) {
    if (!request.all && !light::IsLightField(key.field)) continue;
    source.given.push_back(key);
    source.settings.push_back({std::string(key.key), std::string(key.value)});
  }
  if (request.maps.size() == 1) return ApplyTo(source, request.maps.front(), request, true);

  // Several maps: none is written unless every one can be.
  for (const std::string& path : request.maps) {
    const Outcome checked = ApplyTo(source, path, request, false);
    if (const Failure* failure = std::get_if<Failure>(&checked)) {
      return Failure{failure->status, failure->message + "; no map was written"};
    }
  }
  Lines said;
  for (const std::string& path : request.maps) {
    Outcome done = ApplyTo(source, path, request, true);
    if (Failure* failure = std::get_if<Failure>(&done)) return std::move(*failure);
    if (!request.dryRun) said.push_back(MapName(path) + ":");
    for (std::string& line : std::get<Lines>(done)) said.push_back(std::move(line));
  }
  return said;
}

}  // namespace zorvin::cli

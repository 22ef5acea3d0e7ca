// The JSON export.
#include <nlohmann/json.hpp>

#include "cli/export.h"
#include "cli/text.h"
#include "effects/effects_catalog.h"
#include "settings/level_catalog.h"

namespace zorvin::cli {

// Built by moving each part into place: nlohmann/json copies what an
// initializer list holds.
Lines ExportJson() {
  nlohmann::ordered_json all;
  all["version"] = ZORVIN_VERSION_TEXT;
  nlohmann::ordered_json& levels = all["levels"] = nlohmann::ordered_json::array();
  for (const LevelEntry& entry : LevelCatalog()) {
    SettingsClass record;
    FillRecord(record, entry);
    nlohmann::ordered_json level;
    level["name"] = entry.Key();
    nlohmann::ordered_json& fields = level["fields"] = nlohmann::ordered_json::object();
    for (const FieldRow& row : kFields) fields[std::string(row.name)] = record.*row.member;
    level["block"] = LevelBlock(entry);
    levels.push_back(std::move(level));
  }
  nlohmann::ordered_json& list = all["levelList"] = nlohmann::ordered_json::array();
  for (std::string_view item : LevelListItems()) list.push_back(item);
  nlohmann::ordered_json& effects = all["effects"] = nlohmann::ordered_json::array();
  for (const EffectCategory& category : EffectCatalog()) {
    nlohmann::ordered_json entry;
    entry["category"] = category.Name();
    nlohmann::ordered_json& files = entry["files"] = nlohmann::ordered_json::array();
    for (std::string_view file : category.Files()) files.push_back(file);
    effects.push_back(std::move(entry));
  }
  // dump() ends lines with LF; the output's own line end is chosen on writing.
  return SplitLines(all.dump(2), "\n");
}

}  // namespace zorvin::cli

#include <initializer_list>

#include "cli/export.h"
#include "effects/effects_catalog.h"
#include "settings/level_catalog.h"

namespace zorvin::cli {
namespace {

std::string CsvRow(std::initializer_list<std::string_view> fields) {
  std::string row;
  for (std::string_view field : fields) row += (row.empty() ? "" : ",") + CsvField(field);
  return row;
}

}  // namespace

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string_view("\"\"") : std::string_view(&c, 1);
  return quoted + "\"";
}

Lines ExportCsv() {
  Lines lines{CsvRow({"kind", "name", "field", "value"})};
  for (const LevelEntry& entry : LevelCatalog()) {
    SettingsClass record;
    FillRecord(record, entry);
    for (const FieldRow& row : kFields)
      lines.push_back(CsvRow({"level", entry.Key(), row.name, record.*row.member}));
    lines.push_back(CsvRow({"level", entry.Key(), "block", LevelBlock(entry)}));
  }
  const auto items = LevelListItems();
  for (std::size_t i = 0; i < items.size(); ++i)
    lines.push_back(CsvRow({"level list", std::to_string(i + 1), "item", items[i]}));
  for (const EffectCategory& category : EffectCatalog()) {
    for (std::string_view file : category.Files())
      lines.push_back(CsvRow({"effects", category.Name(), "file", file}));
  }
  return lines;
}

}  // namespace zorvin::cli

#include "cli/export.h"
#include "cli/text.h"
#include "effects/effects_catalog.h"
#include "settings/level_catalog.h"

namespace zorvin::cli {
namespace {

template <typename TextLines>
std::string CellOfLines(const TextLines& lines) {
  std::string cell;
  for (std::string_view line : lines) cell += (cell.empty() ? "" : "<br>") + MarkdownCell(line);
  return cell;
}

}  // namespace

std::string MarkdownCell(std::string_view text) {
  std::string cell;
  for (char c : text) {
    if (c == '|') {
      cell += "\\|";
    } else if (c == '<') {
      cell += "&lt;";
    } else if (c == '&') {
      cell += "&amp;";
    } else {
      cell += c;
    }
  }
  return cell;
}

Lines ExportMarkdown() {
  Lines lines{"## Worldspawn settings", "", "| level | settings block |", "| --- | --- |"};
  for (const LevelEntry& entry : LevelCatalog())
    lines.push_back("| " + MarkdownCell(entry.Key()) + " | " + CellOfLines(SplitLines(LevelBlock(entry))) + " |");
  lines.insert(lines.end(), {"", "## Level list", "", "| # | item |", "| --- | --- |"});
  const auto items = LevelListItems();
  for (std::size_t i = 0; i < items.size(); ++i)
    lines.push_back("| " + std::to_string(i + 1) + " | " + MarkdownCell(items[i]) + " |");
  lines.insert(lines.end(), {"", "## Effects", "", "| category | files |", "| --- | --- |"});
  for (const EffectCategory& category : EffectCatalog())
    lines.push_back("| " + MarkdownCell(category.Name()) + " | " + CellOfLines(category.Files()) + " |");
  return lines;
}

}  // namespace zorvin::cli

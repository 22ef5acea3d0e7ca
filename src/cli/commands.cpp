#include "cli/commands.h"

#include <span>
#include <vector>

#include "cli/text.h"
#include "effects/effects_catalog.h"
#include "settings/level_catalog.h"

namespace zorvin::cli {
namespace {

const std::vector<std::string_view>& LevelNames() {
  static const std::vector<std::string_view> names = [] {
    std::vector<std::string_view> keys;
    for (const LevelEntry& entry : LevelCatalog()) keys.push_back(entry.Key());
    return keys;
  }();
  return names;
}

// "no level named 'x'", and the nearest names when some are close.
Failure NotFound(std::string_view what, std::string_view text, std::span<const std::string_view> names) {
  return {kNotFound, "no " + std::string(what) + " named " + Shown(text) + DidYouMean(text, names)};
}

}  // namespace

Failure NoLevel(std::string_view name) { return NotFound("level", name, LevelNames()); }

Outcome Level(std::string_view name) {
  const std::optional<std::string> block = FindLevelBlock(name);
  if (!block) return NoLevel(name);
  return SplitLines(*block);
}

Outcome Levels(bool listed) {
  Lines lines;
  for (std::string_view name : listed ? LevelListItems() : std::span(LevelNames())) lines.emplace_back(name);
  return lines;
}

Outcome Effects(const std::optional<std::string>& category) {
  if (!category) {
    const auto& names = EffectCategoryNames();
    return Lines(names.begin(), names.end());
  }
  const std::optional<std::string> listing = FindEffectsListing(*category);
  if (!listing) return NotFound("effects category", *category, EffectCategoryNames());
  return SplitLines(*listing);
}

Outcome Find(std::string_view text) {
  if (text.empty()) return Failure{kBadUsage, "find: TEXT is empty"};
  Lines lines;
  for (std::string_view name : LevelNames()) {
    if (ContainsIgnoringCase(name, text)) lines.push_back("level\t" + std::string(name));
  }
  for (std::string_view name : EffectCategoryNames()) {
    if (ContainsIgnoringCase(name, text)) lines.push_back("category\t" + std::string(name));
  }
  for (const EffectCategory& category : EffectCatalog()) {
    for (std::string_view file : category.Files()) {
      if (ContainsIgnoringCase(file, text))
        lines.push_back("file\t" + std::string(file) + "\t" + std::string(category.Name()));
    }
  }
  if (lines.empty()) return Failure{kNotFound, "no level, category or file name contains " + Shown(text)};
  return lines;
}

}  // namespace zorvin::cli

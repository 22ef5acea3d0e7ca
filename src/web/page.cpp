#include "web/page.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "effects/effects_catalog.h"
#include "preview/stock_differences.h"
#include "settings/level_catalog.h"
#include "web/html.h"
#include "web/light_markup.h"
#include "web/page_assets.h"  // generated from page.html, page.css and script/

namespace zorvin::web {
namespace {

// An entry's id, which is also its deep link: "level=mp_toujane".
std::string EntryId(std::string_view key, std::string_view name) { return std::string(key) + "=" + std::string(name); }

// The lines of a block (the core's CR LF between them), each in a span of its
// own (for print, which indents a wrapped line under its start), LF between
// them: the text is the lines as they are.
std::string LineSpans(std::string_view block) {
  std::string spans;
  for (std::size_t at = 0;;) {
    const std::size_t end = block.find(kLineBreak, at);
    spans += "<span>" + HtmlEscaped(block.substr(at, end - at)) + "</span>";
    if (end == std::string_view::npos) return spans;
    spans += '\n';
    at = end + kLineBreak.size();
  }
}

// One level or category of the reference: its name as a heading that links to
// the entry itself, its lines as text, and what else the writer shows of it (markup).
std::string Entry(std::string_view key, std::string_view name, const std::string& text, const std::string& more = "") {
  const std::string id = HtmlEscaped(EntryId(key, name));
  return "<div class=\"entry\" id=\"" + id + "\">\n<h3><a href=\"#" + id + "\">" + HtmlEscaped(name) + "</a></h3>\n<pre>" +
         text + "</pre>\n" + more + "</div>";
}

// The parts joined by line breaks.
std::string Joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : "\n") + part;
  return text;
}

std::string LevelList() {
  std::vector<std::string> items;
  const auto names = LevelListItems();
  for (std::size_t i = 0; i < names.size(); ++i) {
    // The list's two empty items are there as in the window, named for a
    // screen reader; items that name no level are marked, for the filter to pass over.
    const std::string label = std::string(names[i].empty() ? " aria-label=\"(empty)\"" : "") +
                              (IsSpacerItem(names[i]) ? " data-spacer" : "");
    items.push_back("<li role=\"option\" id=\"level-item-" + std::to_string(i) + "\" aria-selected=\"false\"" + label +
                    ">" + HtmlEscaped(names[i]) + "</li>");
  }
  return Joined(items);
}

std::string CategoryOptions() {
  std::vector<std::string> options;
  for (std::string_view name : EffectCategoryNames()) options.push_back("<option>" + HtmlEscaped(name) + "</option>");
  return Joined(options);
}

// The index: each level and category a link to its entry, the levels in two
// groups as the level list has them.
std::string IndexGroup(std::string_view id, std::string_view title, std::string_view key,
                       const std::vector<std::string_view>& names) {
  std::string group = "<section aria-labelledby=\"" + std::string(id) + "\">\n<h3 id=\"" + std::string(id) + "\">" +
                      std::string(title) + "</h3>\n<ul>\n";
  for (std::string_view name : names) {
    group += "<li><a href=\"#" + HtmlEscaped(EntryId(key, name)) + "\">" + HtmlEscaped(name) + "</a></li>\n";
  }
  return group + "</ul>\n</section>";
}

std::string Index() {
  // Multiplayer: the levels the list offers before its separator; single-player: the rest.
  const auto items = LevelListItems();
  const auto separator = std::find(items.begin(), items.end(), kSinglePlayerHeading);
  std::vector<std::string_view> multiplayer, singlePlayer, effects;
  for (const LevelEntry& entry : LevelCatalog()) {
    const bool early = std::find(items.begin(), separator, entry.Key()) != separator;
    (early ? multiplayer : singlePlayer).push_back(entry.Key());
  }
  for (const EffectCategory& category : EffectCatalog()) effects.push_back(category.Name());
  return Joined({IndexGroup("index-multiplayer", "Multiplayer levels", "level", multiplayer),
                 IndexGroup("index-single-player", "Single-player levels", "level", singlePlayer),
                 IndexGroup("index-effects", "Effects categories", "effects", effects)});
}

std::string LevelEntries() {
  std::vector<std::string> entries;
  for (const LevelEntry& entry : LevelCatalog()) {
    entries.push_back(
        Entry("level", entry.Key(), LineSpans(LevelBlock(entry)),
              LightFigure(entry) + "\n" + FieldList(entry) + "\n" + MapKeyText(entry) + "\n"));
  }
  return Joined(entries);
}

std::string CategoryEntries() {
  std::vector<std::string> entries;
  for (const EffectCategory& category : EffectCatalog()) {
    // A file name has no blank to wrap at: a listing needs no spans.
    entries.push_back(
        Entry("effects", category.Name(), HtmlEscaped(Joined({category.Files().begin(), category.Files().end()}))));
  }
  return Joined(entries);
}

// The differences among the stock levels' previews, as the core keeps them:
// in tenths, the upper triangle of the catalog row by row. The gallery orders
// itself by them.
std::string StockDifferences() {
  std::string tenths;
  for (const std::uint16_t difference : preview::kStockDifferences) {
    if (!tenths.empty()) tenths += ' ';
    tenths += std::to_string(difference);
  }
  return tenths;
}

// The template with each {{place}} replaced by its text.
std::string Filled(std::string_view page, const std::vector<std::pair<std::string_view, std::string>>& places) {
  std::string filled;
  for (std::size_t at = 0;;) {
    const std::size_t open = page.find("{{", at);
    filled += page.substr(at, open - at);
    if (open == std::string_view::npos) return filled;
    const std::size_t close = page.find("}}", open);
    const std::string_view name = page.substr(open + 2, close - open - 2);
    const auto place = std::find_if(places.begin(), places.end(), [&](const auto& p) { return p.first == name; });
    if (close == std::string_view::npos || place == places.end()) {
      throw std::logic_error("the page's template names no known place at " + std::to_string(open));
    }
    filled += place->second;
    at = close + 2;
  }
}

// A text the build carries in pieces, whole.
std::string Whole(std::span<const std::string_view> pieces) {
  std::string whole;
  for (const std::string_view piece : pieces) whole += piece;
  return whole;
}

}  // namespace

std::vector<std::string> PageLines() {
  const std::string page = Filled(Whole(kPageTemplate), {
      {"version", ZORVIN_VERSION_TEXT},
      {"script-hash", std::string(kPageScriptHash)},
      {"style-hash", std::string(kPageStyleHash)},
      {"style", Whole(kPageStyle)},
      {"script", Whole(kPageScript)},
      {"level-count", std::to_string(LevelCatalog().size())},
      {"category-count", std::to_string(EffectCatalog().size())},
      {"level-list", LevelList()},
      {"category-options", CategoryOptions()},
      {"index", Index()},
      {"compass", CompassSymbol()},
      {"map-keys", MapKeyList()},
      {"level-entries", LevelEntries()},
      {"category-entries", CategoryEntries()},
      {"stock-differences", StockDifferences()},
  });
  // One line per line of the template, which ends with a line break.
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < page.size();) {
    const std::size_t end = page.find('\n', at);
    lines.emplace_back(page.substr(at, end - at));
    at = end == std::string::npos ? page.size() : end + 1;
  }
  return lines;
}

}  // namespace zorvin::web

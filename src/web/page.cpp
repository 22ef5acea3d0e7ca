#include "web/page.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "effects/effects_catalog.h"
#include "settings/level_catalog.h"
#include "web/light_markup.h"
#include "web/page_assets.h"  // generated from page.html, page.css and script/

namespace zorvin::web {
namespace {

// One level or category of the reference: its name as a heading, its lines as
// text, and what else the writer shows of it (markup).
std::string Entry(std::string_view name, std::string_view lines, const std::string& more = "") {
  return "<div class=\"entry\">\n<h3>" + HtmlEscaped(name) + "</h3>\n<pre>" + HtmlEscaped(lines) + "</pre>\n" + more +
         "</div>";
}

// The parts joined by line breaks.
std::string Joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : "\n") + part;
  return text;
}

// The block's line breaks (the core's CR LF) as the page's LF.
std::string WithLf(std::string_view text) {
  std::string lf;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text.substr(at, kLineBreak.size()) == kLineBreak) at += kLineBreak.size() - 1, lf += '\n';
    else lf += text[at];
  }
  return lf;
}

std::string LevelList() {
  std::vector<std::string> items;
  const auto names = LevelListItems();
  for (std::size_t i = 0; i < names.size(); ++i) {
    // The list's two empty items are there as in the window, named for a screen reader.
    const std::string label = names[i].empty() ? " aria-label=\"(empty)\"" : "";
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

std::string LevelEntries() {
  std::vector<std::string> entries;
  for (const LevelEntry& entry : LevelCatalog()) {
    entries.push_back(
        Entry(entry.Key(), WithLf(LevelBlock(entry)), LightFigure(entry) + "\n" + FieldList(entry) + "\n"));
  }
  return Joined(entries);
}

std::string CategoryEntries() {
  std::vector<std::string> entries;
  for (const EffectCategory& category : EffectCatalog()) {
    entries.push_back(Entry(category.Name(), Joined({category.Files().begin(), category.Files().end()})));
  }
  return Joined(entries);
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

}  // namespace

std::string HtmlEscaped(std::string_view text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      case '\'': escaped += "&#39;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

std::vector<std::string> PageLines() {
  const std::string page = Filled(kPageTemplate, {
      {"version", ZORVIN_VERSION_TEXT},
      {"script-hash", std::string(kPageScriptHash)},
      {"style-hash", std::string(kPageStyleHash)},
      {"style", std::string(kPageStyle)},
      {"script", std::string(kPageScript)},
      {"level-count", std::to_string(LevelCatalog().size())},
      {"category-count", std::to_string(EffectCatalog().size())},
      {"level-list", LevelList()},
      {"category-options", CategoryOptions()},
      {"compass", CompassSymbol()},
      {"level-entries", LevelEntries()},
      {"category-entries", CategoryEntries()},
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

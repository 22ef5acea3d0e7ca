// The page: the reference as plain markup that needs no script, and the tool's
// controls, hidden until the page's script (src/web/page.js) takes them up.
#include <string>
#include <utility>

#include "cli/export.h"
#include "cli/text.h"
#include "cli/web_assets.h"  // generated from src/web/
#include "effects/effects_catalog.h"
#include "settings/level_catalog.h"

namespace zorvin::cli {
namespace {

// lines between an opening and a closing tag, the tags on the first and last line.
void AddBetween(Lines& page, std::string_view open, Lines lines, std::string_view close) {
  lines.front().insert(0, open);
  lines.back() += close;
  page.insert(page.end(), lines.begin(), lines.end());
}

// One level or category of the reference: its name as a heading, its lines as text.
void AddEntry(Lines& page, std::string_view name, Lines lines) {
  page.push_back("<div class=\"entry\">");
  page.push_back("<h3>" + HtmlEscaped(name) + "</h3>");
  for (std::string& line : lines) line = HtmlEscaped(line);
  AddBetween(page, "<pre>", std::move(lines), "</pre>");
  page.push_back("</div>");
}

void AddTool(Lines& page) {
  page.insert(page.end(), {
      "<div id=\"tool\" hidden>",
      "<section id=\"settings-tool\" aria-labelledby=\"settings-tool-heading\">",
      "<h2 id=\"settings-tool-heading\">Worldspawn Settings</h2>",
      "<label for=\"level\">Level</label>",
      "<div class=\"row\">",
      "<div class=\"combo\">",
      "<input id=\"level\" role=\"combobox\" aria-expanded=\"false\" aria-controls=\"level-list\""
      " aria-autocomplete=\"none\" autocomplete=\"off\" autocapitalize=\"off\" spellcheck=\"false\""
      " placeholder=\"MP/SP_LEVELS\">",
      "<button type=\"button\" id=\"level-open\" tabindex=\"-1\" aria-label=\"Level list\">&#9662;</button>",
      "<ul id=\"level-list\" role=\"listbox\" aria-label=\"Level list\" hidden>",
  });
  const auto items = LevelListItems();
  for (std::size_t i = 0; i < items.size(); ++i) {
    // The list's two empty items are there as in the window, named for a screen reader.
    const std::string label = items[i].empty() ? " aria-label=\"(empty)\"" : "";
    page.push_back("<li role=\"option\" id=\"level-item-" + std::to_string(i) + "\" aria-selected=\"false\"" + label +
                   ">" + HtmlEscaped(items[i]) + "</li>");
  }
  page.insert(page.end(), {
      "</ul>",
      "</div>",
      "<button type=\"button\" id=\"show-settings\">MP/SPSettings</button>",
      "</div>",
      "<p id=\"level-status\" role=\"status\"></p>",
      "<div class=\"caption\" id=\"block-caption\">Display Settings</div>",
      "<pre id=\"block\" role=\"region\" aria-labelledby=\"block-caption\" tabindex=\"0\"></pre>",
      "<div class=\"row\"><button type=\"button\" id=\"copy-block\">Copy settings block</button>"
      "<p id=\"block-status\" role=\"status\"></p></div>",
      "</section>",
      "<section id=\"effects-tool\" aria-labelledby=\"effects-tool-heading\">",
      "<h2 id=\"effects-tool-heading\">Effects List</h2>",
      "<label for=\"category\">Effects Category</label>",
      "<select id=\"category\" size=\"10\">",
  });
  for (std::string_view name : EffectCategoryNames())
    page.push_back("<option>" + HtmlEscaped(name) + "</option>");
  page.insert(page.end(), {
      "</select>",
      "<div class=\"caption\" id=\"listing-caption\">Effects Listing</div>",
      "<pre id=\"listing\" role=\"region\" aria-labelledby=\"listing-caption\" tabindex=\"0\"></pre>",
      "<div class=\"row\"><button type=\"button\" id=\"copy-listing\">Copy effects listing</button>"
      "<p id=\"listing-status\" role=\"status\"></p></div>",
      "</section>",
      "<section id=\"find-tool\" aria-labelledby=\"find-tool-heading\">",
      "<h2 id=\"find-tool-heading\">Find a level, category or file</h2>",
      "<label for=\"find\">Find</label>",
      "<input id=\"find\" type=\"search\" autocomplete=\"off\" autocapitalize=\"off\" spellcheck=\"false\""
      " aria-describedby=\"find-hint\">",
      "<p id=\"find-hint\">Any part of a name, in any case; <kbd>/</kbd> comes here.</p>",
      "<p id=\"find-count\" role=\"status\"></p>",
      "<ul id=\"find-results\" aria-label=\"Find results\"></ul>",
      "</section>",
      "</div>",
  });
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

Lines ExportHtml() {
  const std::string version = ZORVIN_VERSION_TEXT;
  // Nothing may load or connect; only this page's own script and style run.
  const std::string policy = "default-src 'none'; script-src '" + std::string(kPageScriptHash) +
                             "'; style-src '" + std::string(kPageStyleHash) +
                             "'; img-src 'none'; connect-src 'none'; base-uri 'none'; form-action 'none'";
  Lines page{
      "<!DOCTYPE html>",
      "<html lang=\"en\">",
      "<head>",
      "<meta charset=\"utf-8\">",
      "<meta http-equiv=\"Content-Security-Policy\" content=\"" + policy + "\">",
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">",
      "<meta name=\"color-scheme\" content=\"light dark\">",
      "<meta name=\"description\" content=\"The worldspawn settings of 40 stock levels and the stock effects of 66"
      " categories, exactly as ZorvinEffects gives them.\">",
      "<title>ZorvinEffects " + version + ": worldspawn settings and stock effects</title>",
  };
  AddBetween(page, "<style>", SplitLines(kPageStyle, "\n"), "</style>");
  page.insert(page.end(), {
      "</head>",
      "<body>",
      "<header>",
      "<h1>ZorvinEffects <span class=\"version\">" + version + "</span></h1>",
      "<p>The worldspawn settings of the game's 40 stock levels and the stock effects of its 66 categories, "
      "exactly as the ZorvinEffects windows show them.</p>",
      "<nav aria-label=\"Contents\"><a href=\"#settings-heading\">Worldspawn settings</a> "
      "<a href=\"#effects-heading\">Stock effects</a></nav>",
      "</header>",
      "<main>",
  });
  AddTool(page);
  page.insert(page.end(), {
      "<section id=\"settings\" aria-labelledby=\"settings-heading\">",
      "<h2 id=\"settings-heading\">Worldspawn settings of the 40 stock levels</h2>",
      "<div class=\"reference\">",
  });
  for (const LevelEntry& entry : LevelCatalog()) AddEntry(page, entry.Key(), SplitLines(LevelBlock(entry)));
  page.insert(page.end(), {
      "</div>",
      "</section>",
      "<section id=\"effects\" aria-labelledby=\"effects-heading\">",
      "<h2 id=\"effects-heading\">Stock effects of the 66 categories</h2>",
      "<div class=\"reference\">",
  });
  for (const EffectCategory& category : EffectCatalog())
    AddEntry(page, category.Name(), Lines(category.Files().begin(), category.Files().end()));
  page.insert(page.end(), {
      "</div>",
      "</section>",
      "</main>",
      "<footer><p>ZorvinEffects " + version + ". This page is written by <code>zorvin export --format html</code>"
      " and works offline: it loads nothing.</p></footer>",
  });
  AddBetween(page, "<script>", SplitLines(kPageScript, "\n"), "</script>");
  page.insert(page.end(), {"</body>", "</html>"});
  return page;
}

}  // namespace zorvin::cli

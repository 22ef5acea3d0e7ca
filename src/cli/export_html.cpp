// The page: the reference as plain markup that needs no script, and the tool's
// controls, hidden until the page's script (src/web/page.js) takes them up.
#include <string>

#include "cli/export.h"
#include "cli/text.h"
#include "cli/web_assets.h"  // generated from src/web/
#include "effects/effects_catalog.h"
#include "settings/level_catalog.h"

namespace zorvin::cli {
namespace {

// Ids and fragments made from names: the tables' names are letters, digits
// and underscores, and anything else is spelled out so that an id stays one token.
std::string IdPart(std::string_view name) {
  std::string id;
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    const bool plain = (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || c == '_' || c == '-';
    if (plain) {
      id += c;
    } else {
      constexpr char kHex[] = "0123456789ABCDEF";
      id += '.';
      id += kHex[u >> 4];
      id += kHex[u & 15];
    }
  }
  return id;
}

// A text of several lines (CR LF between them) inside <pre>, one page line each.
void AddPre(Lines& page, std::string_view text, std::string_view attributes = "") {
  Lines lines = SplitLines(text);
  lines.front() = "<pre" + std::string(attributes) + ">" + HtmlEscaped(lines.front());
  for (std::size_t i = 1; i < lines.size(); ++i) lines[i] = HtmlEscaped(lines[i]);
  lines.back() += "</pre>";
  page.insert(page.end(), lines.begin(), lines.end());
}

// The page's own script or style sheet, its lines as the page's lines.
void AddInline(Lines& page, std::string_view tag, std::string_view text) {
  Lines lines = SplitLines(text, "\n");
  lines.front() = "<" + std::string(tag) + ">" + lines.front();
  lines.back() += "</" + std::string(tag) + ">";
  page.insert(page.end(), lines.begin(), lines.end());
}

void AddEntry(Lines& page, std::string_view kind, std::string_view name, std::string_view text) {
  const std::string id = "ref-" + std::string(kind) + "-" + IdPart(name);
  page.push_back("<div class=\"entry\" data-name=\"" + HtmlEscaped(name) + "\">");
  page.push_back("<h3 id=\"" + id + "\">" + HtmlEscaped(name) + "</h3>");
  AddPre(page, text);
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
                   " data-value=\"" + HtmlEscaped(items[i]) + "\">" + HtmlEscaped(items[i]) + "</li>");
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
  AddInline(page, "style", kPageStyle);
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
  for (const LevelEntry& entry : LevelCatalog()) AddEntry(page, "level", entry.Key(), LevelBlock(entry));
  page.insert(page.end(), {
      "</div>",
      "</section>",
      "<section id=\"effects\" aria-labelledby=\"effects-heading\">",
      "<h2 id=\"effects-heading\">Stock effects of the 66 categories</h2>",
      "<div class=\"reference\">",
  });
  for (const EffectCategory& category : EffectCatalog())
    AddEntry(page, "effects", category.Name(), *FindEffectsListing(category.Name()));
  page.insert(page.end(), {
      "</div>",
      "</section>",
      "</main>",
      "<footer><p>ZorvinEffects " + version + ". This page is written by <code>zorvin export --format html</code>"
      " and works offline: it loads nothing.</p></footer>",
  });
  AddInline(page, "script", kPageScript);
  page.insert(page.end(), {"</body>", "</html>"});
  return page;
}

}  // namespace zorvin::cli

// The page's script and style sheet work on its markup by ids, classes and
// data attributes: each one they name must be in the markup the writer fills
// (or, for a class the style sheet names, one the script gives what it makes).
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>

#include "web/page.h"

namespace zorvin::web {
namespace {

struct Page {
  std::string markup;  // before the script, without the style sheet
  std::string style;
  std::string code;
};

Page Parts() {
  std::string page;
  for (const std::string& line : PageLines()) page += line + "\n";
  Page parts;
  const std::size_t script = page.find("<script>");
  const std::size_t style = page.find("<style>"), styleEnd = page.find("</style>");
  parts.code = page.substr(script);
  parts.style = page.substr(style + 7, styleEnd - style - 7);
  parts.markup = page.substr(0, style) + page.substr(styleEnd, script - styleEnd);
  return parts;
}

template <typename Each>
void ForEachMatch(const std::string& text, const std::regex& pattern, Each each) {
  for (auto m = std::sregex_iterator(text.begin(), text.end(), pattern); m != std::sregex_iterator(); ++m) each(*m);
}


// "dataset.fooBar" names data-foo-bar.
std::string DataAttribute(const std::string& camel) {
  std::string name = "data-";
  for (char c : camel) name += std::isupper(static_cast<unsigned char>(c)) ? std::string("-") + char(std::tolower(c)) : std::string(1, c);
  return name;
}

TEST(PageMarkup, EveryIdClassAndDataAttributeTheScriptAndStyleNameIsThere) {
  const Page page = Parts();
  std::set<std::string> ids, classes, attributes;
  ForEachMatch(page.code, std::regex(R"(\$\('([\w-]+)'\))"), [&](const std::smatch& m) { ids.insert(m[1]); });
  // A selector's every string, joined ones too ('.swatches [data-field="' + field + '"] svg').
  const std::regex call(R"(\b(?:querySelector(?:All)?|closest|matches|entries)\(((?:'[^']*'|[^()'])*)\))");
  const std::regex literal(R"('([^']*)')");
  const std::regex token(R"(([#.])([A-Za-z][\w-]*)|\[(data-[\w-]+))");
  ForEachMatch(page.code, call, [&](const std::smatch& m) {
    const std::string argument = m[1];
    ForEachMatch(argument, literal, [&](const std::smatch& piece) {
      const std::string selector = piece[1];
      ForEachMatch(selector, token, [&](const std::smatch& t) {
        if (t[3].matched) attributes.insert(t[3]);
        else (t[1] == "#" ? ids : classes).insert(t[2]);
      });
    });
  });
  ForEachMatch(page.code, std::regex(R"(\.dataset\.(\w+))"), [&](const std::smatch& m) { attributes.insert(DataAttribute(m[1])); });
  ForEachMatch(page.code, std::regex(R"(Attribute\('(data-[\w-]+)')"), [&](const std::smatch& m) { attributes.insert(m[1]); });
  // What the markup holds, read once.
  std::set<std::string> markupIds, markupClasses, markupAttributes, quoted;
  ForEachMatch(page.markup, std::regex(R"re(\sid="([^"]*)")re"), [&](const std::smatch& m) { markupIds.insert(m[1]); });
  ForEachMatch(page.markup, std::regex(R"re(\sclass="([^"]*)")re"), [&](const std::smatch& m) {
    ForEachMatch(m[1].str(), std::regex(R"([^\s]+)"), [&](const std::smatch& c) { markupClasses.insert(c[0]); });
  });
  ForEachMatch(page.markup, std::regex(R"(\s(data-[\w-]+))"), [&](const std::smatch& m) { markupAttributes.insert(m[1]); });
  ForEachMatch(page.code, std::regex(R"('([\w-]+)')"), [&](const std::smatch& m) { quoted.insert(m[1]); });
  EXPECT_GE(ids.size(), 15u) << "the script's reads were not found";
  EXPECT_TRUE(classes.count("swatches")) << "a selector joined from strings was not read";
  EXPECT_TRUE(attributes.count("data-field") && attributes.count("data-numbers") && attributes.count("data-spacer"));
  for (const std::string& id : ids) EXPECT_TRUE(markupIds.count(id)) << "#" << id;
  for (const std::string& name : classes) EXPECT_TRUE(markupClasses.count(name)) << "." << name;
  for (const std::string& name : attributes) EXPECT_TRUE(markupAttributes.count(name)) << name;

  // The style sheet's selectors (what stands outside its rules' braces).
  const std::string selectors = std::regex_replace(std::regex_replace(page.style, std::regex(R"(/\*[\s\S]*?\*/)"), ""),
                                                   std::regex(R"(\{[^{}]*\})"), "{}");
  std::size_t named = 0;
  ForEachMatch(selectors, std::regex(R"(([#.])([A-Za-z][\w-]*))"), [&](const std::smatch& m) {
    ++named;
    const std::string name = m[2];
    if (m[1] == "#") {
      EXPECT_TRUE(markupIds.count(name)) << "page.css #" << name;
    } else {
      // A class the script gives what it makes stands in it as a quoted word.
      EXPECT_TRUE(markupClasses.count(name) || quoted.count(name)) << "page.css ." << name;
    }
  });
  EXPECT_GE(named, 40u) << "the style sheet's selectors were not read";
}

}  // namespace
}  // namespace zorvin::web

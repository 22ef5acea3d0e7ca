// The page's script works on its markup by ids and classes: each one it reads
// must be in the markup the writer fills.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>

#include "web/page.h"

namespace zorvin::web {
namespace {

TEST(PageMarkup, EveryIdAndClassTheScriptReadsIsInTheMarkup) {
  std::string page;
  for (const std::string& line : PageLines()) page += line + "\n";
  const std::size_t script = page.find("<script>");
  ASSERT_NE(script, std::string::npos);
  const std::string markup = page.substr(0, script);
  const std::string code = page.substr(script);

  std::set<std::string> ids, classes;
  const std::regex byId(R"(\$\('([\w-]+)'\))");
  for (auto m = std::sregex_iterator(code.begin(), code.end(), byId); m != std::sregex_iterator(); ++m) ids.insert((*m)[1]);
  // The calls that take a selector: the DOM's, and the script's entries().
  const std::regex query(R"(\b(?:querySelector(?:All)?|closest|entries)\('([^']+)'\))");
  const std::regex token(R"(([#.])([\w-]+))");
  for (auto m = std::sregex_iterator(code.begin(), code.end(), query); m != std::sregex_iterator(); ++m) {
    const std::string selector = (*m)[1];
    for (auto t = std::sregex_iterator(selector.begin(), selector.end(), token); t != std::sregex_iterator(); ++t)
      ((*t)[1] == "#" ? ids : classes).insert((*t)[2]);
  }
  EXPECT_GE(ids.size(), 15u) << "the script's reads were not found";
  for (const std::string& id : ids) EXPECT_NE(markup.find("id=\"" + id + "\""), std::string::npos) << "#" << id;
  for (const std::string& name : classes) {
    EXPECT_TRUE(std::regex_search(markup, std::regex("class=\"([^\"]* )?" + name + "[ \"]"))) << "." << name;
  }
}

}  // namespace
}  // namespace zorvin::web

// zorvin export: the JSON gives back every block and listing, the CSV and
// Markdown carry every row, and the page is self-contained and the same each time.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli_support.h"

namespace zorvin::cli {
namespace {

TEST(Cli, JsonExportGivesBackTheExpectedBlocksAndListings) {
  const Result result = RunArgs({"export", "--format", "json"});
  ASSERT_EQ(result.status, kFound);
  const nlohmann::json all = nlohmann::json::parse(result.out);
  EXPECT_EQ(all["version"], "1.00");
  ASSERT_EQ(all["levels"].size(), GoldenLevels().size());
  for (const auto& level : all["levels"]) {
    const std::string name = level["name"];
    EXPECT_EQ(level["block"], GoldenBlock(name)) << name;
    EXPECT_EQ(level["fields"].size(), 20u);
    EXPECT_EQ(level["fields"]["oChar"], "{");
  }
  EXPECT_EQ(all["levelList"].size(), 42u);
  ASSERT_EQ(all["effects"].size(), GoldenCategories().size());
  for (const auto& category : all["effects"]) {
    std::string listing;
    for (const auto& file : category["files"])
      listing += (listing.empty() ? "" : "\r\n") + file.get<std::string>();
    EXPECT_EQ(listing, GoldenListing(category["category"].get<std::string>()));
  }
}

TEST(Cli, CsvAndMarkdownCarryEveryRow) {
  const Result csv = RunArgs({"export", "--format", "csv"}, LineEnd::CrLf);
  ASSERT_EQ(csv.status, kFound);
  EXPECT_TRUE(csv.out.starts_with("kind,name,field,value\r\n"));
  EXPECT_NE(csv.out.find("level,mp_toujane,color,0.813 0.804 0.706\r\n"), std::string::npos);
  // A block is one quoted value, its own CR LF kept.
  EXPECT_NE(csv.out.find("level,mp_toujane,block,\"" + GoldenBlock("mp_toujane") + "\"\r\n"),
            std::string::npos);
  EXPECT_NE(csv.out.find("effects,Wine_Effects,file,wine_bottle.efx\r\n"), std::string::npos);
  const Result markdown = RunArgs({"export", "--format", "markdown"});
  ASSERT_EQ(markdown.status, kFound);
  EXPECT_NE(markdown.out.find("| mp_toujane | {<br>Northyaw -> <br>_color -> 0.813 0.804 0.706<br>"),
            std::string::npos);
  EXPECT_NE(markdown.out.find("| Ammo_Effects | ammo_supply_exp.efx |\n"), std::string::npos);
}

// The page loads nothing, runs only its own script and style (by hash), and
// holds every block and listing as text.
TEST(Cli, HtmlPageIsSelfContainedAndTheSameEachTime) {
  const Result page = RunArgs({"export", "--format", "html"});
  ASSERT_EQ(page.status, kFound);
  EXPECT_EQ(RunArgs({"export", "--format", "html"}).out, page.out);
  EXPECT_TRUE(page.out.starts_with("<!DOCTYPE html>\n"));
  EXPECT_NE(page.out.find("content=\"default-src 'none'; script-src 'sha256-"), std::string::npos);
  for (const char* absent : {"unsafe-inline", "://", " src=", " style=", " onload", " onclick", " onerror"})
    EXPECT_EQ(page.out.find(absent), std::string::npos) << absent;
  EXPECT_EQ(std::count(page.out.begin(), page.out.end(), '\r'), 0);
  std::size_t blocks = 0;
  for (std::size_t at = page.out.find("<pre>"); at != std::string::npos; at = page.out.find("<pre>", at + 1)) ++blocks;
  EXPECT_EQ(blocks, GoldenLevels().size() + GoldenCategories().size());
  // The block's lines as text ('>' escaped), each in a span of its own.
  std::string block;
  for (std::string line : SplitLines(GoldenBlock("mp_toujane"))) {
    for (std::size_t at; (at = line.find('>')) != std::string::npos;) line.replace(at, 1, "&gt;");
    block += (block.empty() ? "" : "\n") + ("<span>" + line + "</span>");
  }
  EXPECT_NE(page.out.find("<pre>" + block + "</pre>"), std::string::npos) << "as text: '>' escaped";
}

}  // namespace
}  // namespace zorvin::cli

#include "effects/effects_catalog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "golden.h"

namespace zorvin {
namespace {

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", start)) {
    lines.push_back(text.substr(start, at - start));
    start = at + 2;
  }
  lines.push_back(text.substr(start));
  return lines;
}

// Every category's listing, byte for byte, against the file written from the
// reference table; the list shows exactly the categories that have one.
TEST(EffectsListing, EveryCategoryGivesItsExpectedListingByteForByte) {
  ASSERT_EQ(test::GoldenCategories().size(), 66u);
  for (std::string_view category : test::GoldenCategories()) {
    SCOPED_TRACE(category);
    const auto listing = FindEffectsListing(category);
    ASSERT_TRUE(listing.has_value());
    EXPECT_EQ(*listing, test::GoldenListing(category));
  }
  const auto& names = EffectCategoryNames();
  EXPECT_TRUE(std::equal(names.begin(), names.end(), test::GoldenCategories().begin(),
                         test::GoldenCategories().end()));
}

TEST(EffectsListing, MiscKeepsListingOrderOverThirtyLines) {
  const auto listing = FindEffectsListing("Misc_Effects");
  ASSERT_TRUE(listing.has_value());
  EXPECT_EQ(listing->size(), 660u);
  const auto lines = SplitLines(*listing);
  ASSERT_EQ(lines.size(), 30u);
  EXPECT_EQ(lines[0], "cliff_dust_rocks_duhoc.efx");
  EXPECT_EQ(lines[4], "bunker_cavein_duhoc.efx");
  EXPECT_EQ(lines[29], "tincan_bounce.efx");
  EXPECT_FALSE(std::is_sorted(lines.begin(), lines.end()));
}

TEST(EffectsListing, NearMissesFindNothing) {
  const char* misses[] = {
      "",      "misc_effects", "MISC_EFFECTS",    "Misc_Effects ",      " Misc_Effects",    "Misc",
      "Misc_", "Misc_Effect",  "Higgens_Effects", "Tread_Dust_Effects", "Misc_Effects\r\n",
  };
  for (const char* text : misses) EXPECT_FALSE(FindEffectsListing(text).has_value()) << "'" << text << "'";
}

TEST(EffectCategoryNames, SixtySixInDisplayOrder) {
  const auto& names = EffectCategoryNames();
  ASSERT_EQ(names.size(), 66u);
  EXPECT_EQ(names.front(), "American_Effects");
  EXPECT_EQ(names.back(), "Wine_Effects");
  const auto at = [&](std::string_view name) {
    return std::find(names.begin(), names.end(), name) - names.begin();
  };
  const std::string_view run[] = {"Mil_Effects", "Minefield_Effects", "Misc_Effects", "Mm_Effects",
                                  "Mortar_Effects"};
  for (std::size_t i = 1; i < std::size(run); ++i) EXPECT_EQ(at(run[i]), at(run[i - 1]) + 1) << run[i];
  EXPECT_EQ(at("Weapons_Effects"), at("Weapon_Fire_Effects") + 1);
  for (std::string_view name : names) EXPECT_TRUE(FindEffectsListing(name).has_value()) << name;
}

// Counts the catalog's own description gives, which a slip in copying a name would break.
TEST(EffectsCatalog, FileNameCountsMatchTheReferenceFigures) {
  std::size_t files = 0, withCapitals = 0, withBlank = 0, longest = 0;
  for (const EffectCategory& category : EffectCatalog()) {
    for (std::string_view file : category.Files()) {
      ++files;
      withCapitals += std::any_of(file.begin(), file.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
      withBlank += file.find(' ') != std::string_view::npos;
      longest = std::max(longest, file.size());
      EXPECT_TRUE(std::all_of(file.begin(), file.end(), [](char c) { return c > ' ' - 1 && c < 127; }))
          << file;
    }
  }
  EXPECT_EQ(files, 351u);
  EXPECT_EQ(withCapitals, 41u);
  EXPECT_EQ(withBlank, 1u);
  EXPECT_EQ(longest, 39u);
}

}  // namespace
}  // namespace zorvin

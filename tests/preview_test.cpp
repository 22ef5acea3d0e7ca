// The preview against a second model of it (tests/preview/fixtures.json,
// written by make_fixtures.py from the definition alone), CIEDE2000 against
// the paper's pairs, and the likeness of the stock levels.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "light/level_light.h"
#include "preview/color_difference.h"
#include "preview/preview.h"
#include "settings/level_catalog.h"

namespace {

using namespace zorvin;

nlohmann::json Fixtures() {
  std::ifstream file(ZORVIN_PREVIEW_DIR "/fixtures.json");
  return nlohmann::json::parse(file);
}

light::Worldspawn MapOf(const nlohmann::json& fields) {
  light::Worldspawn worldspawn;
  for (const auto& [key, value] : fields.items()) {
    FieldOf(worldspawn.record, *light::FieldOfKey(key)) = value.get<std::string>();
  }
  return worldspawn;
}

std::size_t IndexOf(std::string_view level) {
  return static_cast<std::size_t>(FindLevel(level) - LevelCatalog().data());
}

TEST(Preview, Ciede2000GivesThePapersDifferencesInBothOrders) {
  std::ifstream file(ZORVIN_PREVIEW_DIR "/ciede2000-sharma-2005.tsv");
  int pairs = 0;
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream in(line);
    preview::Lab first{}, second{};
    double expected = 0;
    in >> first.l >> first.a >> first.b >> second.l >> second.a >> second.b >> expected;
    SCOPED_TRACE(line);
    EXPECT_NEAR(preview::Ciede2000(first, second), expected, 0.00005);
    EXPECT_NEAR(preview::Ciede2000(second, first), expected, 0.00005);
    ++pairs;
  }
  EXPECT_EQ(pairs, 34);
}

// A mirrored picture, a shadow on the wrong side, linear light written as
// bytes, a colour read on the wrong scale: each changes a fixture's pixel.
TEST(Preview, EachFixtureLightDrawsItsPixelsAndSaysItsDefaults) {
  const nlohmann::json fixtures = Fixtures();
  for (const auto& fixture : fixtures["lights"]) {
    SCOPED_TRACE(fixture["name"].get<std::string>());
    const preview::Reading reading = preview::ReadPreviewLight(MapOf(fixture["fields"]));
    const preview::Image image = preview::Render(reading.light, fixture["size"].get<int>());
    for (const auto& p : fixture["pixels"]) {
      const auto rgb = p[2].get<std::array<int, 3>>();
      const auto drawn = image.Pixel(p[0].get<int>(), p[1].get<int>());
      EXPECT_EQ((std::array<int, 3>{drawn[0], drawn[1], drawn[2]}), rgb) << "pixel " << p[0] << ", " << p[1];
    }
    std::vector<std::string> keys;
    for (const preview::Default& used : reading.defaults) keys.emplace_back(used.key);
    EXPECT_EQ(keys, fixture["defaults"].get<std::vector<std::string>>());
  }
}

TEST(Preview, DifferencesAreTheMeanOverThePictures) {
  const nlohmann::json fixtures = Fixtures();
  const auto picture = [&](const std::string& name) {
    for (const auto& fixture : fixtures["lights"]) {
      if (fixture["name"] == name) {
        return preview::Render(preview::ReadPreviewLight(MapOf(fixture["fields"])).light, preview::kCompareSize);
      }
    }
    throw std::runtime_error("no fixture " + name);
  };
  for (const auto& pair : fixtures["differences"]) {
    const preview::Image first = picture(pair["first"]), second = picture(pair["second"]);
    EXPECT_NEAR(preview::Difference(first, second), pair["difference"].get<double>(), 0.0001) << pair;
    EXPECT_NEAR(preview::Difference(second, first), pair["difference"].get<double>(), 0.0001) << pair;
  }
}

// The kept differences are the model's (make_stock_differences writes them
// again when the catalog or the model changes), and rank as zorvin similar does.
TEST(Preview, StockLevelsRankByTheModelsDifferences) {
  const auto pictures = preview::StockPictures();
  for (std::size_t a = 0; a < pictures.size(); ++a) {
    for (std::size_t b = a + 1; b < pictures.size(); ++b) {
      ASSERT_EQ(preview::StockDifference(a, b), preview::ShownDifference(preview::Difference(pictures[a], pictures[b])))
          << LevelCatalog()[a].Key() << " and " << LevelCatalog()[b].Key()
          << ": run make_stock_differences > src/preview/stock_differences.cpp";
    }
  }
  const auto nearest = preview::MostAlikeStock(IndexOf("mp_toujane"));
  ASSERT_EQ(nearest.size(), 39u);
  EXPECT_EQ(LevelCatalog()[nearest.front().level].Key(), "sp_toujane");
  // A map with a stock level's light ranks as the level does, the level itself first at 0.
  const auto mapOf = [](const char* name) {
    return preview::Render(
        preview::ReadPreviewLight(light::Worldspawn{"map", light::LevelWorldspawn(*FindLevel(name)).record}).light,
        preview::kCompareSize);
  };
  const auto asMap = preview::MostAlike(mapOf("mp_toujane"), 40);
  ASSERT_EQ(asMap.size(), 40u);
  EXPECT_EQ(LevelCatalog()[asMap[0].level].Key(), "mp_toujane");
  EXPECT_EQ(asMap[0].difference, 0);
  EXPECT_EQ(asMap[1].level, nearest[0].level);
  EXPECT_GT(asMap.back().difference, asMap[1].difference);
  // The few nearest, of which the rest are not compared whole, are the whole ranking's first.
  for (const char* name : {"mp_toujane", "sp_rhine", "mp_dawnville", "sp_88ridge"}) {
    const auto all = preview::MostAlike(mapOf(name), 40);
    for (const std::size_t top : {1u, 3u, 5u, 12u}) {
      const auto few = preview::MostAlike(mapOf(name), top);
      ASSERT_EQ(few.size(), top) << name;
      for (std::size_t i = 0; i < top; ++i) {
        EXPECT_EQ(few[i].level, all[i].level) << name << ", top " << top << ", place " << i;
        EXPECT_EQ(few[i].difference, all[i].difference) << name << ", top " << top << ", place " << i;
      }
    }
  }
}

}  // namespace

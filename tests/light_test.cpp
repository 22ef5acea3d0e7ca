// The light read from the odd forms the tables hold.
#include <gtest/gtest.h>

#include <cmath>

#include "light/level_light.h"
#include "light/light.h"

namespace zorvin::light {
namespace {

TEST(Light, ColoursAreReadOnTheirScaleRoundedHalfUpExactlyAsWritten) {
  struct Case {
    std::string_view value;
    const char* hex;  // nullptr: no colour
  };
  const Case cases[] = {
      {"0.98 0.882 0.745", "#FAE1BE"},
      {"1 .95 .95", "#FFF2F2"},
      {"0.000000 0.501961 1.000000", "#0080FF"},
      {"100 100 105", "#646469"},     // a number above 1: the 0-255 scale
      {"0.5 0.5 .62 1", "#80809E"},   // a fourth number is not drawn
      {"0.3 0.3 0.3", "#4D4D4D"},     // 76.5 exactly as written: halves up, whatever binary makes of 0.3
      {"1.5 0 300", "#0200FF"},       // 1.5 on the 0-255 scale rounds up; 300 is clamped
      {"-0.2 0 0", "#000000"},
      {"1.2", nullptr},
      {"340 68 0 0 0", nullptr},
      {"worldspawn", nullptr},
      {"0.5 0.5", nullptr},
      {"0.5 0.5 x", nullptr},
      {"", nullptr},
  };
  for (const Case& c : cases) {
    const std::optional<Rgb> color = ReadColor(c.value);
    EXPECT_EQ(color ? Hex(*color) : "no colour", c.hex ? c.hex : "no colour") << c.value;
  }
}

TEST(Light, TheSunsDirectionIsItsHeightAboveTheHorizonAndItsYaw) {
  struct Case {
    std::string_view value;
    double elevation, yaw;
  };
  const Case cases[] = {
      {"-45 135 0", 45, 135},
      {"-137.8 305 0", 42.2, 125},  // a pitch past the vertical
      {"340 68 0", 20, 68},
      {"-35 -60 0", 35, 300},       // the yaw in [0, 360)
      {"-70 0 0", 70, 0},
      {"-12.79 -8.3504 0", 12.79, 351.6496},
  };
  for (const Case& c : cases) {
    const std::optional<Sun> sun = ReadSun(c.value);
    ASSERT_TRUE(sun.has_value()) << c.value;
    EXPECT_NEAR(sun->elevation, c.elevation, 1e-9) << c.value;
    EXPECT_NEAR(sun->yaw, c.yaw, 1e-9) << c.value;
  }
  for (std::string_view value : {"-45", "-220", "", "a b c", "1 2 3 4"}) EXPECT_FALSE(ReadSun(value)) << value;
}

TEST(Light, TheSunIsWrittenInWholeDegreesOrToOneDecimal) {
  const struct {
    Sun sun;
    int decimals;
    const char* text;
  } cases[] = {
      {{45, 135}, 0, "45\xC2\xB0 above the horizon, yaw 135\xC2\xB0"},
      {{42.2, 125}, 1, "42.2\xC2\xB0 above the horizon, yaw 125\xC2\xB0"},
      {{12.79, 359.6}, 0, "13\xC2\xB0 above the horizon, yaw 0\xC2\xB0"},  // a yaw that rounds to 360
      {{-0.04, 10.05}, 1, "0\xC2\xB0 above the horizon, yaw 10.1\xC2\xB0"},
      {{-20, 90}, 0, "20\xC2\xB0 below the horizon, yaw 90\xC2\xB0"},
  };
  for (const auto& c : cases) EXPECT_EQ(SunText(c.sun, c.decimals), std::string(c.text));
}

TEST(Light, TwoValuesAreTheSameWrittenDifferentlyOrDifferent) {
  const struct {
    std::string_view a, b;
    Likeness likeness;
  } cases[] = {
      {"1 1 1", "1 1 1", Likeness::same},
      {".4", "0.40", Likeness::writtenDifferently},
      {"1 1 1", "1.000000 1.000000 1", Likeness::writtenDifferently},
      {"-0", "0", Likeness::writtenDifferently},
      {"1 1 1", "1 1 1 1", Likeness::differs},
      {"0.5", "0.05", Likeness::differs},
      {"-45 135 0", "-45 -225 0", Likeness::differs},  // the same direction, other numbers
      {"worldspawn", "Worldspawn", Likeness::differs},
      {"", "0", Likeness::differs},
  };
  for (const auto& c : cases) EXPECT_EQ(Compared(c.a, c.b), c.likeness) << c.a << " / " << c.b;
}

TEST(Light, ALevelsLightAndTwoLevelsComparedComeFromTheCatalog) {
  const LevelLight toujane = ReadLight(*FindLevel("mp_toujane"));
  ASSERT_EQ(toujane.colors.size(), 3u);
  EXPECT_EQ(toujane.colors[0].label, "_color");
  EXPECT_EQ(toujane.colors[2].label, "suncolor");
  ASSERT_TRUE(toujane.sun);

  // A level whose suncolor is one number: no colour, its text kept.
  bool foundNoColour = false;
  for (const LevelEntry& entry : LevelCatalog()) {
    for (const ColorReading& reading : ReadLight(entry).colors) {
      if (!reading.color) foundNoColour = foundNoColour || reading.value == "1.2";
    }
  }
  EXPECT_TRUE(foundNoColour);

  // Each field once, in the record's order, without the braces; a level
  // compared with itself is the same throughout.
  const Worldspawn toujaneWorldspawn = LevelWorldspawn(*FindLevel("mp_toujane"));
  const auto self = Compare(toujaneWorldspawn, toujaneWorldspawn);
  ASSERT_FALSE(self.empty());
  for (std::size_t i = 0; i < self.size(); ++i) {
    EXPECT_EQ(self[i].likeness, Likeness::same) << self[i].label;
    EXPECT_NE(self[i].label, "{");
    if (i > 0) {
      EXPECT_LT(self[i - 1].field, self[i].field);
    }
  }
}

}  // namespace
}  // namespace zorvin::light

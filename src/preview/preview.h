// A picture of a level's light: one small scene, a ball on a ground square
// seen from straight above, lit by a worldspawn's sun, sky and ambient light.
// It is exactly defined, so that zorvin, its PNG and the page draw the same
// pixels. It previews the light; it is not what the map compiler makes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "light/level_light.h"

namespace zorvin::preview {

using Color = std::array<double, 3>;  // linear, each channel 0-1

struct Direction {
  double x, y, z;  // a unit vector; x east, y north, z up
};

// The values the scene is lit by.
struct Light {
  std::optional<Direction> sun;  // toward the sun; none: no direct sun
  Color sunColor{1, 1, 1};       // suncolor
  Color skyColor{1, 1, 1};       // sundiffusecolor
  Color ambientColor{1, 1, 1};   // _color
  double sunlight = 1;           // at least 0
  double diffuseFraction = 0;    // 0-1
  double ambient = 0;            // at least 0
};

// A value the preview could not read, and what it drew instead: a face says
// it as "suncolor '1.2' is not a colour: drawn white", or "sunlight has no
// value: drawn as 1" when the value is empty or missing.
struct Default {
  std::string_view key;    // the worldspawn key: "suncolor", "sunlight", ...
  std::string value;       // as written
  std::string_view fault;  // "is not a colour", "is not a number", "is not a direction"
  std::string_view drawn;  // "drawn white", "drawn as 1", "no direct sun"
  bool HasValue() const;   // other than blanks
};

struct Reading {
  Light light;
  std::vector<Default> defaults;
};

// The light's values, read as the tool reads colours and the sun; defaults
// said in the order suncolor, sundiffusecolor, _color, sundirection,
// sunlight, diffusefraction, ambient.
Reading ReadPreviewLight(const light::Worldspawn& worldspawn);

// An N×N picture, 8-bit sRGB, row by row from the top, 3 bytes a pixel.
struct Image {
  int size = 0;
  std::vector<std::uint8_t> rgb;
  std::array<std::uint8_t, 3> Pixel(int column, int row) const;
};

inline constexpr int kSmallestSize = 16;
inline constexpr int kLargestSize = 4096;

// The scene at size×size (1 or more): pixel (i, j) sees the point
// x = -2 + 4(i + 1/2)/N, y = 2 - 4(j + 1/2)/N; the ball of radius 1 where
// x² + y² < 1, else the ground.
Image Render(const Light& light, int size);
// The same scene's ground alone, the ball's pixels black.
Image RenderGround(const Light& light, int size);

// The byte of a linear value: round_half_up(255 × sRGB(clamp(u, 0, 1))).
std::uint8_t SrgbByte(double linear);

// The size of the pictures two lights are compared at.
inline constexpr int kCompareSize = 64;

// The mean CIEDE2000 difference of two pictures of one size, pixel by pixel.
double Difference(const Image& a, const Image& b);

// The top stock levels by how alike their light looks to the given picture
// (at kCompareSize), nearest first, ties in catalog order; differences
// compared as shown, to one decimal. Levels that cannot be among the top are
// not compared whole.
struct Alike {
  std::size_t level;  // its index in the catalog
  double difference;  // rounded to one decimal
};
std::vector<Alike> MostAlike(const Image& of, std::size_t top);

// The same for a stock level, itself left out, from the differences among
// the stock levels worked out once (stock_differences.cpp).
std::vector<Alike> MostAlikeStock(std::size_t level);

// Two stock levels' difference, to one decimal.
double StockDifference(std::size_t first, std::size_t second);

// Each stock level's picture at kCompareSize, in catalog order: made once.
std::span<const Image> StockPictures();

// A difference as it is shown and ranked: to one decimal.
double ShownDifference(double difference);

}  // namespace zorvin::preview

#include "preview/preview.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <string_view>

#include "preview/color_difference.h"
#include "preview/stock_differences.h"

namespace zorvin::preview {
namespace {

std::string_view KeyOf(Field field) { return light::MapKey(field).value_or(""); }

// A colour field, or white.
Color ReadPreviewColor(const SettingsClass& record, Field field, std::vector<Default>& defaults) {
  const std::string& value = FieldOf(record, field);
  if (const std::optional<light::Rgb> color = light::ReadColor(value)) {
    return {color->channels[0] / 255.0, color->channels[1] / 255.0, color->channels[2] / 255.0};
  }
  defaults.push_back({KeyOf(field), value, light::kNotAColour, "drawn white"});
  return {1, 1, 1};
}

// A field of one number, or its default.
double ReadPreviewNumber(const SettingsClass& record, Field field, double fallback, std::string_view drawn,
                         std::vector<Default>& defaults) {
  const std::string& value = FieldOf(record, field);
  if (const std::optional<double> number = light::ReadNumber(value)) return *number;
  defaults.push_back({KeyOf(field), value, "is not a number", drawn});
  return fallback;
}

double ToRadians(double degrees) { return degrees * std::numbers::pi / 180; }

// The 255 linear values at which the byte steps up: the byte of u is how
// many of them u reaches. Exact where pow per channel would be slow; a
// coarse table of where to start counting makes it a step or two.
struct Steps {
  static constexpr int kBins = 4096;
  std::array<double, 255> thresholds{};
  std::array<std::uint8_t, kBins> start{};
  Steps() {
    for (int k = 1; k <= 255; ++k) {
      const double encoded = (k - 0.5) / 255;
      thresholds[k - 1] = encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
    }
    int byte = 0;
    for (int bin = 0; bin < kBins; ++bin) {
      while (byte < 255 && thresholds[byte] <= static_cast<double>(bin) / kBins) ++byte;
      start[bin] = static_cast<std::uint8_t>(byte);
    }
  }
};

const Steps& TheSteps() {
  static const Steps steps;
  return steps;
}

struct Surface {
  double albedo;
  double normalZ;
  double sunFacing;  // max(0, n·d) × V
};

std::array<std::uint8_t, 3> Shade(const Light& light, const Surface& surface) {
  const double direct = light.sunlight * (1 - light.diffuseFraction) * surface.sunFacing;
  const double sky = light.sunlight * light.diffuseFraction * (1 + surface.normalZ) / 2;
  std::array<std::uint8_t, 3> bytes{};
  for (std::size_t c = 0; c < 3; ++c) {
    const double linear =
        surface.albedo * (direct * light.sunColor[c] + sky * light.skyColor[c] + light.ambient * light.ambientColor[c]);
    bytes[c] = SrgbByte(linear);
  }
  return bytes;
}

}  // namespace

bool Default::HasValue() const { return value.find_first_not_of(" \t") != std::string::npos; }

Reading ReadPreviewLight(const light::Worldspawn& worldspawn) {
  Reading reading;
  const SettingsClass& record = worldspawn.record;
  Light& light = reading.light;
  std::vector<Default>& defaults = reading.defaults;
  light.sunColor = ReadPreviewColor(record, Field::suncolor, defaults);
  light.skyColor = ReadPreviewColor(record, Field::sundiffusecolor, defaults);
  light.ambientColor = ReadPreviewColor(record, Field::color, defaults);
  if (const std::optional<light::Sun> sun = light::ReadSun(record.sundirection)) {
    const double elevation = ToRadians(sun->elevation), yaw = ToRadians(sun->yaw);
    light.sun = Direction{std::cos(elevation) * std::cos(yaw), std::cos(elevation) * std::sin(yaw), std::sin(elevation)};
  } else {
    defaults.push_back({KeyOf(Field::sundirection), record.sundirection, light::kNotADirection, "no direct sun"});
  }
  light.sunlight = std::max(0.0, ReadPreviewNumber(record, Field::sunlight, 1, "drawn as 1", defaults));
  light.diffuseFraction = std::clamp(ReadPreviewNumber(record, Field::diffusefraction, 0, "drawn as 0", defaults), 0.0, 1.0);
  light.ambient = std::max(0.0, ReadPreviewNumber(record, Field::Ambient, 0, "drawn as 0", defaults));
  return reading;
}

std::uint8_t SrgbByte(double linear) {
  if (!(linear > 0)) return 0;  // NaN too
  if (linear >= 1) return 255;
  const Steps& steps = TheSteps();
  // The bin's start is the byte of its lowest value, at most u's.
  int byte = steps.start[static_cast<std::size_t>(linear * Steps::kBins)];
  while (byte < 255 && linear >= steps.thresholds[static_cast<std::size_t>(byte)]) ++byte;
  return static_cast<std::uint8_t>(byte);
}

std::array<std::uint8_t, 3> Image::Pixel(int column, int row) const {
  const std::size_t at = (static_cast<std::size_t>(row) * static_cast<std::size_t>(size) + static_cast<std::size_t>(column)) * 3;
  return {rgb[at], rgb[at + 1], rgb[at + 2]};
}

namespace {

// The scene, or its ground alone (the ball's pixels left black).
Image Draw(const Light& light, int size, bool ball) {
  Image image;
  image.size = size;
  image.rgb.resize(static_cast<std::size_t>(size) * static_cast<std::size_t>(size) * 3);
  const bool sunUp = light.sun && light.sun->z > 0;
  const Direction d = light.sun.value_or(Direction{0, 0, 0});
  // The ground is one colour in the sun and one in the ball's shadow.
  const auto groundLit = Shade(light, {0.5, 1, sunUp ? d.z : 0});
  const auto groundShaded = Shade(light, {0.5, 1, 0});
  std::uint8_t* out = image.rgb.data();
  for (int j = 0; j < size; ++j) {
    const double y = 2 - 4 * (j + 0.5) / size;
    for (int i = 0; i < size; ++i, out += 3) {
      const double x = -2 + 4 * (i + 0.5) / size;
      const double r2 = x * x + y * y;
      std::array<std::uint8_t, 3> bytes;
      if (r2 < 1) {
        if (!ball) continue;
        const double z = std::sqrt(1 - r2);
        const double facing = sunUp ? std::max(0.0, x * d.x + y * d.y + z * d.z) : 0;
        bytes = Shade(light, {0.8, z, facing});
      } else {
        // The ray toward the sun from (x, y, 0) meets the ball (centre (0, 0, 1)).
        const double b = x * d.x + y * d.y - d.z;
        bytes = sunUp && b < 0 && b * b >= r2 ? groundShaded : groundLit;
      }
      out[0] = bytes[0], out[1] = bytes[1], out[2] = bytes[2];
    }
  }
  return image;
}

}  // namespace

Image Render(const Light& light, int size) { return Draw(light, size, true); }

namespace {

// Each pixel's Lab: neighbouring pixels are mostly one colour (the ground),
// worked out once a run.
std::vector<Lab> LabsOf(const Image& image) {
  std::vector<Lab> labs(image.rgb.size() / 3);
  const std::uint8_t* p = image.rgb.data();
  for (std::size_t i = 0; i < labs.size(); ++i, p += 3) {
    labs[i] = i > 0 && p[0] == p[-3] && p[1] == p[-2] && p[2] == p[-1] ? labs[i - 1] : LabOf(p[0], p[1], p[2]);
  }
  return labs;
}

// The mean over the pixels, each run of the same pair of colours worked out once.
double MeanDifference(const Image& a, const std::vector<Lab>& labsA, const Image& b, const std::vector<Lab>& labsB) {
  const std::size_t pixels = labsA.size();
  if (pixels == 0 || a.rgb.size() != b.rgb.size()) return 0;
  double sum = 0, last = 0;
  const std::uint8_t* pa = a.rgb.data();
  const std::uint8_t* pb = b.rgb.data();
  for (std::size_t i = 0; i < pixels; ++i, pa += 3, pb += 3) {
    const bool same = i > 0 && pa[0] == pa[-3] && pa[1] == pa[-2] && pa[2] == pa[-1] && pb[0] == pb[-3] &&
                      pb[1] == pb[-2] && pb[2] == pb[-1];
    if (!same) last = Ciede2000(labsA[i], labsB[i]);
    sum += last;
  }
  return sum / static_cast<double>(pixels);
}

// The pixels of the ground, off the ball, at the size lights are compared at.
const std::vector<std::size_t>& GroundPixels() {
  static const std::vector<std::size_t> pixels = [] {
    std::vector<std::size_t> ground;
    const Image mask = Draw(Light{.sun = std::nullopt, .ambient = 1}, kCompareSize, false);  // the ground white
    for (std::size_t i = 0; i < mask.rgb.size() / 3; ++i) {
      if (mask.rgb[i * 3] != 0) ground.push_back(i);
    }
    return ground;
  }();
  return pixels;
}

// The ground's part of the mean difference of two pictures at kCompareSize,
// each run of the same pair of colours worked out once.
double GroundShare(const Image& a, const std::vector<Lab>& labsA, const Image& b) {
  double sum = 0, last = 0;
  const std::uint8_t* before = nullptr;
  for (const std::size_t i : GroundPixels()) {
    const std::uint8_t* pa = &a.rgb[i * 3];
    const std::uint8_t* pb = &b.rgb[i * 3];
    if (before == nullptr || std::memcmp(pa, before, 3) != 0 || std::memcmp(pb, before + (pb - pa), 3) != 0) {
      last = Ciede2000(labsA[i], LabOf(pb[0], pb[1], pb[2]));
    }
    before = pa;
    sum += last;
  }
  return sum / static_cast<double>(labsA.size());
}

}  // namespace

double Difference(const Image& a, const Image& b) { return MeanDifference(a, LabsOf(a), b, LabsOf(b)); }

double ShownDifference(double difference) { return std::round(difference * 10) / 10; }

std::span<const Image> StockPictures() {
  static const std::vector<Image> pictures = [] {
    std::vector<Image> made;
    for (const LevelEntry& entry : LevelCatalog()) {
      made.push_back(Render(ReadPreviewLight(light::LevelWorldspawn(entry)).light, kCompareSize));
    }
    return made;
  }();
  return pictures;
}

namespace {

std::vector<Alike> Ranked(std::vector<Alike> alike) {
  std::stable_sort(alike.begin(), alike.end(), [](const Alike& x, const Alike& y) { return x.difference < y.difference; });
  return alike;
}

}  // namespace

std::vector<Alike> MostAlike(const Image& of, std::size_t top) {
  const std::vector<Lab> labs = LabsOf(of);  // once for all forty
  const auto catalog = LevelCatalog();
  // The ball covers the same pixels in every picture; the rest, the ground, is
  // two colours in each, cheap to compare, and its share of the mean is a
  // floor under the whole. The levels are taken lowest floor first, and one
  // whose floor is shown above the last of the nearest so far cannot be among
  // them: it is not compared whole.
  struct Candidate {
    std::size_t level;
    Light light;
    double floor;
  };
  std::vector<Candidate> candidates;
  for (std::size_t i = 0; i < catalog.size(); ++i) {
    const Light stock = ReadPreviewLight(light::LevelWorldspawn(catalog[i])).light;
    candidates.push_back({i, stock, GroundShare(of, labs, Draw(stock, kCompareSize, false))});
  }
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const Candidate& x, const Candidate& y) { return x.floor < y.floor; });
  std::vector<Alike> alike;
  for (const Candidate& candidate : candidates) {
    if (alike.size() >= top) {
      const std::vector<Alike> nearest = Ranked(alike);
      // A bound that rounds to the same tenth may still tie, and ties go in catalog order.
      if (ShownDifference(candidate.floor - 1e-9) > nearest[top - 1].difference) break;
    }
    const Image picture = Render(candidate.light, kCompareSize);
    alike.push_back({candidate.level, ShownDifference(MeanDifference(of, labs, picture, LabsOf(picture)))});
  }
  std::sort(alike.begin(), alike.end(), [](const Alike& x, const Alike& y) { return x.level < y.level; });
  alike = Ranked(std::move(alike));
  alike.resize(std::min(alike.size(), top));
  return alike;
}

std::vector<Alike> MostAlikeStock(std::size_t level) {
  std::vector<Alike> alike;
  for (std::size_t i = 0; i < LevelCatalog().size(); ++i) {
    if (i != level) alike.push_back({i, StockDifference(level, i)});
  }
  return Ranked(std::move(alike));
}

double StockDifference(std::size_t first, std::size_t second) {
  if (first == second) return 0;
  const std::size_t a = std::min(first, second), b = std::max(first, second);
  const std::size_t n = LevelCatalog().size();
  // Row a of the upper triangle starts after the rows above it.
  const std::size_t at = a * n - a * (a + 1) / 2 + (b - a - 1);
  return kStockDifferences[at] / 10.0;
}

}  // namespace zorvin::preview

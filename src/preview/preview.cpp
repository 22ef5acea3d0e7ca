// A level's light read for the preview, and its picture drawn.
#include "preview/preview.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <string_view>
#include <vector>

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

// The byte of a linear value, counted up from its bin's start.
inline std::uint8_t SrgbByteBy(const Steps& steps, double linear) {
  if (!(linear > 0)) return 0;  // NaN too
  if (linear >= 1) return 255;
  // The bin's start is the byte of its lowest value, at most u's.
  int byte = steps.start[static_cast<std::size_t>(linear * Steps::kBins)];
  while (byte < 255 && linear >= steps.thresholds[static_cast<std::size_t>(byte)]) ++byte;
  return static_cast<std::uint8_t>(byte);
}

std::array<std::uint8_t, 3> Shade(const Light& light, const Surface& surface) {
  const Steps& steps = TheSteps();
  const double direct = light.sunlight * (1 - light.diffuseFraction) * surface.sunFacing;
  const double sky = light.sunlight * light.diffuseFraction * (1 + surface.normalZ) / 2;
  std::array<std::uint8_t, 3> bytes{};
  for (std::size_t c = 0; c < 3; ++c) {
    const double linear =
        surface.albedo * (direct * light.sunColor[c] + sky * light.skyColor[c] + light.ambient * light.ambientColor[c]);
    bytes[c] = SrgbByteBy(steps, linear);
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

std::uint8_t SrgbByte(double linear) { return SrgbByteBy(TheSteps(), linear); }

std::array<std::uint8_t, 3> Image::Pixel(int column, int row) const {
  const std::size_t at = (static_cast<std::size_t>(row) * static_cast<std::size_t>(size) + static_cast<std::size_t>(column)) * 3;
  return {rgb[at], rgb[at + 1], rgb[at + 2]};
}

namespace {

// The columns of a row of the picture that may be the ball's or in its
// shadow, from the circle and the shadow's edge worked out for the row, two
// pixels wider each side than they say: outside them every pixel is the lit
// ground, and inside them each pixel is still decided by its own test. A row
// holds at most two such runs, merged where they meet; [first, last).
struct Run {
  int first = 0;
  int last = 0;
};

std::array<Run, 2> RunsToTest(int size, double y, const Direction& d, bool sunUp) {
  // Column i's centre is x = -2 + 4 (i + 0.5) / size.
  const auto column = [size](double x) { return (x + 2) * size / 4 - 0.5; };
  const auto run = [&](double from, double to) {
    const int first = static_cast<int>(std::clamp(std::floor(column(from)) - 2, 0.0, static_cast<double>(size)));
    const int last = static_cast<int>(std::clamp(std::ceil(column(to)) + 3, 0.0, static_cast<double>(size)));
    return Run{first, std::max(first, last)};
  };
  std::array<Run, 2> runs{};
  if (y * y < 1) {
    const double half = std::sqrt(1 - y * y);
    runs[0] = run(-half, half);
  }
  if (sunUp) {
    // In the shadow b^2 >= x^2 + y^2 (and b < 0), b = x d.x + c: a quadratic
    // in x, opening downward, so the shadow is within its two roots.
    const double c = y * d.y - d.z;
    const double a = d.x * d.x - 1;
    const double half = d.x * c;
    const double discriminant = half * half - a * (c * c - y * y);
    if (a > -1e-9) {
      runs[1] = {0, size};  // the sun at the horizon's edge: every pixel tested
    } else if (discriminant > -1e-9) {
      const double root = std::sqrt(std::max(0.0, discriminant));
      runs[1] = run((-half + root) / a, (-half - root) / a);
    }
  }
  if (runs[1].first < runs[0].last && runs[0].first < runs[1].last && runs[0].first < runs[0].last) {
    runs[0] = {std::min(runs[0].first, runs[1].first), std::max(runs[0].last, runs[1].last)};
    runs[1] = {};
  }
  return runs;
}

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
  const std::size_t rowBytes = static_cast<std::size_t>(size) * 3;
  std::vector<std::uint8_t> litRow(rowBytes);
  for (std::size_t at = 0; at < rowBytes; at += 3) std::memcpy(&litRow[at], groundLit.data(), 3);
  for (int j = 0; j < size; ++j) {
    const double y = 2 - 4 * (j + 0.5) / size;
    std::uint8_t* const row = image.rgb.data() + static_cast<std::size_t>(j) * rowBytes;
    std::memcpy(row, litRow.data(), rowBytes);
    for (const Run& run : RunsToTest(size, y, d, sunUp)) {
      for (int i = run.first; i < run.last; ++i) {
        std::uint8_t* const out = row + i * 3;
        const double x = -2 + 4 * (i + 0.5) / size;
        const double r2 = x * x + y * y;
        std::array<std::uint8_t, 3> bytes;
        if (r2 < 1) {
          if (!ball) {
            out[0] = out[1] = out[2] = 0;
            continue;
          }
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
  }
  return image;
}

}  // namespace

Image Render(const Light& light, int size) { return Draw(light, size, true); }

Image RenderGround(const Light& light, int size) { return Draw(light, size, false); }

}  // namespace zorvin::preview

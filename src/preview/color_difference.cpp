#include "preview/color_difference.h"

#include <array>
#include <cmath>
#include <numbers>

namespace zorvin::preview {
namespace {

// An 8-bit sRGB channel as linear light.
const std::array<double, 256>& Linear() {
  static const std::array<double, 256> table = [] {
    std::array<double, 256> linear{};
    for (int byte = 0; byte < 256; ++byte) {
      const double u = byte / 255.0;
      linear[byte] = u <= 0.04045 ? u / 12.92 : std::pow((u + 0.055) / 1.055, 2.4);
    }
    return linear;
  }();
  return table;
}

double LabCurve(double t) {
  constexpr double kEdge = 216.0 / 24389.0;  // (6/29)^3
  constexpr double kSlope = 24389.0 / 27.0 / 116.0;
  return t > kEdge ? std::cbrt(t) : kSlope * t + 16.0 / 116.0;
}

constexpr double kPi = std::numbers::pi;
double Radians(double degrees) { return degrees * kPi / 180; }
double Degrees(double radians) { return radians * 180 / kPi; }

// A hue angle in degrees, [0, 360); 0 for a colour with no hue.
double Hue(double b, double a) {
  if (a == 0 && b == 0) return 0;
  const double h = Degrees(std::atan2(b, a));
  return h < 0 ? h + 360 : h;
}

const double kCos30 = std::cos(Radians(30)), kSin30 = std::sin(Radians(30));
const double kCos6 = std::cos(Radians(6)), kSin6 = std::sin(Radians(6));
const double kCos63 = std::cos(Radians(63)), kSin63 = std::sin(Radians(63));

double Seventh(double x) {
  const double x2 = x * x;
  return x2 * x2 * x2 * x;
}

}  // namespace

Lab LabOf(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  const auto& linear = Linear();
  const double r = linear[red], g = linear[green], b = linear[blue];
  const double x = 0.4124564 * r + 0.3575761 * g + 0.1804375 * b;
  const double y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b;
  const double z = 0.0193339 * r + 0.1191920 * g + 0.9503041 * b;
  const double fx = LabCurve(x / 0.95047), fy = LabCurve(y / 1.0), fz = LabCurve(z / 1.08883);
  return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

double Ciede2000(const Lab& first, const Lab& second) {
  const double c1 = std::sqrt(first.a * first.a + first.b * first.b);
  const double c2 = std::sqrt(second.a * second.a + second.b * second.b);
  const double meanC7 = Seventh((c1 + c2) / 2);
  const double g = 0.5 * (1 - std::sqrt(meanC7 / (meanC7 + 6103515625.0)));  // 25^7
  const double a1 = (1 + g) * first.a, a2 = (1 + g) * second.a;
  const double cp1 = std::sqrt(a1 * a1 + first.b * first.b), cp2 = std::sqrt(a2 * a2 + second.b * second.b);
  const double h1 = Hue(first.b, a1), h2 = Hue(second.b, a2);

  const double dL = second.l - first.l;
  const double dC = cp2 - cp1;
  double dh = 0;
  if (cp1 * cp2 != 0) {
    dh = h2 - h1;
    if (dh > 180) dh -= 360;
    else if (dh < -180) dh += 360;
  }
  const double dH = 2 * std::sqrt(cp1 * cp2) * std::sin(Radians(dh / 2));

  const double meanL = (first.l + second.l) / 2;
  const double meanCp = (cp1 + cp2) / 2;
  double meanH = h1 + h2;
  if (cp1 * cp2 != 0) {
    if (std::abs(h1 - h2) <= 180) meanH /= 2;
    else meanH = meanH < 360 ? (meanH + 360) / 2 : (meanH - 360) / 2;
  }
  // cos(h - 30), cos 2h, cos(3h + 6) and cos(4h - 63) from one sine and
  // cosine of h, by the multiple-angle formulas.
  const double cos1 = std::cos(Radians(meanH)), sin1 = std::sin(Radians(meanH));
  const double cos2 = 2 * cos1 * cos1 - 1, sin2 = 2 * sin1 * cos1;
  const double cos3 = cos2 * cos1 - sin2 * sin1, sin3 = sin2 * cos1 + cos2 * sin1;
  const double cos4 = 2 * cos2 * cos2 - 1, sin4 = 2 * sin2 * cos2;
  const double t = 1 - 0.17 * (cos1 * kCos30 + sin1 * kSin30) + 0.24 * cos2 + 0.32 * (cos3 * kCos6 - sin3 * kSin6) -
                   0.20 * (cos4 * kCos63 + sin4 * kSin63);
  const double hueOff = (meanH - 275) / 25;
  const double dTheta = 30 * std::exp(-hueOff * hueOff);
  const double meanCp7 = Seventh(meanCp);
  const double rc = 2 * std::sqrt(meanCp7 / (meanCp7 + 6103515625.0));
  const double l50 = (meanL - 50) * (meanL - 50);
  const double sl = 1 + 0.015 * l50 / std::sqrt(20 + l50);
  const double sc = 1 + 0.045 * meanCp;
  const double sh = 1 + 0.015 * meanCp * t;
  const double rt = -std::sin(Radians(2 * dTheta)) * rc;
  const double l = dL / sl, cc = dC / sc, hh = dH / sh;
  return std::sqrt(l * l + cc * cc + hh * hh + rt * cc * hh);
}

}  // namespace zorvin::preview

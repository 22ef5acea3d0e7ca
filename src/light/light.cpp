#include "light/light.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>

namespace zorvin::light {
namespace {

// A decimal number as written, kept exact: mantissa / 10^scale.
struct Decimal {
  std::int64_t mantissa = 0;
  std::int64_t scale = 1;  // a power of ten
};

// "1", ".62", "-137.8", "0.000000": an optional sign, digits, an optional
// point and digits; at least one digit, at most 15.
std::optional<Decimal> ReadDecimal(std::string_view text) {
  Decimal number;
  bool negative = false, point = false;
  int digits = 0;
  std::size_t at = 0;
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
  for (; at < text.size(); ++at) {
    const char c = text[at];
    if (c == '.' && !point) {
      point = true;
    } else if (c >= '0' && c <= '9' && ++digits <= 15) {
      number.mantissa = number.mantissa * 10 + (c - '0');
      if (point) number.scale *= 10;
    } else {
      return std::nullopt;  // no number, or too long to keep exact
    }
  }
  if (digits == 0) return std::nullopt;
  if (negative) number.mantissa = -number.mantissa;
  return number;
}

double ValueOf(const Decimal& n) { return static_cast<double>(n.mantissa) / static_cast<double>(n.scale); }

// The blanks between a value's numbers: a map written by hand may hold tabs.
constexpr std::string_view kBlanks = " \t";

// Calls each with the value's numbers, split at blanks, in order; false when
// a word is no number (or each says to stop, returning false).
template <typename Each>
bool EachNumber(std::string_view value, Each each) {
  while (!value.empty()) {
    const std::size_t start = value.find_first_not_of(kBlanks);
    if (start == std::string_view::npos) break;
    value.remove_prefix(start);
    const std::size_t end = value.find_first_of(kBlanks);
    const std::optional<Decimal> number = ReadDecimal(value.substr(0, end));
    if (!number || !each(*number)) return false;
    value.remove_prefix(end == std::string_view::npos ? value.size() : end);
  }
  return true;
}

// The value's numbers when it has count of them, else nothing: however long
// the value, no more than count are kept.
template <std::size_t count>
std::optional<std::array<Decimal, count>> ReadNumbers(std::string_view value) {
  std::array<Decimal, count> numbers{};
  std::size_t found = 0;
  const bool read = EachNumber(value, [&](const Decimal& n) {
    if (found == count) return false;
    numbers[found++] = n;
    return true;
  });
  if (!read || found != count) return std::nullopt;
  return numbers;
}

// n / d rounded to the nearest integer, halves up (d > 0).
std::int64_t RoundedHalfUp(std::int64_t n, std::int64_t d) {
  const std::int64_t twice = 2 * n + d;  // floor((n + d/2) / d) = floor((2n + d) / 2d)
  const std::int64_t q = twice / (2 * d);
  return (twice % (2 * d) < 0) ? q - 1 : q;
}

double Radians(double degrees) { return degrees * std::numbers::pi / 180; }
double Degrees(double radians) { return radians * 180 / std::numbers::pi; }

constexpr char kDegree[] = "\xC2\xB0";  // the degree sign in UTF-8

// A number as text to the given decimals, without trailing zeros or "-0".
std::string NumberText(double number, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, number);
  std::string written = text;
  if (written.find('.') != std::string::npos) {
    written.erase(written.find_last_not_of('0') + 1);
    if (written.back() == '.') written.pop_back();
  }
  return written == "-0" ? "0" : written;
}

}  // namespace

std::optional<Rgb> ReadColor(std::string_view value) {
  auto numbers = ReadNumbers<3>(value);
  if (!numbers) {
    const auto four = ReadNumbers<4>(value);  // red, green, blue and a brightness
    if (!four) return std::nullopt;
    numbers = std::array<Decimal, 3>{(*four)[0], (*four)[1], (*four)[2]};
  }
  bool byteScale = false;
  for (std::size_t i = 0; i < 3; ++i) byteScale = byteScale || (*numbers)[i].mantissa > (*numbers)[i].scale;
  Rgb color{};
  for (std::size_t i = 0; i < 3; ++i) {
    const Decimal& n = (*numbers)[i];
    const std::int64_t channel = RoundedHalfUp(byteScale ? n.mantissa : n.mantissa * 255, n.scale);
    color.channels[i] = static_cast<std::uint8_t>(channel < 0 ? 0 : channel > 255 ? 255 : channel);
  }
  return color;
}

std::string Hex(const Rgb& color) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex = "#";
  for (const std::uint8_t channel : color.channels) {
    hex += kDigits[channel >> 4];
    hex += kDigits[channel & 15];
  }
  return hex;
}

std::optional<Sun> ReadSun(std::string_view value) {
  const auto numbers = ReadNumbers<3>(value);
  if (!numbers) return std::nullopt;
  const double pitch = Radians(ValueOf((*numbers)[0])), yaw = Radians(ValueOf((*numbers)[1]));
  const double x = std::cos(pitch) * std::cos(yaw), y = std::cos(pitch) * std::sin(yaw), z = -std::sin(pitch);
  double degrees = Degrees(std::atan2(y, x));
  if (degrees < 0) degrees += 360;
  if (degrees >= 360) degrees -= 360;
  return Sun{Degrees(std::asin(std::clamp(z, -1.0, 1.0))), degrees};
}

std::optional<double> ReadNumber(std::string_view value) {
  const auto numbers = ReadNumbers<1>(value);
  if (!numbers) return std::nullopt;
  return ValueOf(numbers->front());
}

Sun Rounded(const Sun& sun, int decimals) {
  const double unit = std::pow(10.0, decimals);
  const auto rounded = [unit](double degrees) { return std::round(degrees * unit) / unit; };
  const double yaw = rounded(sun.yaw);
  return Sun{rounded(sun.elevation), yaw >= 360 ? yaw - 360 : yaw};
}

std::string SunText(const Sun& sun, int decimals) {
  const Sun shown = Rounded(sun, decimals);
  return NumberText(std::abs(shown.elevation), decimals) + kDegree + " " + (shown.elevation < 0 ? "below" : "above") +
         " the horizon, yaw " + NumberText(shown.yaw, decimals) + kDegree;
}

std::optional<std::string> NumbersKey(std::string_view value) {
  std::string key;
  bool any = false;
  const bool read = EachNumber(value, [&](Decimal n) {
    any = true;
    while (n.scale > 1 && n.mantissa % 10 == 0) n.mantissa /= 10, n.scale /= 10;
    const std::int64_t magnitude = n.mantissa < 0 ? -n.mantissa : n.mantissa;
    std::string digits = std::to_string(magnitude % n.scale + n.scale).substr(1);  // the fraction, zero-padded
    if (!key.empty()) key += ' ';
    if (n.mantissa < 0) key += '-';
    key += std::to_string(magnitude / n.scale);
    if (!digits.empty()) key += "." + digits;
    return true;
  });
  if (!read || !any) return std::nullopt;
  return key;
}

}  // namespace zorvin::light

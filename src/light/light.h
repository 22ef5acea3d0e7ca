// The light of a level read from its settings values: colours as what they
// paint, the sun's direction as where it shines from. Every face of the tool
// (the page, zorvin) takes the reading from here; the values themselves stay
// exactly as the catalog gives them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zorvin::light {

// A colour's channels: a byte each, so that no channel can be past 255.
struct Rgb {
  std::array<std::uint8_t, 3> channels;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A value of three or four numbers as a colour (a fourth is not drawn). When
// any of the first three is above 1 they are on the 0-255 scale, otherwise on
// 0-1; each channel is the number times 255 (or the number itself), rounded to
// the nearest integer with halves up, exactly as written in decimal, and
// clamped to 0-255. Any other value (one number, words) is no colour.
std::optional<Rgb> ReadColor(std::string_view value);

// "#RRGGBB", upper case.
std::string Hex(const Rgb& color);

// Where the sun shines from: its height above the horizon and its yaw, in
// degrees, the yaw in [0, 360).
struct Sun {
  double elevation;
  double yaw;
};

// sundirection's three angles, pitch, yaw and roll in degrees (roll changes no
// direction): the direction toward the sun is (cos p cos y, cos p sin y, -sin p).
// Any value that is not three numbers gives no direction.
std::optional<Sun> ReadSun(std::string_view value);

// A value of one number (blanks around it aside), as written in decimal.
std::optional<double> ReadNumber(std::string_view value);

// A value of one number, as an angle in degrees (Northyaw).
inline std::optional<double> ReadAngle(std::string_view value) { return ReadNumber(value); }

// The sun's angles rounded to the given number of decimals, the nearest at
// that many decimals to the double each angle is (std::round: a double that
// is exactly halfway goes away from zero). The angles are computed, not
// written: the double nearest an angle of 10.15 lies below it and gives 10.1.
// A yaw that rounds to 360 is 0.
Sun Rounded(const Sun& sun, int decimals);

// "45° above the horizon, yaw 135°", the angles to the given number of decimals
// (trailing zeros dropped); a sun under the horizon is "below" it.
std::string SunText(const Sun& sun, int decimals);

// How many decimals of the sun's angles each face shows: zorvin's text and
// JSON, and the page's drawing (its caption and its name).
inline constexpr int kSunDecimals = 1;
inline constexpr int kSunDrawingDecimals = 0;

// What follows a value that is read as no colour, or as no direction.
inline constexpr std::string_view kNotAColour = "is not a colour";
inline constexpr std::string_view kNotADirection = "is not a direction";

// The numbers of a value in one form ("0.4 1 1" for ".40 1.000000 1"), so that
// two values with equal numbers have equal keys; none when the value is not
// numbers alone.
std::optional<std::string> NumbersKey(std::string_view value);

}  // namespace zorvin::light

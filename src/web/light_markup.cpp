#include "web/light_markup.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <utility>

#include "light/level_light.h"
#include "web/html.h"

namespace zorvin::web {
namespace {

// The sun's drawing, in its own units: the horizon's radius, the compass's
// ticks and yaw labels outside it, the disc, how far along Northyaw's line its
// label stands, and how far under the horizon a sun is still drawn (just
// outside the rim).
constexpr double kHorizon = 44;
constexpr double kTick = 4;
constexpr double kYawLabel = 13;
constexpr double kDisc = 6;
constexpr double kNorthLabel = 0.6;
constexpr double kLowestElevation = -9;
constexpr std::string_view kViewBox = "-70 -62 140 124";  // the rim, its ticks and labels, and a disc on them

// A coordinate of the drawing, to a tenth.
std::string At(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", std::abs(value) < 0.05 ? 0.0 : value);
  return text;
}

// Where a yaw points at a distance from the centre: yaw 0 to the right, 90 up.
std::pair<std::string, std::string> Point(double yaw, double distance) {
  const double radians = yaw * std::numbers::pi / 180;
  return {At(distance * std::cos(radians)), At(-distance * std::sin(radians))};
}

std::string Swatch(const light::ColorReading& reading) {
  const std::string label = HtmlEscaped(reading.label);
  const std::string item = "<li data-field=\"" + std::to_string(static_cast<int>(reading.field)) + "\">";
  if (!reading.color) return item + label + ": " + HtmlEscaped(reading.value) + " " + std::string(light::kNotAColour) + "</li>";
  const std::string hex = light::Hex(*reading.color);
  return item + "<svg class=\"swatch\" viewBox=\"0 0 16 16\" role=\"img\" aria-label=\"" + label + ": " + hex +
         "\"><rect x=\".5\" y=\".5\" width=\"15\" height=\"15\" fill=\"" + hex + "\"/></svg><span>" + label +
         "</span> <span><code>" + HtmlEscaped(reading.value) + "</code> <code>" + hex + "</code></span></li>";
}

std::string SunDrawing(const light::LevelLight& reading) {
  if (reading.sunValue.empty()) return "";
  if (!reading.sun) {
    return "<p class=\"sun\">" + HtmlEscaped(reading.sunLabel) + ": " + HtmlEscaped(reading.sunValue) + " " +
           std::string(light::kNotADirection) + "</p>";
  }
  const std::string text = "Sun: " + light::SunText(*reading.sun, light::kSunDrawingDecimals);
  std::string svg = "<div class=\"sun\"><svg viewBox=\"" + std::string(kViewBox) + "\" role=\"img\" aria-label=\"" + text +
                    "\"><use href=\"#compass\"/>";
  if (reading.northyaw) {
    const auto [x, y] = Point(*reading.northyaw, kHorizon);
    const auto [tx, ty] = Point(*reading.northyaw, kHorizon * kNorthLabel);
    svg += "<line class=\"north\" x1=\"0\" y1=\"0\" x2=\"" + x + "\" y2=\"" + y + "\"/><text class=\"north\" x=\"" + tx +
           "\" y=\"" + ty + "\">Northyaw</text>";
  }
  // The height as the distance from the rim: the horizon at the rim, straight
  // up at the centre; a sun under the horizon just outside it.
  const double elevation = std::clamp(reading.sun->elevation, kLowestElevation, 90.0);
  const auto [x, y] = Point(reading.sun->yaw, kHorizon * (90 - elevation) / 90);
  // The disc in the level's suncolor; without one, in the style sheet's.
  std::string fill;
  for (const light::ColorReading& color : reading.colors) {
    if (color.field == Field::suncolor && color.color) fill = " fill=\"" + light::Hex(*color.color) + "\"";
  }
  svg += "<line class=\"ray\" x1=\"0\" y1=\"0\" x2=\"" + x + "\" y2=\"" + y + "\"/><circle class=\"disc\" cx=\"" + x +
         "\" cy=\"" + y + "\" r=\"" + At(kDisc) + "\"" + fill + "/></svg><p aria-hidden=\"true\">" + text + "</p></div>";
  return svg;
}

}  // namespace

std::string CompassSymbol() {
  std::string symbol = "<svg class=\"defs\" aria-hidden=\"true\" focusable=\"false\"><defs><g id=\"compass\">";
  symbol += "<circle class=\"horizon\" r=\"" + At(kHorizon) + "\"/>";
  for (int height : {30, 60}) symbol += "<circle class=\"ring\" r=\"" + At(kHorizon * (90 - height) / 90) + "\"/>";
  for (int yaw : {0, 90, 180, 270}) {
    const auto [x1, y1] = Point(yaw, kHorizon);
    const auto [x2, y2] = Point(yaw, kHorizon + kTick);
    const auto [tx, ty] = Point(yaw, kHorizon + kYawLabel);
    symbol += "<line x1=\"" + x1 + "\" y1=\"" + y1 + "\" x2=\"" + x2 + "\" y2=\"" + y2 + "\"/><text x=\"" + tx +
              "\" y=\"" + ty + "\">" + std::to_string(yaw) + "\xC2\xB0</text>";
  }
  return symbol + "</g></defs></svg>";
}

std::string LightFigure(const LevelEntry& entry) {
  const light::LevelLight reading = light::ReadLight(entry);
  std::string figure = "<div class=\"light\">";
  if (!reading.colors.empty()) {
    figure += "<ul class=\"swatches\">";
    for (const light::ColorReading& color : reading.colors) figure += Swatch(color);
    figure += "</ul>";
  }
  return figure + SunDrawing(reading) + "</div>";
}

std::string FieldList(const LevelEntry& entry) {
  SettingsClass record;
  FillRecord(record, entry);
  std::string list = "<dl class=\"fields\" hidden>";
  for (const FieldRow& row : kFields) {
    const std::string& value = record.*row.member;
    if (!light::HasSetting(row.field, value)) continue;
    list += "<dt>" + HtmlEscaped(light::FieldLabel(row.field, entry.Layout())) + "</dt><dd data-field=\"" +
            std::to_string(static_cast<int>(row.field)) + "\"";
    if (const auto numbers = light::NumbersKey(value)) list += " data-numbers=\"" + *numbers + "\"";
    list += ">" + HtmlEscaped(value) + "</dd>";
  }
  return list + "</dl>";
}

std::string MapKeyText(const LevelEntry& entry) {
  std::string text = "<div class=\"map-keys\" hidden>";
  bool first = true;
  for (const light::MapKeyValue& key : light::MapKeys(entry)) {
    text += (first ? "" : "\n") + HtmlEscaped(light::MapKeyLine(key.key, key.value));
    first = false;
  }
  return text + "</div>";
}

std::string MapKeyList() {
  std::string list = "<ul id=\"map-keys\" hidden>";
  for (const FieldRow& row : kFields) {
    // classname too: a map's worldspawn is compared whole, as a level's is.
    const std::optional<std::string_view> key = light::MapKey(row.field);
    if (!key) continue;
    list += "<li data-field=\"" + std::to_string(static_cast<int>(row.field)) + "\" data-key=\"" + std::string(*key) +
            "\">" + HtmlEscaped(light::FieldLabel(row.field, nullptr)) + "</li>";
  }
  return list + "</ul>";
}

}  // namespace zorvin::web

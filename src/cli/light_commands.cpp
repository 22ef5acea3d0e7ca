// zorvin light and zorvin compare: the core's reading of a level's light, as
// aligned text for a terminal (with swatches in 24-bit colour when asked) or
// as JSON for scripts.
#include <nlohmann/json.hpp>

#include <algorithm>

#include "cli/commands.h"
#include "cli/json_lines.h"
#include "cli/text.h"
#include "light/level_light.h"

namespace zorvin::cli {
namespace {

using light::ColorReading;
using light::ComparedField;
using light::Likeness;

constexpr std::string_view kReset = "\x1b[0m";

// Two blanks painted in the colour, as terminals that take 24-bit colour show them.
std::string Swatch(const light::Rgb& color) {
  const auto& c = color.channels;
  return "\x1b[48;2;" + std::to_string(c[0]) + ";" + std::to_string(c[1]) + ";" + std::to_string(c[2]) + "m  " +
         std::string(kReset);
}

// A cell of a table: its text, measured for the column's width, and what
// is printed around it unmeasured (a swatch and its blank, or bold).
struct Cell {
  std::string text;
  std::string before = {};
  std::string after = {};
};

// Rows of cells as columns, each cell but a row's last padded to its column's
// widest text (the catalog's values are ASCII: a byte is a column). What goes
// before the cells of a column must be as wide in each.
Lines Columns(const std::vector<std::vector<Cell>>& rows) {
  std::vector<std::size_t> widths;
  for (const auto& row : rows) {
    widths.resize(std::max(widths.size(), row.size()));
    for (std::size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row[i].text.size());
  }
  Lines lines;
  for (const auto& row : rows) {
    std::string line;
    for (std::size_t i = 0; i < row.size(); ++i) {
      line += row[i].before + row[i].text + row[i].after;
      if (i + 1 < row.size()) line += std::string(widths[i] - row[i].text.size() + 2, ' ');
    }
    lines.push_back(line);
  }
  return lines;
}

// Where a column has swatches, a cell without one starts with as many blanks.
constexpr std::string_view kNoSwatch = "   ";

std::string SwatchBefore(const light::Rgb& color) { return Swatch(color) + " "; }

bool IsColorField(Field field) {
  return std::find(light::kColorFields.begin(), light::kColorFields.end(), field) != light::kColorFields.end();
}

// A value as a terminal is shown it: a map's control characters escaped
// (the catalog's values are plain ASCII and stay as they are).
std::string AsShown(std::string_view value) { return Escaped(value, value.size()); }

std::string_view FieldName(Field field) { return kFields[static_cast<std::size_t>(field)].name; }

// "written differently" as JSON names it.
std::string StatusName(Likeness likeness) {
  std::string name(light::LikenessText(likeness));
  std::replace(name.begin(), name.end(), ' ', '-');
  return name;
}

}  // namespace

Outcome Light(std::string_view operand, std::span<const std::string> set, Format format, bool colored) {
  auto read = ReadTunedWorldspawn(operand, set);
  if (const Failure* failure = std::get_if<Failure>(&read)) return *failure;
  const light::Worldspawn& worldspawn = std::get<light::Worldspawn>(read);
  const bool isMap = worldspawn.layout == nullptr;
  const light::LevelLight reading = light::ReadLight(worldspawn);
  if (format == Format::Json) {
    nlohmann::ordered_json json;
    json[isMap ? "map" : "level"] = worldspawn.name;
    nlohmann::ordered_json& colors = json["colors"] = nlohmann::ordered_json::array();
    for (const ColorReading& c : reading.colors) {
      nlohmann::ordered_json color;
      color["field"] = FieldName(c.field);
      color["label"] = c.label;
      color["value"] = c.value;
      color["hex"] = c.color ? nlohmann::ordered_json(light::Hex(*c.color)) : nlohmann::ordered_json(nullptr);
      colors.push_back(std::move(color));
    }
    nlohmann::ordered_json& sunJson = json["sun"] = nullptr;
    if (reading.sun) {
      const light::Sun sun = light::Rounded(*reading.sun, light::kSunDecimals);
      sunJson = {{"value", reading.sunValue}, {"elevation", sun.elevation}, {"yaw", sun.yaw}};
    }
    return JsonLines(json);
  }

  std::vector<std::vector<Cell>> rows;
  for (const ColorReading& c : reading.colors) {
    if (c.color) {
      rows.push_back({{std::string(c.label)}, {AsShown(c.value)}, {light::Hex(*c.color), "", colored ? " " + Swatch(*c.color) : ""}});
    } else {
      rows.push_back({{std::string(c.label)}, {AsShown(c.value)}, {std::string(light::kNotAColour)}});
    }
  }
  if (!reading.sunValue.empty()) {
    rows.push_back({{std::string(reading.sunLabel)},
                    {AsShown(reading.sunValue)},
                    {reading.sun ? light::SunText(*reading.sun, light::kSunDecimals) : std::string(light::kNotADirection)}});
  }
  return Columns(rows);
}

Outcome Compare(std::string_view operand, std::string_view other, bool all, Format format, bool colored) {
  auto first = ReadWorldspawn(operand);
  if (const Failure* failure = std::get_if<Failure>(&first)) return *failure;
  auto second = ReadWorldspawn(other);
  if (const Failure* failure = std::get_if<Failure>(&second)) return *failure;
  const light::Worldspawn* sides[] = {&std::get<light::Worldspawn>(first), &std::get<light::Worldspawn>(second)};
  const std::vector<ComparedField> fields = light::Compare(*sides[0], *sides[1]);

  if (format == Format::Json) {
    nlohmann::ordered_json json;
    json["levels"] = {sides[0]->name, sides[1]->name};
    nlohmann::ordered_json& rows = json["fields"] = nlohmann::ordered_json::array();
    for (const ComparedField& f : fields) {
      nlohmann::ordered_json row;
      row["field"] = FieldName(f.field);
      row["label"] = f.label;
      row["values"] = {f.values[0], f.values[1]};
      row["status"] = StatusName(f.likeness);
      rows.push_back(std::move(row));
    }
    return JsonLines(json);
  }

  // With swatches, every value cell starts with one, or with as many blanks.
  const bool swatches = colored && std::any_of(fields.begin(), fields.end(),
                                               [](const ComparedField& f) { return IsColorField(f.field); });
  const std::string blank = swatches ? std::string(kNoSwatch) : "";
  std::vector<std::vector<Cell>> rows = {
      {{"field"}, {AsShown(sides[0]->name), blank}, {AsShown(sides[1]->name), blank}, {"status"}}};
  std::size_t differing = 0;
  for (const ComparedField& f : fields) {
    differing += f.likeness == Likeness::differs;
    if (f.likeness == Likeness::same && !all) continue;
    std::vector<Cell> row = {{std::string(f.label)}};
    for (const std::string& value : f.values) {
      const auto color = swatches && IsColorField(f.field) ? light::ReadColor(value) : std::nullopt;
      row.push_back({AsShown(value), color ? SwatchBefore(*color) : blank});
    }
    const bool bold = colored && f.likeness == Likeness::differs;
    row.push_back({std::string(light::LikenessText(f.likeness)), bold ? "\x1b[1m" : "", bold ? std::string(kReset) : ""});
    rows.push_back(std::move(row));
  }
  Lines lines = rows.size() > 1 ? Columns(rows) : Lines();
  lines.push_back(std::to_string(differing) + " of " + std::to_string(fields.size()) + " fields differ");
  return lines;
}

Lines JsonLines(const nlohmann::ordered_json& json) {
  return SplitLines(json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace), "\n");
}

}  // namespace zorvin::cli

// The worldspawn settings record and its rendering as a settings block.
#pragma once

#include <array>
#include <cstddef>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "settings/fixed_text.h"

namespace zorvin {

// One stock level's worldspawn settings, every value held as the exact text the
// catalog gives: nothing here parses, trims or reformats a value.
struct SettingsClass {
  std::string oChar;
  std::string oChar2;
  std::string northyaw;
  std::string color;
  std::string Ambient;
  std::string sundiffusecolor;
  std::string diffusefraction;
  std::string classname;
  std::string sundirection;
  std::string suncolor;
  std::string sunlight;
  std::string spawnflags;
  std::string origin;
  std::string contrastgain;
  std::string model;
  std::string script_dronelag;
  std::string script_noteworthy;
  std::string script_wait;
  std::string script_delay;
  std::string bouncefraction;
};

// Names a field of SettingsClass, so that tables can refer to it.
enum class Field : unsigned char {
  oChar,
  oChar2,
  northyaw,
  color,
  Ambient,
  sundiffusecolor,
  diffusefraction,
  classname,
  sundirection,
  suncolor,
  sunlight,
  spawnflags,
  origin,
  contrastgain,
  model,
  script_dronelag,
  script_noteworthy,
  script_wait,
  script_delay,
  bouncefraction,
};

// Each field once: its enumerator, its member and the member's name, in the
// order of the enumerators above.
struct FieldRow {
  Field field;
  std::string SettingsClass::*member;
  std::string_view name;
};
inline constexpr FieldRow kFields[] = {
    {Field::oChar, &SettingsClass::oChar, "oChar"},
    {Field::oChar2, &SettingsClass::oChar2, "oChar2"},
    {Field::northyaw, &SettingsClass::northyaw, "northyaw"},
    {Field::color, &SettingsClass::color, "color"},
    {Field::Ambient, &SettingsClass::Ambient, "Ambient"},
    {Field::sundiffusecolor, &SettingsClass::sundiffusecolor, "sundiffusecolor"},
    {Field::diffusefraction, &SettingsClass::diffusefraction, "diffusefraction"},
    {Field::classname, &SettingsClass::classname, "classname"},
    {Field::sundirection, &SettingsClass::sundirection, "sundirection"},
    {Field::suncolor, &SettingsClass::suncolor, "suncolor"},
    {Field::sunlight, &SettingsClass::sunlight, "sunlight"},
    {Field::spawnflags, &SettingsClass::spawnflags, "spawnflags"},
    {Field::origin, &SettingsClass::origin, "origin"},
    {Field::contrastgain, &SettingsClass::contrastgain, "contrastgain"},
    {Field::model, &SettingsClass::model, "model"},
    {Field::script_dronelag, &SettingsClass::script_dronelag, "script_dronelag"},
    {Field::script_noteworthy, &SettingsClass::script_noteworthy, "script_noteworthy"},
    {Field::script_wait, &SettingsClass::script_wait, "script_wait"},
    {Field::script_delay, &SettingsClass::script_delay, "script_delay"},
    {Field::bouncefraction, &SettingsClass::bouncefraction, "bouncefraction"},
};
inline constexpr std::size_t kFieldCount = std::size(kFields);

// Row i names field i, and no member has two rows.
constexpr bool FieldRowsAgree() {
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    if (static_cast<std::size_t>(kFields[i].field) != i) return false;
    for (std::size_t j = 0; j < i; ++j) {
      if (kFields[j].member == kFields[i].member) return false;
    }
  }
  return true;
}
static_assert(FieldRowsAgree(), "kFields: one row per field, in the order of Field");
static_assert(static_cast<std::size_t>(Field::bouncefraction) + 1 == kFieldCount,
              "every Field needs its row in kFields");
static_assert(sizeof(SettingsClass) == kFieldCount * sizeof(std::string),
              "every member of SettingsClass needs its Field and its row in kFields");

std::string& FieldOf(SettingsClass& record, Field field);
const std::string& FieldOf(const SettingsClass& record, Field field);

// Sets every field to the empty text.
void Clear(SettingsClass& record);

// One line of a block: a label followed by the values of up to two fields.
struct LayoutLine {
  FixedText<23> label;
  std::optional<Field> first;
  std::optional<Field> second;

  constexpr bool Shows(Field field) const { return first == field || second == field; }
  friend constexpr bool operator==(const LayoutLine&, const LayoutLine&) = default;
};

namespace lines {
// The standard lines, in their order. Every label ends with a blank.
inline constexpr std::array<LayoutLine, 9> kStandard{{
    {"Northyaw -> ", Field::northyaw, {}},
    {"_color -> ", Field::color, {}},
    {"ambient -> ", Field::Ambient, {}},
    {"sundiffusecolor -> ", Field::sundiffusecolor, {}},
    {"diffusefraction -> ", Field::diffusefraction, {}},
    {"classname -> ", Field::classname, {}},
    {"sundirection -> ", Field::sundirection, {}},
    {"suncolor -> ", Field::suncolor, {}},
    {"sunlight -> ", Field::sunlight, {}},
}};

// The first two of the contrast-gain lines; standard lines 2 to 9 follow them.
// The "Northyaw -> " line carries no value: northyaw follows the contrast gain.
inline constexpr LayoutLine kBareNorthyaw{"Northyaw -> ", {}, {}};
inline constexpr LayoutLine kContrastGain{"-contrastgain ->", Field::contrastgain, Field::northyaw};

// Lead lines (before the body). Note the two spellings of the model label.
inline constexpr LayoutLine kModelCapital{"Model ->", Field::model, {}};
inline constexpr LayoutLine kModelLower{"model ->", Field::model, {}};
inline constexpr LayoutLine kScriptDronelag{"script_dronelag -> ", Field::script_dronelag, {}};
inline constexpr LayoutLine kScriptNoteworthy{"script_noteworthy -> ", Field::script_noteworthy, {}};
inline constexpr LayoutLine kScriptWait{"script_wait -> ", Field::script_wait, {}};
inline constexpr LayoutLine kScriptDelay{"script_delay ->", Field::script_delay, {}};
inline constexpr LayoutLine kBouncefraction{"bouncefraction ->", Field::bouncefraction, {}};

// Tail lines (after the body).
inline constexpr LayoutLine kSpawnflags{"spawnflags ->", Field::spawnflags, {}};
inline constexpr LayoutLine kOrigin{"origin ->", Field::origin, {}};
}  // namespace lines

enum class Body : unsigned char { Standard, ContrastGain };

// The lines of a settings block between "{" and "}": an optional lead line, the
// standard or the contrast-gain lines, and an optional tail line.
class BlockLayout {
 public:
  static constexpr std::size_t kMaxLines = 12;

  constexpr BlockLayout(std::optional<LayoutLine> lead, Body body, std::optional<LayoutLine> tail) {
    if (lead) Append(*lead);
    if (body == Body::ContrastGain) {
      Append(lines::kBareNorthyaw);
      Append(lines::kContrastGain);
      for (std::size_t i = 1; i < lines::kStandard.size(); ++i) Append(lines::kStandard[i]);
    } else {
      for (const LayoutLine& line : lines::kStandard) Append(line);
    }
    if (tail) Append(*tail);
  }

  constexpr const LayoutLine* begin() const { return lines_.data(); }
  constexpr const LayoutLine* end() const { return lines_.data() + count_; }
  constexpr std::size_t size() const { return count_; }

  constexpr bool Shows(Field field) const {
    for (const LayoutLine& line : *this) {
      if (line.Shows(field)) return true;
    }
    return false;
  }

  friend constexpr bool operator==(const BlockLayout&, const BlockLayout&) = default;

 private:
  constexpr void Append(const LayoutLine& line) { lines_[count_++] = line; }

  std::array<LayoutLine, kMaxLines> lines_{};
  std::size_t count_ = 0;
};

// Line separator of every multi-line text the program produces.
inline constexpr std::string_view kLineBreak = "\r\n";

// The settings block: oChar, then each layout line (label, then its field
// values), then oChar2, joined by CR LF with none after the last line.
std::string RenderBlock(const SettingsClass& record, const BlockLayout& layout);

}  // namespace zorvin

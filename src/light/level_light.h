// A level's light as the faces show it: its colour fields with what they
// paint, its sun, and two levels compared field by field. Read from the
// catalog here, once, for the page's writer and for zorvin alike.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "light/light.h"
#include "settings/level_catalog.h"

namespace zorvin::light {

// The block's opening and closing braces, which are no setting.
bool IsBrace(Field field);

// Whether a level or a map has a field, as its light and its comparison
// count it: a setting, not a brace, with a value. The page's writer lists
// the fields this gives, and its script compares those alone.
bool HasSetting(Field field, std::string_view value);

// The label a level's block gives a field, without its arrow: "_color",
// "ambient", "-contrastgain", "Model" or "model" as the layout spells it.
// Without a layout (a map's worldspawn): its standard label, else its name.
std::string_view FieldLabel(Field field, const BlockLayout* layout);
inline std::string_view FieldLabel(Field field, const BlockLayout& layout) { return FieldLabel(field, &layout); }

// The record's fields as a map source's worldspawn keys: the block's label
// without its arrow and blank, in lower case, "-contrastgain" without its dash
// ("northyaw", "_color", "contrastgain", "model", "classname"). The braces
// have none.
std::optional<std::string_view> MapKey(Field field);

// Whether a level gives a map this field: every key but classname, which a
// map's worldspawn has already.
bool IsWrittenToMaps(Field field);

// The field a worldspawn key names, its case ignored as the map compilers
// ignore it ("_COLOR" is _color); classname too; none for any other key.
std::optional<Field> FieldOfKey(std::string_view key);

// The light's keys: _color, ambient, sundiffusecolor, diffusefraction,
// sundirection, suncolor, sunlight and contrastgain.
bool IsLightField(Field field);

struct MapKeyValue {
  Field field;
  std::string_view key;
  std::string_view value;  // exactly as the catalog spells it
};

// Every key written to maps that the level gives a non-empty value, in its block's order.
std::vector<MapKeyValue> MapKeys(const LevelEntry& entry);

// "\"key\" \"value\"", a map source's key line.
std::string MapKeyLine(std::string_view key, std::string_view value);

// A worldspawn as the faces read it: a stock level's, or the one a map
// source holds (its keys mapped to the record's fields).
struct Worldspawn {
  std::string name;                     // the level's, or the map's file name
  SettingsClass record;
  const BlockLayout* layout = nullptr;  // the level's block layout; none for a map
};

Worldspawn LevelWorldspawn(const LevelEntry& entry);

// The fields that hold a colour, in the record's order.
inline constexpr std::array kColorFields = {Field::color, Field::sundiffusecolor, Field::suncolor};

struct ColorReading {
  Field field;
  std::string_view label;
  std::string value;
  std::optional<Rgb> color;  // none: the value is no colour
};

struct LevelLight {
  std::vector<ColorReading> colors;  // each colour field the level has
  std::string sunValue;              // sundirection as written; empty when the level has none
  std::string_view sunLabel;         // its label, as the level's block spells it
  std::optional<Sun> sun;
  std::optional<double> northyaw;    // Northyaw in degrees, when it is one number
};

LevelLight ReadLight(const Worldspawn& worldspawn);
inline LevelLight ReadLight(const LevelEntry& entry) { return ReadLight(LevelWorldspawn(entry)); }

enum class Likeness { same, writtenDifferently, differs };

// "same", "written differently", "differs".
std::string_view LikenessText(Likeness likeness);

struct ComparedField {
  Field field;
  std::string_view label;
  std::array<std::string, 2> values;
  Likeness likeness;
};

// One row per field that either level has (the braces aside), in the
// record's order: "same" for the same text, "written differently" for the
// same numbers written otherwise, else "differs".
std::vector<ComparedField> Compare(const Worldspawn& first, const Worldspawn& second);

Likeness Compared(std::string_view a, std::string_view b);

}  // namespace zorvin::light

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

// The label a level's block gives a field, without its arrow: "_color",
// "ambient", "-contrastgain", "Model" or "model" as the layout spells it.
std::string_view FieldLabel(Field field, const BlockLayout& layout);

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
  std::optional<Sun> sun;
  std::optional<double> northyaw;    // Northyaw in degrees, when it is one number
};

LevelLight ReadLight(const LevelEntry& entry);

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
std::vector<ComparedField> Compare(const LevelEntry& first, const LevelEntry& second);

Likeness Compared(std::string_view a, std::string_view b);

}  // namespace zorvin::light

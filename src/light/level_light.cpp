#include "light/level_light.h"

#include <algorithm>

namespace zorvin::light {
namespace {

// "_color -> " to "_color", "-contrastgain ->" to "-contrastgain".
std::string_view WithoutArrow(std::string_view label) { return label.substr(0, label.find(" ->")); }

SettingsClass Filled(const LevelEntry& entry) {
  SettingsClass record;
  FillRecord(record, entry);
  return record;
}

}  // namespace

bool IsBrace(Field field) { return field == Field::oChar || field == Field::oChar2; }

std::string_view FieldLabel(Field field, const BlockLayout& layout) {
  for (const LayoutLine& line : layout) {
    if (line.first == field) return WithoutArrow(line.label);
  }
  // A field the layout carries second (northyaw after the contrast gain) or
  // not at all: its standard label, else its name.
  for (const LayoutLine& line : lines::kStandard) {
    if (line.first == field) return WithoutArrow(line.label);
  }
  return kFields[static_cast<std::size_t>(field)].name;
}

LevelLight ReadLight(const LevelEntry& entry) {
  const SettingsClass record = Filled(entry);
  LevelLight light;
  for (Field field : kColorFields) {
    const std::string& value = FieldOf(record, field);
    if (!value.empty()) light.colors.push_back({field, FieldLabel(field, entry.Layout()), value, ReadColor(value)});
  }
  light.sunValue = record.sundirection;
  light.sun = ReadSun(record.sundirection);
  light.northyaw = ReadAngle(record.northyaw);
  return light;
}

std::string_view LikenessText(Likeness likeness) {
  switch (likeness) {
    case Likeness::same: return "same";
    case Likeness::writtenDifferently: return "written differently";
    case Likeness::differs: break;
  }
  return "differs";
}

Likeness Compared(std::string_view a, std::string_view b) {
  if (a == b) return Likeness::same;
  const auto keyA = NumbersKey(a);
  return keyA && keyA == NumbersKey(b) ? Likeness::writtenDifferently : Likeness::differs;
}

std::vector<ComparedField> Compare(const LevelEntry& first, const LevelEntry& second) {
  const SettingsClass records[] = {Filled(first), Filled(second)};
  std::vector<ComparedField> rows;
  for (const FieldRow& row : kFields) {
    if (IsBrace(row.field)) continue;
    const std::string& a = records[0].*row.member;
    const std::string& b = records[1].*row.member;
    if (a.empty() && b.empty()) continue;
    // The label as the level that has the field spells it (model or Model).
    const BlockLayout& layout = a.empty() ? second.Layout() : first.Layout();
    rows.push_back({row.field, FieldLabel(row.field, layout), {a, b}, Compared(a, b)});
  }
  return rows;
}

}  // namespace zorvin::light

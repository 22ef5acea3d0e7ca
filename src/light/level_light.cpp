#include "light/level_light.h"

#include <algorithm>

namespace zorvin::light {
namespace {

// "_color -> " to "_color", "-contrastgain ->" to "-contrastgain".
std::string_view WithoutArrow(std::string_view label) { return label.substr(0, label.find(" ->")); }

// Each field a level can give a map, with its key (the standard labels'
// spellings in lower case; the lead, tail and contrast-gain lines' names).
struct KeyRow {
  Field field;
  std::string_view key;
};
constexpr KeyRow kMapKeys[] = {
    {Field::northyaw, "northyaw"},
    {Field::color, "_color"},
    {Field::Ambient, "ambient"},
    {Field::sundiffusecolor, "sundiffusecolor"},
    {Field::diffusefraction, "diffusefraction"},
    {Field::classname, "classname"},
    {Field::sundirection, "sundirection"},
    {Field::suncolor, "suncolor"},
    {Field::sunlight, "sunlight"},
    {Field::spawnflags, "spawnflags"},
    {Field::origin, "origin"},
    {Field::contrastgain, "contrastgain"},
    {Field::model, "model"},
    {Field::script_dronelag, "script_dronelag"},
    {Field::script_noteworthy, "script_noteworthy"},
    {Field::script_wait, "script_wait"},
    {Field::script_delay, "script_delay"},
    {Field::bouncefraction, "bouncefraction"},
};
static_assert(std::size(kMapKeys) + 2 == kFieldCount, "every field but the braces has its key");

constexpr Field kLightFields[] = {Field::color,        Field::Ambient,  Field::sundiffusecolor, Field::diffusefraction,
                                  Field::sundirection, Field::suncolor, Field::sunlight,        Field::contrastgain};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

}  // namespace

bool IsBrace(Field field) { return field == Field::oChar || field == Field::oChar2; }

bool HasSetting(Field field, std::string_view value) { return !IsBrace(field) && !value.empty(); }

std::string_view FieldLabel(Field field, const BlockLayout* layout) {
  if (layout != nullptr) {
    for (const LayoutLine& line : *layout) {
      if (line.first == field) return WithoutArrow(line.label);
    }
  }
  // A field the layout carries second (northyaw after the contrast gain) or
  // not at all: its standard label, else its name.
  for (const LayoutLine& line : lines::kStandard) {
    if (line.first == field) return WithoutArrow(line.label);
  }
  return kFields[static_cast<std::size_t>(field)].name;
}

std::optional<std::string_view> MapKey(Field field) {
  for (const KeyRow& row : kMapKeys) {
    if (row.field == field) return row.key;
  }
  return std::nullopt;
}

std::optional<Field> FieldOfKey(std::string_view key) {
  for (const KeyRow& row : kMapKeys) {
    if (SameIgnoringCase(row.key, key)) return row.field;
  }
  return std::nullopt;
}

bool IsWrittenToMaps(Field field) { return MapKey(field) && field != Field::classname; }

bool IsLightField(Field field) { return std::find(std::begin(kLightFields), std::end(kLightFields), field) != std::end(kLightFields); }

std::vector<MapKeyValue> MapKeys(const LevelEntry& entry) {
  std::vector<MapKeyValue> keys;
  for (const LayoutLine& line : entry.Layout()) {
    for (const std::optional<Field>& field : {line.first, line.second}) {
      if (!field || !IsWrittenToMaps(*field)) continue;
      std::string_view value;  // the last the level assigns, as its record holds
      for (const FieldValue& given : entry.Values()) {
        if (given.field == *field) value = given.value;
      }
      if (!value.empty()) keys.push_back({*field, *MapKey(*field), value});
    }
  }
  return keys;
}

std::string MapKeyLine(std::string_view key, std::string_view value) {
  return "\"" + std::string(key) + "\" \"" + std::string(value) + "\"";
}

Worldspawn LevelWorldspawn(const LevelEntry& entry) {
  Worldspawn worldspawn{std::string(entry.Key()), {}, &entry.Layout()};
  FillRecord(worldspawn.record, entry);
  return worldspawn;
}

LevelLight ReadLight(const Worldspawn& worldspawn) {
  const SettingsClass& record = worldspawn.record;
  LevelLight light;
  for (Field field : kColorFields) {
    const std::string& value = FieldOf(record, field);
    if (HasSetting(field, value)) light.colors.push_back({field, FieldLabel(field, worldspawn.layout), value, ReadColor(value)});
  }
  light.sunValue = record.sundirection;
  light.sunLabel = FieldLabel(Field::sundirection, worldspawn.layout);
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

std::vector<ComparedField> Compare(const Worldspawn& first, const Worldspawn& second) {
  std::vector<ComparedField> rows;
  for (const FieldRow& row : kFields) {
    const std::string& a = first.record.*row.member;
    const std::string& b = second.record.*row.member;
    if (!HasSetting(row.field, a) && !HasSetting(row.field, b)) continue;
    // The label as the level that has the field spells it (model or Model).
    const BlockLayout* layout = a.empty() ? second.layout : first.layout;
    rows.push_back({row.field, FieldLabel(row.field, layout), {a, b}, Compared(a, b)});
  }
  return rows;
}

}  // namespace zorvin::light

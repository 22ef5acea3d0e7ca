#include "light/tuning.h"

#include <algorithm>

namespace zorvin::light {

std::variant<Tuning, TuningFault> ReadTuning(std::string_view text) {
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return TuningFault{TuningFault::Kind::noEquals, std::string(text), "", ""};
  const std::string key(text.substr(0, equals));
  std::string value(text.substr(equals + 1));
  const std::optional<Field> field = FieldOfKey(key);
  if (!field || !IsLightField(*field)) return TuningFault{TuningFault::Kind::noLightKey, key, value, ""};
  if (value.empty()) return Tuning{*field, std::move(value)};
  const bool color = std::find(kColorFields.begin(), kColorFields.end(), *field) != kColorFields.end();
  std::string_view needs;
  if (color && !ReadColor(value)) needs = "three or four numbers";
  if (*field == Field::sundirection && !ReadSun(value)) needs = "three numbers";
  if (!color && *field != Field::sundirection && !ReadNumber(value)) needs = "one number";
  if (!needs.empty()) return TuningFault{TuningFault::Kind::badValue, key, value, needs};
  return Tuning{*field, std::move(value)};
}

std::vector<std::string_view> LightKeyNames() {
  std::vector<std::string_view> names;
  for (int i = 0; i < static_cast<int>(kFieldCount); ++i) {
    const auto field = static_cast<Field>(i);
    if (IsLightField(field)) names.push_back(*MapKey(field));
  }
  return names;
}

void Tune(SettingsClass& record, std::span<const Tuning> tunings) {
  for (const Tuning& tuning : tunings) FieldOf(record, tuning.field) = tuning.value;
}

std::vector<MapKeyValue> MapKeys(const SettingsClass& record, const BlockLayout& layout) {
  std::vector<MapKeyValue> keys;
  const auto add = [&](Field field) {
    const std::string& value = FieldOf(record, field);
    if (IsWrittenToMaps(field) && !value.empty()) keys.push_back({field, *MapKey(field), value});
  };
  const bool linesContrastGain = layout.Shows(Field::contrastgain);
  for (const LayoutLine& line : layout) {
    if (!linesContrastGain && line.first == Field::northyaw) add(Field::contrastgain);
    for (const std::optional<Field>& field : {line.first, line.second}) {
      if (field) add(*field);
    }
  }
  return keys;
}

}  // namespace zorvin::light

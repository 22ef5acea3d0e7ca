#include "settings/settings_record.h"

namespace zorvin {
namespace {

// Indexed by Field, so the order here is the declaration order of SettingsClass.
constexpr std::array<std::string SettingsClass::*, kFieldCount> kMembers{
    &SettingsClass::oChar,
    &SettingsClass::oChar2,
    &SettingsClass::northyaw,
    &SettingsClass::color,
    &SettingsClass::Ambient,
    &SettingsClass::sundiffusecolor,
    &SettingsClass::diffusefraction,
    &SettingsClass::classname,
    &SettingsClass::sundirection,
    &SettingsClass::suncolor,
    &SettingsClass::sunlight,
    &SettingsClass::spawnflags,
    &SettingsClass::origin,
    &SettingsClass::contrastgain,
    &SettingsClass::model,
    &SettingsClass::script_dronelag,
    &SettingsClass::script_noteworthy,
    &SettingsClass::script_wait,
    &SettingsClass::script_delay,
    &SettingsClass::bouncefraction,
};
static_assert(static_cast<std::size_t>(Field::bouncefraction) + 1 == kFieldCount);
static_assert(sizeof(SettingsClass) == kFieldCount * sizeof(std::string),
              "every field of SettingsClass needs its Field and its entry above");

}  // namespace

std::string& FieldOf(SettingsClass& record, Field field) {
  return record.*kMembers[static_cast<std::size_t>(field)];
}

const std::string& FieldOf(const SettingsClass& record, Field field) {
  return record.*kMembers[static_cast<std::size_t>(field)];
}

void Clear(SettingsClass& record) {
  for (auto member : kMembers) (record.*member).clear();
}

std::string RenderBlock(const SettingsClass& record, const BlockLayout& layout) {
  std::string block = record.oChar;
  for (const LayoutLine& line : layout) {
    block += kLineBreak;
    block += line.label;
    if (line.first) block += FieldOf(record, *line.first);
    if (line.second) block += FieldOf(record, *line.second);
  }
  block += kLineBreak;
  block += record.oChar2;
  return block;
}

}  // namespace zorvin

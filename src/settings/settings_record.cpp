#include "settings/settings_record.h"

namespace zorvin {

std::string& FieldOf(SettingsClass& record, Field field) {
  return record.*kFields[static_cast<std::size_t>(field)].member;
}

const std::string& FieldOf(const SettingsClass& record, Field field) {
  return record.*kFields[static_cast<std::size_t>(field)].member;
}

void Clear(SettingsClass& record) {
  for (const FieldRow& row : kFields) (record.*row.member).clear();
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

// A tuned light: a level's or a map's light with some of its light keys
// given other values, each kept exactly as written ("--set sunlight=1.2").
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "light/level_light.h"

namespace zorvin::light {

struct Tuning {
  Field field;        // one of the light keys
  std::string value;  // as written; empty: no value
};

// What a KEY=VALUE that cannot be taken gets wrong.
struct TuningFault {
  enum class Kind { noEquals, noLightKey, badValue } kind;
  std::string key;         // as written
  std::string value;       // as written
  std::string_view needs;  // for a bad value: "three or four numbers", "three numbers", "one number"
};

// "KEY=VALUE": KEY one of the light keys in any case, VALUE of the shape its
// key takes (a colour three or four numbers, sundirection three, the others
// one) or empty.
std::variant<Tuning, TuningFault> ReadTuning(std::string_view text);

// The light keys as maps spell them, in the order a tuned light lists them.
std::vector<std::string_view> LightKeyNames();

// The record with each tuning's value in place of its own, the later of a key
// given twice.
void Tune(SettingsClass& record, std::span<const Tuning> tunings);

// Every key written to maps that the record gives a value, in the layout's
// order; contrastgain, which a standard block has no line for, where the
// contrast-gain block puts it, before northyaw. The views are into record.
std::vector<MapKeyValue> MapKeys(const SettingsClass& record, const BlockLayout& layout);

}  // namespace zorvin::light

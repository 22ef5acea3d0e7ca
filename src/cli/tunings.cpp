// --set KEY=VALUE: a light tuned on the command line, read before anything
// is read or written, so that a usage error changes nothing.
#include "cli/commands.h"
#include "cli/text.h"

namespace zorvin::cli {

std::variant<Tunings, Failure> ReadTunings(std::span<const std::string> texts) {
  Tunings tunings;
  for (const std::string& text : texts) {
    auto read = light::ReadTuning(text);
    if (light::Tuning* tuning = std::get_if<light::Tuning>(&read)) {
      tunings.push_back(std::move(*tuning));
      continue;
    }
    const light::TuningFault& fault = std::get<light::TuningFault>(read);
    switch (fault.kind) {
      case light::TuningFault::Kind::noEquals:
        return Failure{kBadUsage, "--set takes KEY=VALUE, not " + Shown(text)};
      case light::TuningFault::Kind::noLightKey: {
        const std::vector<std::string_view> keys = light::LightKeyNames();
        const std::string nearest = DidYouMean(fault.key, keys);
        return Failure{kBadUsage, "no light key " + Shown(fault.key) +
                                      (nearest.empty() ? "; the light keys are _color, ambient, sundiffusecolor, "
                                                         "diffusefraction, sundirection, suncolor, sunlight and contrastgain"
                                                       : nearest)};
      }
      case light::TuningFault::Kind::badValue: {
        const std::string key(*light::MapKey(*light::FieldOfKey(fault.key)));
        return Failure{kBadUsage, key + " cannot be " + Shown(fault.value) + ": it takes " + std::string(fault.needs) +
                                      " (or nothing, for no value)"};
      }
    }
  }
  return tunings;
}

ReadOutcome ReadTunedWorldspawn(std::string_view operand, std::span<const std::string> set) {
  auto tunings = ReadTunings(set);
  if (Failure* failure = std::get_if<Failure>(&tunings)) return std::move(*failure);
  auto read = ReadWorldspawn(operand);
  if (light::Worldspawn* worldspawn = std::get_if<light::Worldspawn>(&read)) {
    light::Tune(worldspawn->record, std::get<Tunings>(tunings));
  }
  return read;
}

}  // namespace zorvin::cli

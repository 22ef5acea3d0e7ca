// A JSON result as zorvin prints it: indented by two, a line each, ended on
// writing; a map's bytes that are not UTF-8 as U+FFFD.
#pragma once

#include <nlohmann/json.hpp>

#include "cli/outcome.h"

namespace zorvin::cli {

Lines JsonLines(const nlohmann::ordered_json& json);

}  // namespace zorvin::cli

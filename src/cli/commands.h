// zorvin's commands over the core's tables. Each gives the lines it prints,
// or a failure: a name not found, or a text it cannot look for.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cli/outcome.h"

namespace zorvin::cli {

// The settings block the settings window shows after a lookup of name.
Outcome Level(std::string_view name);

// The 40 names Level accepts, in catalog order; or, listed, the 42 items of
// the level drop-down.
Outcome Levels(bool listed);

// The 66 categories in display order; or the files of one category.
Outcome Effects(const std::optional<std::string>& category);

// Every level, category and file name containing text, ignoring case: a line
// "level\tNAME", "category\tNAME" or "file\tNAME\tCATEGORY" each, in that order
// of kinds, each kind in its table's order.
Outcome Find(std::string_view text);

}  // namespace zorvin::cli

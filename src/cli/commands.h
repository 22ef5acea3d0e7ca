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

// What a name that is no level gets: "no level named 'x'", and the nearest
// names when some are close.
Failure NoLevel(std::string_view name);

// Text or JSON, as --format asks; text in colour (24-bit swatches) when colored.
enum class Format { Text, Json };

// A level's light: a line per colour field it has (label, value, hex and a
// swatch) and one for its sun.
Outcome Light(std::string_view name, Format format, bool colored);

// Two levels field by field: in text the rows that are not the same (every
// row with all) and how many differ; in JSON every row.
Outcome Compare(std::string_view name, std::string_view other, bool all, Format format, bool colored);

}  // namespace zorvin::cli

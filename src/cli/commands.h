// zorvin's commands over the core's tables. Each gives the lines it prints,
// or a failure: a name not found, or a text it cannot look for.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/outcome.h"
#include "light/level_light.h"
#include "light/tuning.h"

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

// Whether an operand names a map source rather than a level: it ends in
// ".map" or holds a path separator.
bool IsMapOperand(std::string_view operand);

// The worldspawn a level or a map operand names: the level's record, or the
// map's worldspawn keys as fields (the map's file name as its name); a level
// not found, or a map that cannot be read as one (status kBadMap).
using ReadOutcome = std::variant<light::Worldspawn, Failure>;
ReadOutcome ReadWorldspawn(std::string_view operand);

using Tunings = std::vector<light::Tuning>;

// --set's KEY=VALUE texts read, or the usage error of the first that cannot be
// ("no light key 'sunligth'; did you mean 'sunlight'?").
std::variant<Tunings, Failure> ReadTunings(std::span<const std::string> texts);

// The worldspawn as ReadWorldspawn gives it, tuned by set; a usage error in
// set first, before the operand is read.
ReadOutcome ReadTunedWorldspawn(std::string_view operand, std::span<const std::string> set);

// A level's light, or a map's: a line per colour field it has (label, value,
// hex and a swatch) and one for its sun.
Outcome Light(std::string_view operand, std::span<const std::string> set, Format format, bool colored);

// Two levels or maps field by field: in text the rows that are not the same
// (every row with all) and how many differ; in JSON every row.
Outcome Compare(std::string_view operand, std::string_view other, bool all, Format format, bool colored);

struct PreviewRequest {
  std::string operand;               // a level, or a map source
  std::vector<std::string> set;      // --set's KEY=VALUEs
  std::optional<int> size;           // 16-4096, checked by the parser
  std::optional<std::string> output; // a PNG's path (UTF-8), or "-": standard output
  bool colored = false;              // whether the terminal is drawn in (24-bit colour)
  int columns = 0;                   // the terminal's width; 0: not known
};

// The light's preview: a PNG (N×N, 256 by default) where output says, else
// drawn in the terminal with half blocks (N wide, N/2 lines, N by default as
// wide as the terminal and 32 at most); the values it drew by default as notes.
Outcome Preview(const PreviewRequest& request);

// The stock levels whose light looks most like the operand's, nearest first
// (the operand itself left out): top of them, as text or JSON.
// A tuned level is ranked with all 40, itself among them.
Outcome Similar(std::string_view operand, std::span<const std::string> set, int top, Format format);

// Every key the level gives a non-empty value (classname aside) as a map
// source's "key" "value" lines, in its block's order.
// Tuned by set, in the same order, a key the level has no value for where
// its block puts it.
Outcome LevelMapKeys(std::string_view name, std::span<const std::string> set = {});

struct ApplyRequest {
  std::string source;             // a level, or a map source whose light is set
  std::vector<std::string> set;   // --set's KEY=VALUEs
  std::vector<std::string> maps;  // the maps' paths, UTF-8
  bool all = false;               // every key LevelMapKeys gives, not the light's alone
  bool dryRun = false;            // the change as a unified diff; nothing written
  bool backup = true;             // the old bytes kept as MAP.bak (.bak.1, ...)
};

// Sets the source's light keys (every key, with all) in each map's
// worldspawn, every other byte kept; says what it did, one line per key,
// under each map's name when there are several. With several maps, every
// one is read and checked before any is written: one that cannot be read,
// replaced, or is no map source, and none is.
Outcome Apply(const ApplyRequest& request);

// zorvin check PATH...: the effect names in files, against the stock effects
// and the designer's own under each --effects folder.
struct CheckRequest {
  std::vector<std::string> paths;
  std::vector<std::string> effects;
  std::string format;  // text, json, sarif or github
  bool fix = false;
  bool dryRun = false;
  bool backup = true;
};
Outcome Check(const CheckRequest& request);

}  // namespace zorvin::cli

// The table of zorvin's commands: each one's options and operands, and the
// function that carries it out.
#include "cli/command_table.h"

#include <limits>
#include <variant>

#include "cli/commands.h"
#include "cli/completion.h"
#include "cli/export.h"
#include "effects/effects_catalog.h"
#include "preview/preview.h"
#include "settings/level_catalog.h"

namespace zorvin::cli {

namespace {

// The arguments reader lets through only the names FormatNames gives.
Outcome Export(std::string_view name) { return FindExportFormat(name)->write(); }

std::vector<std::string> FormatNames() {
  std::vector<std::string> names;
  for (const ExportFormat& format : ExportFormats()) names.emplace_back(format.name);
  return names;
}

std::vector<std::string> LevelNameList() {
  const Outcome names = Levels(false);
  return std::get<Lines>(names);
}

std::vector<std::string> CategoryNames() {
  const auto& names = EffectCategoryNames();
  return {names.begin(), names.end()};
}

std::vector<std::string> ShellNames() {
  const auto shells = CompletionShells();
  return {shells.begin(), shells.end()};
}

std::vector<std::string> OutputFormats() { return {"text", "json"}; }

std::vector<std::string> LevelFormats() { return {"block", "map"}; }

std::vector<std::string> CheckFormats() { return {"text", "json", "sarif", "github"}; }

Format OutputFormat(const Options& options) { return options.output == "json" ? Format::Json : Format::Text; }

constexpr Param kCommon[] = {
    {"--help", "Print this help and exit", &Options::help, {}, nullptr, false, {}, 0, 0, "-h"},
    {"--version", "Print zorvin's version and exit", &Options::version},
    {"--lf", "End lines with LF (the default on Linux)", &Options::lf},
    {"--crlf", "End lines with CR LF (the default on Windows)", &Options::crlf},
    {"--color", "Colour swatches: auto (when the output is a terminal and NO_COLOR is not set), always or never",
     &Options::color, "WHEN", ColorChoices},
};

// Each command's --help first.
constexpr Param kHelp = kCommon[0];

// The operand of the commands that read a light.
constexpr Param kLevelOrMap{"NAME", "The level's name, exactly, or a map source (*.map, or a path)", &Options::level,
                            {}, nullptr, true};
// --set, for the commands that read a light.
constexpr Param kSet{"--set", "Give a light key another value: KEY=VALUE, again for each key (VALUE empty: none)",
                     &Options::set, "KEY=VALUE"};
constexpr Param kOutputFormat{"--format", "text (the default) or json", &Options::output, "FORMAT", OutputFormats};

constexpr Param kLevel[] = {
    kHelp,
    {"NAME", "The level's name, exactly", &Options::level, {}, nullptr, true},
    {"--format", "block (the default) or map: its \"key\" \"value\" lines", &Options::blockFormat, "FORMAT", LevelFormats},
    kSet,
};
constexpr Param kLevels[] = {
    kHelp,
    {"--list", "Print the 42 items of the level drop-down instead", &Options::listed},
};
constexpr Param kEffects[] = {
    kHelp,
    {"CATEGORY", "The category's name, exactly", &Options::category},
};
constexpr Param kLight[] = {kHelp, kLevelOrMap, kOutputFormat, kSet};
constexpr Param kCompare[] = {
    kHelp,
    {"NAME", "A level's name, exactly, or a map source (*.map, or a path)", &Options::level, {}, nullptr, true},
    {"OTHER", "The other level or map", &Options::other, {}, nullptr, true},
    {"--all", "Print every field, the same ones too", &Options::all},
    kOutputFormat,
};
constexpr Param kPreview[] = {
    kHelp,
    kLevelOrMap,
    {"--size", "The picture's width and height in pixels, 16 to 4096", &Options::size, "PIXELS", nullptr, false, {},
     preview::kSmallestSize, preview::kLargestSize},
    {"--output", "Write a PNG to FILE (- for standard output), 256 pixels by default", &Options::picture, "FILE"},
    kSet,
};
constexpr Param kSimilar[] = {
    kHelp,
    kLevelOrMap,
    {"--top", "How many levels to print, 1 or more (5 by default)", &Options::top, "COUNT", nullptr, false, {}, 1,
     std::numeric_limits<int>::max()},
    kOutputFormat,
    kSet,
};
constexpr Param kApply[] = {
    kHelp,
    {"SOURCE", "The level's name, exactly, or a map source whose light to take", &Options::level, {}, nullptr, true},
    {"MAP", "The map sources to change: every one is checked before any is written", &Options::maps, {}, nullptr, true},
    {"--all", "Set every key of the source (level NAME --format map), not its light alone", &Options::all},
    {"--dry-run", "Print the change as a unified diff and write nothing", &Options::dryRun},
    {"--no-backup", "Keep no copy of the old map", &Options::noBackup},
    kSet,
};
constexpr Param kCheck[] = {
    kHelp,
    {"PATH", "Files to check, and folders, walked in name order", &Options::paths, {}, nullptr, true},
    {"--effects", "A folder of your own effects (*.efx at any depth), again for each", &Options::effects, "DIR"},
    {"--format", "text (the default), json, sarif or github", &Options::checkFormat, "FORMAT", CheckFormats},
    {"--fix", "Mend each wrong case, and each name with one nearest, in place", &Options::fix},
    {"--dry-run", "With --fix: print the change as a unified diff and write nothing", &Options::dryRun, {}, nullptr,
     false, "--fix"},
    {"--no-backup", "With --fix: keep no copy of the old file", &Options::noBackup, {}, nullptr, false, "--fix"},
};
constexpr Param kFind[] = {kHelp, {"TEXT", "The text to look for", &Options::text, {}, nullptr, true}};
constexpr Param kExport[] = {
    kHelp,
    {"--format", "json, csv, markdown or html", &Options::format, "FORMAT", FormatNames, true},
};
constexpr Param kCompletion[] = {kHelp, {"SHELL", "bash, zsh or fish", &Options::shell, {}, ShellNames, true}};

// In the order --help lists them.
const Command kCommands[] = {
    {"level", "Print the settings block of a level, or its keys as a map source holds them", kLevel,
     [](const Options& options) -> Outcome {
       if (options.blockFormat == "map") return LevelMapKeys(options.level, options.set);
       if (!options.set.empty()) return Failure{kBadUsage, "--set tunes the keys of --format map: a settings block is the level's as it stands"};
       return Level(options.level);
     },
     LevelNameList},
    {"levels", "Print every level name that level accepts", kLevels,
     [](const Options& options) { return Levels(options.listed); }, nullptr},
    {"effects", "Print the effects categories, or one category's files", kEffects,
     [](const Options& options) { return Effects(options.category); }, CategoryNames},
    {"light", "Print the colours and the sun of a level or a map", kLight,
     [](const Options& options) { return Light(options.level, options.set, OutputFormat(options), options.colored()); },
     LevelNameList, true},
    {"compare", "Print how two levels' or maps' settings differ, field by field", kCompare,
     [](const Options& options) {
       return Compare(options.level, options.other, options.all, OutputFormat(options), options.colored());
     },
     LevelNameList, true},
    {"preview", "Draw a picture of a level's or a map's light, in the terminal or as a PNG", kPreview,
     [](const Options& options) {
       return Preview({options.level, options.set, options.size, options.picture, options.colored(),
                       options.columns ? options.columns() : 0});
     },
     LevelNameList, true,
     "Examples:\n"
     "  zorvin preview mp_toujane                                        draw it in the terminal\n"
     "  zorvin preview mp_toujane --output toujane.png                   write a 256x256 PNG\n"
     "  zorvin preview mymap.map --size 512 --output -                   your map's light, as a PNG on standard output\n"
     "  zorvin preview mp_toujane --set sunlight=1 --output weaker.png   its sun a little weaker\n"
     "The scene: a ball on a ground square seen from above, north up. A preview of the light,\n"
     "not what the map compiler makes of it."},
    {"similar", "Print the stock levels whose light looks most like a level's or a map's", kSimilar,
     [](const Options& options) { return Similar(options.level, options.set, options.top, OutputFormat(options)); },
     LevelNameList, true,
     "Examples:\n"
     "  zorvin similar mp_toujane                  the five stock lights most like mp_toujane's\n"
     "  zorvin similar mymap.map --top 3 --format json\n"
     "The difference is the mean CIEDE2000 colour difference of the two 64x64 previews."},
    {"apply", "Set a level's or a map's light in map sources' worldspawns, their old bytes kept as MAP.bak", kApply,
     [](const Options& options) {
       return Apply({options.level, options.set, options.maps, options.all, options.dryRun, !options.noBackup});
     },
     LevelNameList, true,
     "Examples:\n"
     "  zorvin apply mp_toujane mymap.map --dry-run                        the change first, as a diff\n"
     "  zorvin apply mp_toujane mymap.map --set \"sundirection=-30 120 0\"   its light, the sun lower\n"
     "  zorvin apply lit.map a.map b.map                                   lit.map's light in two more maps"},
    {"check", "Check the effect names in files against the stock effects, with the nearest names", kCheck,
     [](const Options& options) {
       return Check({options.paths, options.effects, options.checkFormat, options.fix, options.dryRun, !options.noBackup});
     },
     nullptr, true,
     "Examples:\n"
     "  zorvin check maps/mp_mymap                         every file under it, as compilers report\n"
     "  zorvin check mymap.gsc --effects fx                your own effects known too\n"
     "  zorvin check . --format sarif > effects.sarif      for code scanning in a CI workflow\n"
     "  zorvin check maps --fix --dry-run                  what --fix would mend, as a diff\n"
     "Status: 0 nothing found, 1 problems reported, 2 bad usage, 5 a file could not be read."},
    {"find", "Print every name that contains TEXT, ignoring case", kFind,
     [](const Options& options) { return Find(options.text); }, nullptr},
    {"export", "Print both tables whole", kExport, [](const Options& options) { return Export(options.format); },
     nullptr},
    {"completion", "Print the completion script of a shell: bash, zsh or fish", kCompletion, Completion, ShellNames},
};

}  // namespace

std::span<const Command> Commands() { return kCommands; }

std::span<const Param> CommonParams() { return kCommon; }

std::vector<std::string> ColorChoices() { return {"auto", "always", "never"}; }

}  // namespace zorvin::cli

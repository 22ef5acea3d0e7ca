// The table of zorvin's commands: each one's options, declared to the parser
// only when that command is asked for, and the function that carries it out.
#include "cli/command_table.h"

#include <CLI/CLI.hpp>

#include <variant>

#include "cli/commands.h"
#include "cli/completion.h"
#include "cli/export.h"
#include "effects/effects_catalog.h"
#include "preview/preview.h"
#include "settings/level_catalog.h"

namespace zorvin::cli {

namespace {

// The parser lets through only the names FormatNames gives.
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

void DeclareOutputFormat(CLI::App& command, Options& options) {
  command.add_option("--format", options.output, "text (the default) or json")->check(CLI::IsMember(OutputFormats()));
}

// --set, for the commands that read a light.
void DeclareSet(CLI::App& command, Options& options) {
  command.add_option("--set", options.set, "Give a light key another value: KEY=VALUE, again for each key (VALUE empty: none)")
      ->type_name("KEY=VALUE")
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}

// In the order --help lists them.
const Command kCommands[] = {
    {"level", "Print the settings block of a level, or its keys as a map source holds them",
     [](CLI::App& command, Options& options) {
       command.add_option("NAME", options.level, "The level's name, exactly")->required();
       command.add_option("--format", options.blockFormat, "block (the default) or map: its \"key\" \"value\" lines")
           ->check(CLI::IsMember(LevelFormats()));
       DeclareSet(command, options);
     },
     [](const Options& options) -> Outcome {
       if (options.blockFormat == "map") return LevelMapKeys(options.level, options.set);
       if (!options.set.empty()) return Failure{kBadUsage, "--set tunes the keys of --format map: a settings block is the level's as it stands"};
       return Level(options.level);
     },
     LevelNameList, LevelFormats},
    {"levels", "Print every level name that level accepts",
     [](CLI::App& command, Options& options) {
       command.add_flag("--list", options.listed,
                        "Print the " + std::to_string(LevelListItems().size()) + " items of the level drop-down instead");
     },
     [](const Options& options) { return Levels(options.listed); }, nullptr, nullptr},
    {"effects", "Print the effects categories, or one category's files",
     [](CLI::App& command, Options& options) {
       command.add_option("CATEGORY", options.category, "The category's name, exactly");
     },
     [](const Options& options) { return Effects(options.category); }, CategoryNames, nullptr},
    {"light", "Print the colours and the sun of a level or a map",
     [](CLI::App& command, Options& options) {
       command.add_option("NAME", options.level, "The level's name, exactly, or a map source (*.map, or a path)")
           ->required();
       DeclareOutputFormat(command, options);
       DeclareSet(command, options);
     },
     [](const Options& options) { return Light(options.level, options.set, OutputFormat(options), options.colored()); },
     LevelNameList, OutputFormats, true},
    {"compare", "Print how two levels' or maps' settings differ, field by field",
     [](CLI::App& command, Options& options) {
       command.add_option("NAME", options.level, "A level's name, exactly, or a map source (*.map, or a path)")
           ->required();
       command.add_option("OTHER", options.other, "The other level or map")->required();
       command.add_flag("--all", options.all, "Print every field, the same ones too");
       DeclareOutputFormat(command, options);
     },
     [](const Options& options) {
       return Compare(options.level, options.other, options.all, OutputFormat(options), options.colored());
     },
     LevelNameList, OutputFormats, true},
    {"preview", "Draw a picture of a level's or a map's light, in the terminal or as a PNG",
     [](CLI::App& command, Options& options) {
       command.add_option("NAME", options.level, "The level's name, exactly, or a map source (*.map, or a path)")
           ->required();
       command.add_option("--size", options.size, "The picture's width and height in pixels, 16 to 4096")
           ->check(CLI::Range(preview::kSmallestSize, preview::kLargestSize));
       command.add_option("--output", options.picture, "Write a PNG to FILE (- for standard output), 256 pixels by default")
           ->type_name("FILE");
       DeclareSet(command, options);
       command.footer("Examples:\n"
                      "  zorvin preview mp_toujane                                        draw it in the terminal\n"
                      "  zorvin preview mp_toujane --output toujane.png                   write a 256x256 PNG\n"
                      "  zorvin preview mymap.map --size 512 --output -                   your map's light, as a PNG on standard output\n"
                      "  zorvin preview mp_toujane --set sunlight=1 --output weaker.png   its sun a little weaker\n"
                      "The scene: a ball on a ground square seen from above, north up. A preview of the light,\n"
                      "not what the map compiler makes of it.");
     },
     [](const Options& options) {
       return Preview({options.level, options.set, options.size, options.picture, options.colored(),
                       options.columns ? options.columns() : 0});
     },
     LevelNameList, nullptr, true},
    {"similar", "Print the stock levels whose light looks most like a level's or a map's",
     [](CLI::App& command, Options& options) {
       command.add_option("NAME", options.level, "The level's name, exactly, or a map source (*.map, or a path)")
           ->required();
       command.footer("Examples:\n"
                      "  zorvin similar mp_toujane                  the five stock lights most like mp_toujane's\n"
                      "  zorvin similar mymap.map --top 3 --format json\n"
                      "The difference is the mean CIEDE2000 colour difference of the two 64x64 previews.");
       command.add_option("--top", options.top, "How many levels to print, 1 or more (5 by default)")
           ->check(CLI::Validator(
               [](std::string& text) -> std::string {
                 const bool whole = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
                 return whole && text.find_first_not_of('0') != std::string::npos ? "" : "must be a whole number, 1 or more";
               },
               "1 or more"));
       DeclareOutputFormat(command, options);
       DeclareSet(command, options);
     },
     [](const Options& options) { return Similar(options.level, options.set, options.top, OutputFormat(options)); },
     LevelNameList, OutputFormats, true},
    {"apply", "Set a level's or a map's light in map sources' worldspawns, their old bytes kept as MAP.bak",
     [](CLI::App& command, Options& options) {
       command.add_option("SOURCE", options.level, "The level's name, exactly, or a map source whose light to take")
           ->required();
       command.add_option("MAP", options.maps, "The map sources to change: every one is checked before any is written")
           ->required();
       command.add_flag("--all", options.all, "Set every key of the source (level NAME --format map), not its light alone");
       command.add_flag("--dry-run", options.dryRun, "Print the change as a unified diff and write nothing");
       command.add_flag("--no-backup", options.noBackup, "Keep no copy of the old map");
       DeclareSet(command, options);
       command.footer("Examples:\n"
                      "  zorvin apply mp_toujane mymap.map --dry-run                        the change first, as a diff\n"
                      "  zorvin apply mp_toujane mymap.map --set \"sundirection=-30 120 0\"   its light, the sun lower\n"
                      "  zorvin apply lit.map a.map b.map                                   lit.map's light in two more maps");
     },
     [](const Options& options) {
       return Apply({options.level, options.set, options.maps, options.all, options.dryRun, !options.noBackup});
     },
     LevelNameList, nullptr, true},
    {"check", "Check the effect names in files against the stock effects, with the nearest names",
     [](CLI::App& command, Options& options) {
       command.add_option("PATH", options.paths, "Files to check, and folders, walked in name order")->required();
       command.add_option("--effects", options.effects, "A folder of your own effects (*.efx at any depth), again for each")
           ->type_name("DIR");
       command.add_option("--format", options.checkFormat, "text (the default), json, sarif or github")
           ->check(CLI::IsMember(CheckFormats()));
       CLI::Option* fix = command.add_flag("--fix", options.fix, "Mend each wrong case, and each name with one nearest, in place");
       command.add_flag("--dry-run", options.dryRun, "With --fix: print the change as a unified diff and write nothing")->needs(fix);
       command.add_flag("--no-backup", options.noBackup, "With --fix: keep no copy of the old file")->needs(fix);
       command.footer("Examples:\n"
                      "  zorvin check maps/mp_mymap                         every file under it, as compilers report\n"
                      "  zorvin check mymap.gsc --effects fx                your own effects known too\n"
                      "  zorvin check . --format sarif > effects.sarif      for code scanning in a CI workflow\n"
                      "  zorvin check maps --fix --dry-run                  what --fix would mend, as a diff\n"
                      "Status: 0 nothing found, 1 problems reported, 2 bad usage, 5 a file could not be read.");
     },
     [](const Options& options) { return Check({options.paths, options.effects, options.checkFormat, options.fix, options.dryRun, !options.noBackup}); }, nullptr,
     CheckFormats, true},
    {"find", "Print every name that contains TEXT, ignoring case",
     [](CLI::App& command, Options& options) {
       command.add_option("TEXT", options.text, "The text to look for")->required();
     },
     [](const Options& options) { return Find(options.text); }, nullptr, nullptr},
    {"export", "Print both tables whole",
     [](CLI::App& command, Options& options) {
       command.add_option("--format", options.format, "json, csv, markdown or html")
           ->required()
           ->check(CLI::IsMember(FormatNames()));
     },
     [](const Options& options) { return Export(options.format); }, nullptr, FormatNames},
    {"completion", "Print the completion script of a shell: bash, zsh or fish",
     [](CLI::App& command, Options& options) {
       command.add_option("SHELL", options.shell, "bash, zsh or fish")->required()->check(CLI::IsMember(ShellNames()));
     },
     Completion, ShellNames, nullptr},
};

}  // namespace

std::span<const Command> Commands() { return kCommands; }

std::vector<std::string> ColorChoices() { return {"auto", "always", "never"}; }

}  // namespace zorvin::cli

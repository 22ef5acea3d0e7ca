// The command line: its options, and a table from each command to the
// function that carries it out.
#include "cli/cli.h"

#include <CLI/CLI.hpp>

#include <functional>
#include <optional>
#include <sstream>
#include <string_view>
#include <variant>
#include <vector>

#include "cli/commands.h"
#include "cli/completion.h"
#include "cli/export.h"
#include "cli/text.h"
#include "effects/effects_catalog.h"
#include "preview/preview.h"
#include "settings/level_catalog.h"

namespace zorvin::cli {
namespace {

// What the options of every command fill in.
struct Options {
  std::string level;
  std::string other;
  bool all = false;
  std::string output = "text";  // light's and compare's --format
  std::string blockFormat = "block";  // level's --format
  std::string map;
  bool dryRun = false;
  bool noBackup = false;
  std::function<bool()> colored;  // --color, decided for this output when a command asks
  bool listed = false;
  std::optional<std::string> category;
  std::string text;
  std::string format;
  std::string shell;
  std::optional<int> size;            // preview's --size
  std::optional<std::string> picture; // preview's --output
  int top = 5;                        // similar's --top
  std::function<int()> columns;       // the terminal's width, asked when a picture is drawn in it
  const CLI::App* app = nullptr;  // what the completion scripts are written from
};

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

Outcome Completion(const Options& options);

std::vector<std::string> ColorChoices() { return {"auto", "always", "never"}; }

std::vector<std::string> OutputFormats() { return {"text", "json"}; }

std::vector<std::string> LevelFormats() { return {"block", "map"}; }

Format OutputFormat(const Options& options) { return options.output == "json" ? Format::Json : Format::Text; }

void DeclareOutputFormat(CLI::App& command, Options& options) {
  command.add_option("--format", options.output, "text (the default) or json")->check(CLI::IsMember(OutputFormats()));
}

struct Command {
  const char* name;
  const char* summary;
  void (*declare)(CLI::App& command, Options& options);
  Outcome (*run)(const Options& options);
  // For the completion scripts: what the command's operands may be, and the
  // values of its option that takes one; null for none or any text.
  std::vector<std::string> (*operands)();
  std::vector<std::string> (*optionValues)();
  bool files = false;  // an operand may also be a map source's path
};

// In the order --help lists them.
const Command kCommands[] = {
    {"level", "Print the settings block of a level, or its keys as a map source holds them",
     [](CLI::App& command, Options& options) {
       command.add_option("NAME", options.level, "The level's name, exactly")->required();
       command.add_option("--format", options.blockFormat, "block (the default) or map: its \"key\" \"value\" lines")
           ->check(CLI::IsMember(LevelFormats()));
     },
     [](const Options& options) {
       return options.blockFormat == "map" ? LevelMapKeys(options.level) : Level(options.level);
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
     },
     [](const Options& options) { return Light(options.level, OutputFormat(options), options.colored()); },
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
       command.footer("Examples:\n"
                      "  zorvin preview mp_toujane                        draw it in the terminal\n"
                      "  zorvin preview mp_toujane --output toujane.png   write a 256x256 PNG\n"
                      "  zorvin preview mymap.map --size 512 --output -   your map's light, as a PNG on standard output\n"
                      "The scene: a ball on a ground square seen from above, north up. A preview of the light,\n"
                      "not what the map compiler makes of it.");
     },
     [](const Options& options) {
       return Preview({options.level, options.size, options.picture, options.colored(),
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
     },
     [](const Options& options) { return Similar(options.level, options.top, OutputFormat(options)); },
     LevelNameList, OutputFormats, true},
    {"apply", "Set a level's light in a map source's worldspawn, its old bytes kept as MAP.bak",
     [](CLI::App& command, Options& options) {
       command.add_option("NAME", options.level, "The level's name, exactly")->required();
       command.add_option("MAP", options.map, "The map source to change")->required();
       command.add_flag("--all", options.all, "Set every key of the level (level NAME --format map), not its light alone");
       command.add_flag("--dry-run", options.dryRun, "Print the change as a unified diff and write nothing");
       command.add_flag("--no-backup", options.noBackup, "Keep no copy of the old map");
     },
     [](const Options& options) {
       return Apply({options.level, options.map, options.all, options.dryRun, !options.noBackup});
     },
     LevelNameList, nullptr, true},
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

CompletionOption ModelOption(const CLI::Option& option) {
  CompletionOption model;
  for (const std::string& name : option.get_snames()) model.names.push_back("-" + name);
  for (const std::string& name : option.get_lnames()) model.names.push_back("--" + name);
  model.description = option.get_description();
  model.takesValue = option.get_expected_min() > 0;
  return model;
}

// zorvin's options and commands as the parser holds them, with the values
// each command's argument may take.
CompletionModel Model(const CLI::App& app) {
  CompletionModel model;
  for (const CLI::Option* option : app.get_options()) {
    CompletionOption modelled = ModelOption(*option);
    modelled.afterCommand = option != app.get_help_ptr() && option != app.get_version_ptr();
    if (modelled.names == std::vector<std::string>{"--color"}) modelled.values = ColorChoices();
    model.options.push_back(modelled);
  }
  for (const Command& command : kCommands) {
    const CLI::App& parsed = *app.get_subcommand(command.name);
    CompletionCommand modelled{command.name, command.summary, {}, 0, {}, command.files};
    const auto values = [](auto* list) { return list != nullptr ? list() : std::vector<std::string>(); };
    for (const CLI::Option* option : parsed.get_options()) {
      if (option->nonpositional()) {
        CompletionOption named = ModelOption(*option);
        if (named.takesValue) named.values = values(command.optionValues);
        modelled.options.push_back(named);
      } else {
        ++modelled.operandCount;
        modelled.operands = values(command.operands);
      }
    }
    model.commands.push_back(modelled);
  }
  return model;
}

Outcome Completion(const Options& options) { return CompletionScript(options.shell, Model(*options.app)); }

// Help and version end their lines as every result does.
std::string WithLineEnds(const std::string& text, LineEnd end) {
  if (end == LineEnd::Lf) return text;
  std::string converted;
  for (char c : text) converted += c == '\n' ? std::string_view("\r\n") : std::string_view(&c, 1);
  return converted;
}

// The parser's own words in zorvin's form: every line starts "zorvin: ", and
// the arguments it quotes reach the terminal as a message shows any text
// (Escaped), a line cut after 200 characters.
std::string ParserMessage(std::string_view what) {
  std::string message;
  for (const std::string& line : SplitLines(what, "\n")) message += "zorvin: " + Escaped(line, 200) + "\n";
  return message + "zorvin: 'zorvin --help' lists the commands and options\n";
}

// The first word of the command line that stands where a command does, when
// it names none: "no command 'levle'; did you mean 'level' or 'levels'?",
// as git answers. Only --color of the options before a command takes a value.
std::optional<std::string> NoSuchCommand(std::span<const std::string> args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--color") {
      ++i;
      continue;
    }
    if (arg.empty() || arg.starts_with('-')) continue;
    std::vector<std::string_view> names;
    for (const Command& command : kCommands) {
      if (command.name == arg) return std::nullopt;
      names.push_back(command.name);
    }
    const std::string nearest = DidYouMean(arg, names);
    const std::string message = "zorvin: no command " + Shown(arg);
    if (nearest.empty()) return message + "\nzorvin: 'zorvin --help' lists the commands and options\n";
    return message + nearest + "\n";
  }
  return std::nullopt;
}

}  // namespace

Result Run(std::span<const std::string> args, LineEnd platformEnd, const Terminal& terminal) {
  Result result;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (!IsUtf8(args[i])) {
      result.status = kBadUsage;
      result.err = "zorvin: argument " + std::to_string(i + 1) + " is not valid UTF-8\n";
      return result;
    }
  }

  CLI::App app("The worldspawn settings and stock effects tables of ZorvinEffects, for scripts and wikis.",
               "zorvin");
  app.set_version_flag("--version", std::string("zorvin ") + ZORVIN_VERSION_TEXT);
  app.require_subcommand(1);
  app.fallthrough();
  bool lf = false;
  bool crlf = false;
  auto* lfFlag = app.add_flag("--lf", lf, "End lines with LF (the default on Linux)");
  app.add_flag("--crlf", crlf, "End lines with CR LF (the default on Windows)")->excludes(lfFlag);
  std::string color = "auto";
  app.add_option("--color", color,
                 "Colour swatches: auto (when the output is a terminal and NO_COLOR is not set), always or never")
      ->check(CLI::IsMember(ColorChoices()));
  Options options;
  options.app = &app;
  for (const Command& command : kCommands) command.declare(*app.add_subcommand(command.name, command.summary), options);

  if (std::optional<std::string> message = NoSuchCommand(args)) {
    result.status = kBadUsage;
    result.err = std::move(*message);
    return result;
  }

  // CLI11 takes the arguments last first.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& error) {
    std::ostringstream out;
    std::ostringstream err;
    if (app.exit(error, out, err) == 0) {  // --help or --version
      result.out = WithLineEnds(out.str(), platformEnd);
      return result;
    }
    result.status = kBadUsage;
    result.err = ParserMessage(error.what());
    return result;
  }

  const LineEnd end = lf ? LineEnd::Lf : crlf ? LineEnd::CrLf : platformEnd;
  options.colored = [&color, &terminal] {
    return color == "always" || (color == "auto" && terminal.takesColor && terminal.takesColor());
  };
  options.columns = terminal.columns;
  for (const Command& command : kCommands) {
    if (!app.got_subcommand(command.name)) continue;
    const Outcome outcome = command.run(options);
    const std::string_view lineEnd = end == LineEnd::CrLf ? "\r\n" : "\n";
    if (const Lines* lines = std::get_if<Lines>(&outcome)) {
      result.out = JoinLines(*lines, lineEnd);
    } else if (const Written* written = std::get_if<Written>(&outcome)) {
      result.out = written->bytes ? *written->bytes : JoinLines(written->lines, lineEnd);
      for (const std::string& note : written->notes) result.err += "zorvin: " + note + "\n";
    } else {
      const Failure& failure = std::get<Failure>(outcome);
      result.status = failure.status;
      result.err = "zorvin: " + failure.message + "\n";
    }
    return result;
  }
  // require_subcommand(1) lets no command line through without one.
  result.status = kInternalError;
  result.err = "zorvin: no command was carried out\n";
  return result;
}

}  // namespace zorvin::cli

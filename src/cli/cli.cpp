// The command line: its options, and a table from each command to the
// function that carries it out.
#include "cli/cli.h"

#include <CLI/CLI.hpp>

#include <optional>
#include <sstream>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "cli/export.h"
#include "cli/text.h"

namespace zorvin::cli {
namespace {

// What the options of every command fill in.
struct Options {
  std::string level;
  bool listed = false;
  std::optional<std::string> category;
  std::string text;
  std::string format;
};

Outcome Export(std::string_view name) {
  const ExportFormat* format = FindExportFormat(name);
  if (format == nullptr) return Failure{kBadUsage, "export: no format named " + Shown(name)};
  return format->write();
}

std::vector<std::string> FormatNames() {
  std::vector<std::string> names;
  for (const ExportFormat& format : ExportFormats()) names.emplace_back(format.name);
  return names;
}

struct Command {
  const char* name;
  const char* summary;
  void (*declare)(CLI::App& command, Options& options);
  Outcome (*run)(const Options& options);
};

// In the order --help lists them.
const Command kCommands[] = {
    {"level", "Print the settings block of a level",
     [](CLI::App& command, Options& options) {
       command.add_option("NAME", options.level, "The level's name, exactly")->required();
     },
     [](const Options& options) { return Level(options.level); }},
    {"levels", "Print every level name that level accepts",
     [](CLI::App& command, Options& options) {
       command.add_flag("--list", options.listed, "Print the 42 items of the level drop-down instead");
     },
     [](const Options& options) { return Levels(options.listed); }},
    {"effects", "Print the effects categories, or one category's files",
     [](CLI::App& command, Options& options) {
       command.add_option("CATEGORY", options.category, "The category's name, exactly");
     },
     [](const Options& options) { return Effects(options.category); }},
    {"find", "Print every name that contains TEXT, ignoring case",
     [](CLI::App& command, Options& options) {
       command.add_option("TEXT", options.text, "The text to look for")->required();
     },
     [](const Options& options) { return Find(options.text); }},
    {"export", "Print both tables whole",
     [](CLI::App& command, Options& options) {
       command.add_option("--format", options.format, "json, csv, markdown or html")
           ->required()
           ->check(CLI::IsMember(FormatNames()));
     },
     [](const Options& options) { return Export(options.format); }},
};

// Help and version end their lines as every result does.
std::string WithLineEnds(const std::string& text, LineEnd end) {
  if (end == LineEnd::Lf) return text;
  std::string converted;
  for (char c : text) converted += c == '\n' ? std::string_view("\r\n") : std::string_view(&c, 1);
  return converted;
}

}  // namespace

Result Run(std::span<const std::string> args, LineEnd platformEnd) {
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
  Options options;
  for (const Command& command : kCommands) command.declare(*app.add_subcommand(command.name, command.summary), options);

  // CLI11 takes the arguments last first.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& error) {
    std::ostringstream out;
    std::ostringstream err;
    result.status = app.exit(error, out, err) == 0 ? kFound : kBadUsage;
    result.out = WithLineEnds(out.str(), platformEnd);
    result.err = err.str();
    return result;
  }

  const LineEnd end = lf ? LineEnd::Lf : crlf ? LineEnd::CrLf : platformEnd;
  for (const Command& command : kCommands) {
    if (!app.got_subcommand(command.name)) continue;
    const Outcome outcome = command.run(options);
    if (const Lines* lines = std::get_if<Lines>(&outcome)) {
      result.out = JoinLines(*lines, end == LineEnd::CrLf ? "\r\n" : "\n");
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

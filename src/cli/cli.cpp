// The command line read: zorvin's own options, the command it names (from
// the table in command_table.cpp), its result in the line ends asked for, and
// the parser's words in zorvin's form.
#include "cli/cli.h"

#include <CLI/CLI.hpp>

#include <optional>
#include <sstream>
#include <string_view>
#include <variant>
#include <vector>

#include "cli/command_table.h"
#include "cli/completion.h"
#include "cli/text.h"

namespace zorvin::cli {
namespace {

CompletionOption ModelOption(const CLI::Option& option) {
  CompletionOption model;
  for (const std::string& name : option.get_snames()) model.names.push_back("-" + name);
  for (const std::string& name : option.get_lnames()) model.names.push_back("--" + name);
  model.description = option.get_description();
  model.takesValue = option.get_expected_min() > 0;
  model.fileValue = option.get_type_name() == "FILE";
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
  for (const Command& command : Commands()) {
    const CLI::App& parsed = *app.get_subcommand(command.name);
    CompletionCommand modelled{command.name, command.summary, {}, 0, {}, command.files};
    const auto values = [](auto* list) { return list != nullptr ? list() : std::vector<std::string>(); };
    for (const CLI::Option* option : parsed.get_options()) {
      if (option->nonpositional()) {
        CompletionOption named = ModelOption(*option);
        // The command's one option of fixed values; --set takes any KEY=VALUE.
        if (named.takesValue && named.names != std::vector<std::string>{"--set"}) named.values = values(command.optionValues);
        modelled.options.push_back(named);
      } else {
        // An operand that takes many (MAP..., PATH...) takes every word after it.
        modelled.operandCount += option->get_expected_max() > 1 ? 1000 : 1;
        modelled.operands = values(command.operands);
      }
    }
    model.commands.push_back(modelled);
  }
  return model;
}

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

// The command the command line names: the first word that stands where a
// command does (only --color of the options before it takes a value). None
// where there is no such word; a message where it names no command, "no
// command 'levle'; did you mean 'level' or 'levels'?", as git answers.
struct Named {
  const Command* command = nullptr;
  bool helpFirst = false;  // --help came before it
  std::optional<std::string> message;
};

Named CommandNamed(std::span<const std::string> args) {
  Named named;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--color") {
      ++i;
      continue;
    }
    if (arg == "--help" || arg == "-h") named.helpFirst = true;
    if (arg.empty() || arg.starts_with('-')) continue;
    std::vector<std::string_view> names;
    for (const Command& command : Commands()) {
      if (command.name == arg) {
        named.command = &command;
        return named;
      }
      names.push_back(command.name);
    }
    const std::string nearest = DidYouMean(arg, names);
    named.message = "zorvin: no command " + Shown(arg);
    *named.message += nearest.empty() ? "\nzorvin: 'zorvin --help' lists the commands and options\n" : nearest + "\n";
    return named;
  }
  return named;
}

}  // namespace

Outcome Completion(const Options& options) { return CompletionScript(options.shell, Model(*options.app)); }

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
  Named named = CommandNamed(args);
  if (named.message) {
    result.status = kBadUsage;
    result.err = std::move(*named.message);
    return result;
  }
  // Only the command asked for has its options declared: a run carries out
  // one. --help and the completion scripts list them all.
  Options options;
  options.app = &app;
  const bool all = named.command == nullptr || named.helpFirst || std::string_view(named.command->name) == "completion";
  for (const Command& command : Commands()) {
    if (all || &command == named.command) command.declare(*app.add_subcommand(command.name, command.summary), options);
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
  for (const Command& command : Commands()) {
    if (!all && &command != named.command) continue;
    if (!app.got_subcommand(command.name)) continue;
    const Outcome outcome = command.run(options);
    const std::string_view lineEnd = end == LineEnd::CrLf ? "\r\n" : "\n";
    if (const Lines* lines = std::get_if<Lines>(&outcome)) {
      result.out = JoinLines(*lines, lineEnd);
    } else if (const Written* written = std::get_if<Written>(&outcome)) {
      result.out = written->bytes ? *written->bytes : JoinLines(written->lines, lineEnd);
      for (const std::string& note : written->notes) result.err += "zorvin: " + note + "\n";
      for (const std::string& line : written->summary) result.err += line + "\n";
      result.status = written->status;
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

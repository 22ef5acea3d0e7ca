// The command line carried out: read against the command table
// (arguments.cpp), the command it names run, its result in the line ends
// asked for; and the completion scripts written from the same table.
#include "cli/cli.h"

#include <string_view>
#include <variant>
#include <vector>

#include "cli/arguments.h"
#include "cli/command_table.h"
#include "cli/completion.h"
#include "cli/text.h"

namespace zorvin::cli {
namespace {

CompletionOption ModelOption(const Param& param) {
  CompletionOption model;
  if (!param.alias.empty()) model.names.emplace_back(param.alias);
  model.names.emplace_back(param.name);
  model.description = param.description;
  model.takesValue = !param.IsFlag();
  if (param.values != nullptr) model.values = param.values();
  model.fileValue = param.valueName == "FILE" || param.valueName == "DIR";
  return model;
}

// zorvin's options and commands, with the values each one's operands may take.
CompletionModel Model() {
  CompletionModel model;
  for (const Param& param : CommonParams()) {
    CompletionOption modelled = ModelOption(param);
    modelled.afterCommand = param.name != "--help" && param.name != "--version";
    model.options.push_back(modelled);
  }
  for (const Command& command : Commands()) {
    CompletionCommand modelled{command.name, command.summary, {}, 0, {}, command.files};
    for (const Param& param : command.params) {
      if (!param.IsOperand()) {
        modelled.options.push_back(ModelOption(param));
        continue;
      }
      // An operand that takes many (MAP..., PATH...) takes every word after it.
      modelled.operandCount += param.IsList() ? 1000 : 1;
    }
    if (modelled.operandCount > 0 && command.operands != nullptr) modelled.operands = command.operands();
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

// A message about the command line, each line "zorvin: ", the text it quotes
// shown as a message shows any text, and where to look next unless it
// already suggests what was meant.
std::string UsageMessage(std::string_view what, const Command* command) {
  std::string message = "zorvin: " + Escaped(what, 200) + "\n";
  if (what.find("; did you mean") != std::string_view::npos) return message;
  if (command == nullptr) return message + "zorvin: 'zorvin --help' lists the commands and options\n";
  return message + "zorvin: 'zorvin " + command->name + " --help' says what it takes\n";
}

}  // namespace

Outcome Completion(const Options& options) { return CompletionScript(options.shell, Model()); }

Result Run(std::span<const std::string> args, LineEnd platformEnd, const Terminal& terminal) {
  Result result;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (!IsUtf8(args[i])) {
      result.status = kBadUsage;
      result.err = "zorvin: argument " + std::to_string(i + 1) + " is not valid UTF-8\n";
      return result;
    }
  }
  Parsed parsed = Parse(args);
  Options& options = parsed.options;
  if (parsed.error) {
    result.status = kBadUsage;
    result.err = UsageMessage(*parsed.error, parsed.command);
    return result;
  }
  if (options.help || options.version) {  // only the first of the two given is set
    result.out = WithLineEnds(options.help ? HelpText(parsed.command) : std::string("zorvin ") + ZORVIN_VERSION_TEXT + "\n",
                              platformEnd);
    return result;
  }

  const LineEnd end = options.lf ? LineEnd::Lf : options.crlf ? LineEnd::CrLf : platformEnd;
  options.colored = [&options, &terminal] {
    return options.color == "always" || (options.color == "auto" && terminal.takesColor && terminal.takesColor());
  };
  options.columns = terminal.columns;
  const Outcome outcome = parsed.command->run(options);
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

}  // namespace zorvin::cli

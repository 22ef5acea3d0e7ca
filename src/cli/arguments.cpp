// The command line read against the command table, and --help written from it.
#include "cli/arguments.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string_view>
#include <vector>

#include "cli/text.h"
#include "references/effect_names.h"

namespace zorvin::cli {
namespace {

const Param* FindOption(std::span<const Param> params, std::string_view name) {
  for (const Param& param : params) {
    if (!param.IsOperand() && (param.name == name || (!param.alias.empty() && param.alias == name))) return &param;
  }
  return nullptr;
}

// "a, b or c".
std::string Alternatives(const std::vector<std::string>& values) {
  std::string text;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) text += i + 1 == values.size() ? " or " : ", ";
    text += values[i];
  }
  return text;
}

// "; did you mean '--format'?" for the names a slip of a key or two away
// from what was typed (two letters swapped count one): a suggestion should
// be a likely meaning, not any name as short as the word.
std::string DidYouMeanNear(std::string_view typed, const std::vector<std::string_view>& names) {
  std::vector<std::string_view> near;
  const std::size_t most = std::max<std::size_t>(1, typed.size() / 4);
  for (std::string_view name : names) {
    if (references::EditDistance(typed, name) <= most) near.push_back(name);
  }
  return DidYouMean(typed, near);
}

// A whole number in [least, most], written in decimal digits alone.
std::optional<int> WholeNumber(std::string_view text, int least, int most) {
  int number = 0;
  if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size() || number < least || number > most) return std::nullopt;
  return number;
}

std::string Range(const Param& param) {
  if (param.most == std::numeric_limits<int>::max()) return "a whole number, " + std::to_string(param.least) + " or more";
  return "a whole number from " + std::to_string(param.least) + " to " + std::to_string(param.most);
}

// What an option's value or an operand must be, for a message.
std::string Wanted(const Param& param) {
  if (param.values != nullptr) return Alternatives(param.values());
  if (std::holds_alternative<std::optional<int> Options::*>(param.target) ||
      std::holds_alternative<int Options::*>(param.target)) {
    return Range(param);
  }
  return std::string(param.valueName);
}

// Puts value where param's goes; says why not when it cannot be.
std::optional<std::string> Assign(const Param& param, std::string_view value, Options& options) {
  if (param.values != nullptr) {
    const std::vector<std::string> values = param.values();
    if (std::find(values.begin(), values.end(), value) == values.end()) {
      const std::vector<std::string_view> names(values.begin(), values.end());
      return std::string(param.name) + " takes " + Alternatives(values) + ", not " + Shown(value) + DidYouMeanNear(value, names);
    }
  }
  const Target& target = param.target;
  if (const auto* text = std::get_if<std::string Options::*>(&target)) {
    options.**text = value;
  } else if (const auto* maybe = std::get_if<std::optional<std::string> Options::*>(&target)) {
    options.**maybe = std::string(value);
  } else if (const auto* list = std::get_if<std::vector<std::string> Options::*>(&target)) {
    (options.**list).emplace_back(value);
  } else {
    const std::optional<int> number = WholeNumber(value, param.least, param.most);
    if (!number) return std::string(param.name) + " takes " + Range(param) + ", not " + Shown(value);
    if (const auto* count = std::get_if<int Options::*>(&target)) {
      options.**count = *number;
    } else {
      options.*std::get<std::optional<int> Options::*>(target) = *number;
    }
  }
  return std::nullopt;
}

// "NAME OTHER", "[CATEGORY]", "SOURCE MAP...": a command's operands as its usage line shows them.
std::string OperandsShown(const Command& command) {
  std::string shown;
  for (const Param& param : command.params) {
    if (!param.IsOperand()) continue;
    std::string word(param.name);
    if (param.IsList()) word += "...";
    if (!param.required) word = "[" + word + "]";
    shown += " " + word;
  }
  return shown;
}

// The command the word names, or a message that says it names none.
const Command* CommandNamed(std::string_view word, Parsed& parsed) {
  std::vector<std::string_view> names;
  for (const Command& command : Commands()) {
    if (command.name == word) return &command;
    names.push_back(command.name);
  }
  if (!parsed.error) parsed.error = "no command " + Shown(word) + DidYouMean(word, names);
  return nullptr;
}

// The operands given to the command's operand parameters, in order; the
// first that takes many takes every one left.
void AssignOperands(const std::vector<std::string_view>& operands, Parsed& parsed) {
  const Command& command = *parsed.command;
  const auto fail = [&parsed](std::string message) {
    if (!parsed.error) parsed.error = std::move(message);
  };
  std::size_t next = 0;
  for (const Param& param : command.params) {
    if (!param.IsOperand()) continue;
    const std::size_t last = param.IsList() ? operands.size() : std::min(next + 1, operands.size());
    if (next == last && param.required) fail(std::string(command.name) + " needs " + std::string(param.name));
    for (; next < last; ++next) {
      if (auto problem = Assign(param, operands[next], parsed.options)) fail(*std::move(problem));
    }
  }
  if (next < operands.size()) {
    const std::string takes = OperandsShown(command);
    fail(Shown(operands[next]) + " was not expected: " + command.name + " takes " +
         (takes.empty() ? std::string("no operand") : takes.substr(1)));
  }
}

}  // namespace

Parsed Parse(std::span<const std::string> args) {
  Parsed parsed;
  Options& options = parsed.options;
  std::vector<const Param*> given;
  std::vector<std::string_view> operands;
  const auto fail = [&parsed](std::string message) {
    if (!parsed.error) parsed.error = std::move(message);
  };
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      if (parsed.command != nullptr) {
        operands.push_back(arg);
      } else if ((parsed.command = CommandNamed(arg, parsed)) == nullptr) {
        return parsed;  // nothing else on the line means anything without its command
      }
      continue;
    }
    std::string_view name = arg;
    std::optional<std::string_view> attached;
    if (const std::size_t equals = name.find('='); name.starts_with("--") && equals != std::string_view::npos) {
      attached = name.substr(equals + 1);
      name = name.substr(0, equals);
    }
    const Param* param = parsed.command != nullptr ? FindOption(parsed.command->params, name) : nullptr;
    if (param == nullptr) param = FindOption(CommonParams(), name);
    if (param == nullptr) {
      std::vector<std::string_view> names;
      for (const auto params : {parsed.command != nullptr ? parsed.command->params : std::span<const Param>(), CommonParams()}) {
        for (const Param& known : params) {
          if (!known.IsOperand()) names.push_back(known.name);
        }
      }
      fail((parsed.command != nullptr ? std::string(parsed.command->name) : std::string("zorvin")) + " has no option " +
           Shown(name) + DidYouMeanNear(name, names));
      continue;
    }
    if (param->IsFlag()) {
      if (attached) fail(std::string(param->name) + " takes no value");
      // Of --help and --version, the first given answers.
      const auto flag = std::get<bool Options::*>(param->target);
      const bool answer = flag == &Options::help || flag == &Options::version;
      if (!answer || !(options.help || options.version)) options.*flag = true;
      given.push_back(param);
      continue;
    }
    if (!attached && i + 1 == args.size()) {
      fail(std::string(param->name) + " needs a value: " + Wanted(*param));
      continue;
    }
    const std::string_view value = attached ? *attached : std::string_view(args[++i]);
    if (!param->IsList() && std::find(given.begin(), given.end(), param) != given.end()) {
      fail(std::string(param->name) + " is given twice");
    }
    given.push_back(param);
    if (auto problem = Assign(*param, value, options)) fail(*std::move(problem));
  }
  // --help and --version answer whatever else the line holds.
  if (options.help || options.version) {
    parsed.error.reset();
    return parsed;
  }
  if (parsed.command == nullptr) {
    fail("no command given");
    return parsed;
  }
  AssignOperands(operands, parsed);
  const auto isGiven = [&given](std::string_view name) {
    return std::any_of(given.begin(), given.end(), [name](const Param* param) { return param->name == name; });
  };
  for (const Param* param : given) {
    if (!param->needs.empty() && !isGiven(param->needs)) fail(std::string(param->name) + " needs " + std::string(param->needs));
  }
  for (const Param& param : parsed.command->params) {
    if (!param.IsOperand() && param.required && !isGiven(param.name)) {
      fail(std::string(parsed.command->name) + " needs " + std::string(param.name) + ": " + Wanted(param));
    }
  }
  if (options.lf && options.crlf) fail("--lf and --crlf cannot both be given");
  return parsed;
}

std::string HelpText(const Command* command) {
  std::string text;
  // "  --format FORMAT             what it does", the descriptions in one column.
  const auto row = [&text](std::string left, std::string_view description) {
    constexpr std::size_t kColumn = 30;
    text += "  " + left;
    text += left.size() + 2 < kColumn ? std::string(kColumn - 2 - left.size(), ' ') : "\n" + std::string(kColumn, ' ');
    text += std::string(description) + "\n";
  };
  const auto options = [&row](std::span<const Param> params) {
    for (const Param& param : params) {
      if (param.IsOperand()) continue;
      std::string names = param.alias.empty() ? std::string(param.name) : std::string(param.alias) + ", " + std::string(param.name);
      if (param.values != nullptr) {
        std::string values;
        for (const std::string& value : param.values()) values += (values.empty() ? "" : "|") + value;
        names += " " + values;
      } else if (!param.valueName.empty()) {
        names += " " + std::string(param.valueName);
      }
      row(names, param.description);
    }
  };
  if (command == nullptr) {
    text += "The worldspawn settings and stock effects tables of ZorvinEffects, for scripts and wikis.\n";
    text += "Usage: zorvin [OPTIONS] COMMAND ...\n\nOptions:\n";
    options(CommonParams());
    text += "\nCommands:\n";
    for (const Command& each : Commands()) row(each.name, each.summary);
    text += "\n'zorvin COMMAND --help' says what a command takes. zorvin's options may also follow the command.\n";
    return text;
  }
  const std::string operands = OperandsShown(*command);
  text += std::string(command->summary) + "\nUsage: zorvin " + command->name + " [OPTIONS]" + operands + "\n";
  if (!operands.empty()) {
    text += "\nOperands:\n";
    for (const Param& param : command->params) {
      if (param.IsOperand()) row(std::string(param.name) + (param.IsList() ? "..." : ""), param.description);
    }
  }
  text += "\nOptions:\n";
  options(command->params);
  if (command->footer != nullptr) text += "\n" + std::string(command->footer) + "\n";
  return text;
}

}  // namespace zorvin::cli

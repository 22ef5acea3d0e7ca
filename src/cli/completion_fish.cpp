// zorvin's completion script for fish.
#include "cli/completion_parts.h"

namespace zorvin::cli {
namespace {

// text as one word in fish: single quotes, a quote or backslash escaped.
std::string FishQuoted(std::string_view text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "'";
}

}  // namespace

// fish: one rule per candidate, each under a condition on the words before
// the cursor; fish itself matches them, ignoring case when nothing matches exactly.
Lines FishScript(const CompletionModel& model) {
  Lines s = {
      "# fish completion for zorvin, written by 'zorvin completion fish'.",
      "# Whether the words before the cursor hold the command (or none, for '') and fewer operands than it takes.",
      "function __zorvin_wants_operand_of --argument-names command most",
      "    set -l seen",
      "    set -l words (commandline -opc)",
      "    set -l skip 0",
      "    for word in $words[2..-1]",
      "        if test $skip = 1",
      "            set skip 0",
      "            continue",
      "        end",
      "        switch $word",
  };
  const std::vector<std::string> valued = ValuedOptionNames(model);
  if (!valued.empty()) {
    s.push_back("            case " + Words(valued, FishQuoted));
    s.push_back("                set skip 1");
  }
  s.insert(s.end(), {
                        "            case '-*'",
                        "            case '*'",
                        "                set -a seen $word",
                        "        end",
                        "    end",
                        "    if test -z \"$command\"",
                        "        test (count $seen) -eq 0",
                        "    else",
                        "        test (count $seen) -ge 1 -a (count $seen) -le $most -a \"$seen[1]\" = \"$command\"",
                        "    end",
                        "end",
                        "function __zorvin_after --argument-names command",
                        "    set -l words (commandline -opc)",
                        "    contains -- $command $words[2..-1]",
                        "end",
                        "complete -c zorvin -f",
                    });
  auto option = [&s](const CompletionOption& option, const std::string& condition) {
    std::string rule = "complete -c zorvin";
    if (!condition.empty()) rule += " -n " + FishQuoted(condition);
    for (const std::string& name : option.names) {
      const bool isLong = name.size() > 2 && name.compare(0, 2, "--") == 0;
      rule += (isLong ? " -l " : " -s ") + name.substr(isLong ? 2 : 1);
    }
    // -x: a value from the list, or any text, and no file names; -r: a file.
    if (!option.values.empty()) {
      rule += " -x -a " + FishQuoted(Words(option.values, FishQuoted));
    } else if (option.takesValue) {
      rule += option.fileValue ? " -r" : " -x";
    }
    s.push_back(rule + " -d " + FishQuoted(option.description));
  };
  for (const CompletionOption& o : model.options) option(o, o.afterCommand ? "" : "__zorvin_wants_operand_of ''");
  for (const CompletionCommand& command : model.commands) {
    s.push_back("complete -c zorvin -n " + FishQuoted("__zorvin_wants_operand_of ''") + " -a " +
                FishQuoted(command.name) + " -d " + FishQuoted(command.description));
  }
  for (const CompletionCommand& command : model.commands) {
    for (const CompletionOption& o : command.options) option(o, "__zorvin_after " + command.name);
    if (!command.operands.empty()) {
      s.push_back("complete -c zorvin -n " + FishQuoted("__zorvin_wants_operand_of " + command.name + " " + std::to_string(command.operandCount)) + " -a " +
                  FishQuoted(Words(command.operands, FishQuoted)));
    }
    if (command.files) {
      // Map sources too: file names, which the rule for all of zorvin's words turns off.
      s.push_back("complete -c zorvin -n " + FishQuoted("__zorvin_wants_operand_of " + command.name + " " + std::to_string(command.operandCount)) + " -F");
    }
  }
  return s;
}


}  // namespace zorvin::cli

#include "cli/completion.h"

#include "cli/completion_parts.h"

#include <algorithm>
#include <array>

namespace zorvin::cli {
namespace {

// text as one word in bash or zsh: single quotes, a quote inside as '\''.
std::string Quoted(std::string_view text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}


std::vector<std::string> OptionNames(const std::vector<CompletionOption>& options) {
  std::vector<std::string> names;
  for (const CompletionOption& option : options) names.insert(names.end(), option.names.begin(), option.names.end());
  return names;
}

// The options of a command's line: its own, and zorvin's line-end options.
std::vector<CompletionOption> CommandLineOptions(const CompletionModel& model, const CompletionCommand& command) {
  std::vector<CompletionOption> options = command.options;
  for (const CompletionOption& option : model.options) {
    if (option.afterCommand) options.push_back(option);
  }
  return options;
}

std::vector<std::string> CommandNames(const CompletionModel& model) {
  std::vector<std::string> names;
  for (const CompletionCommand& command : model.commands) names.push_back(command.name);
  return names;
}


std::string CasePattern(const std::vector<std::string>& names) {
  std::string pattern;
  for (const std::string& name : names) pattern += (pattern.empty() ? "" : "|") + name;
  return pattern;
}

// In bash and zsh alike, after an option that takes one of a fixed set of
// values (previous: how the shell names the word before the cursor), those values.
void AppendValueCases(Lines& s, const std::vector<CompletionOption>& options, std::string_view previous,
                      std::string_view tag) {
  for (const CompletionOption& option : options) {
    if (option.values.empty()) continue;
    s.push_back("      case " + std::string(previous) + " in " + CasePattern(option.names) + ") options=() " +
                std::string(tag) + "values=(" + Words(option.values, Quoted) + ") ;; esac");
  }
}

// The arms of the loop over the words before the cursor, in bash and zsh
// alike: an option's value is skipped, the first other word is the command,
// and the words after it are its operands.
void AppendWordArms(Lines& s, const CompletionModel& model) {
  const std::vector<std::string> valued = ValuedOptionNames(model);
  if (!valued.empty()) s.push_back("      " + CasePattern(valued) + ") ((i++)) ;;");
  s.insert(s.end(), {
                        "      -*) ;;",
                        "      *) if [[ -z $command ]]; then command=$word; else ((operands++)); fi ;;",
                        "    esac",
                        "  done",
                    });
}

// bash: the words before the cursor give the command and how many operands it
// has; the candidates are its options after "-", else its operand's values,
// those that start with the word typed, ignoring case (the names are exact,
// and completing one corrects its case).
Lines Bash(const CompletionModel& model) {
  Lines s = {
      "# bash completion for zorvin, written by 'zorvin completion bash'.",
      "_zorvin() {",
      "  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}",
      "  local command= word i operands=0 files=",
      "  for ((i = 1; i < COMP_CWORD; i++)); do",
      "    word=${COMP_WORDS[i]}",
      "    case $word in",
  };
  AppendWordArms(s, model);
  s.insert(s.end(), {
                        "  local -a options=() values=()",
                        "  case $command in",
                        "    '')",
                        "      options=(" + Words(OptionNames(model.options), Quoted) + ")",
                        "      values=(" + Words(CommandNames(model), Quoted) + ")",
                    });
  AppendValueCases(s, model.options, "$prev", "");
  s.back() += " ;;";
  for (const CompletionCommand& command : model.commands) {
    const std::vector<CompletionOption> options = CommandLineOptions(model, command);
    s.push_back("    " + Quoted(command.name) + ")");
    s.push_back("      options=(" + Words(OptionNames(options), Quoted) + ")");
    AppendValueCases(s, options, "$prev", "");
    if (!command.operands.empty()) {
      s.push_back("      ((${#values[@]} == 0 && operands < " + std::to_string(command.operandCount) + ")) && values=(" +
                  Words(command.operands, Quoted) + ")");
    }
    if (command.files) {
      s.push_back("      ((operands < " + std::to_string(command.operandCount) +
                  ")) && [[ $prev != -* ]] && { files=1; compopt -o filenames 2>/dev/null; }");
    }
    s.back() += " ;;";
  }
  s.insert(s.end(), {
                        "  esac",
                        "  local candidates=(\"${values[@]}\") lower=${cur,,} candidate",
                        "  [[ $cur == -* ]] && candidates=(\"${options[@]}\") files=",
                        "  COMPREPLY=()",
                        "  for candidate in \"${candidates[@]}\"; do",
                        "    [[ ${candidate,,} == \"$lower\"* ]] && COMPREPLY+=(\"$candidate\")",
                        "  done",
                        "  [[ -n $files ]] && mapfile -t -O ${#COMPREPLY[@]} COMPREPLY < <(compgen -f -- \"$cur\")",
                        "}",
                        "complete -F _zorvin zorvin",
                    });
  return s;
}

// "name:description" for zsh's _describe: a colon in the name escaped.
std::string Described(std::string_view name, std::string_view description) {
  std::string entry;
  for (char c : name) {
    if (c == ':' || c == '\\') entry += '\\';
    entry += c;
  }
  return Quoted(entry + ":" + std::string(description));
}

std::string DescribedOptions(const std::vector<CompletionOption>& options) {
  std::string entries;
  for (const CompletionOption& option : options) {
    for (const std::string& name : option.names) {
      entries += (entries.empty() ? "" : " ") + Described(name, option.description);
    }
  }
  return entries;
}

// zsh: the same reading of the line as bash's; the candidates through
// _describe, so that commands and options show what they do, matched ignoring case.
Lines Zsh(const CompletionModel& model) {
  Lines s = {
      "#compdef zorvin",
      "# zsh completion for zorvin, written by 'zorvin completion zsh'.",
      "_zorvin() {",
      "  local command= word tag=commands files=",
      "  integer i operands=0",
      "  for ((i = 2; i < CURRENT; i++)); do",
      "    word=$words[i]",
      "    case $word in",
  };
  AppendWordArms(s, model);
  std::string commands;
  for (const CompletionCommand& command : model.commands) {
    commands += (commands.empty() ? "" : " ") + Described(command.name, command.description);
  }
  s.insert(s.end(), {
                        "  local -a options values",
                        "  case $command in",
                        "    '')",
                        "      options=(" + DescribedOptions(model.options) + ")",
                        "      values=(" + commands + ")",
                    });
  AppendValueCases(s, model.options, "$words[CURRENT-1]", "tag=values ");
  s.back() += " ;;";
  for (const CompletionCommand& command : model.commands) {
    const std::vector<CompletionOption> options = CommandLineOptions(model, command);
    s.push_back("    " + Quoted(command.name) + ")");
    s.push_back("      options=(" + DescribedOptions(options) + ")");
    AppendValueCases(s, options, "$words[CURRENT-1]", "tag=values ");
    if (!command.operands.empty()) {
      s.push_back("      (( $#values == 0 && operands < " + std::to_string(command.operandCount) +
                  " )) && tag=names && values=(" + Words(command.operands, Quoted) + ")");
    }
    if (command.files) {
      s.push_back("      (( operands < " + std::to_string(command.operandCount) + " )) && [[ $tag != values ]] && files=1");
    }
    s.back() += " ;;";
  }
  s.insert(s.end(), {
                        "  esac",
                        "  if [[ $PREFIX == -* ]]; then",
                        "    _describe -t options option options",
                        "  elif [[ -n $files ]]; then",
                        "    _describe -t $tag ${tag%s} values -M 'm:{a-zA-Z}={A-Za-z}'",
                        "    _files",
                        "  elif (( $#values )); then",
                        "    _describe -t $tag ${tag%s} values -M 'm:{a-zA-Z}={A-Za-z}'",
                        "  else",
                        "    return 1",
                        "  fi",
                        "}",
                        "_zorvin \"$@\"",
                    });
  return s;
}

struct Shell {
  std::string_view name;
  Lines (*write)(const CompletionModel& model);
};
constexpr std::array kShells = {Shell{"bash", Bash}, Shell{"zsh", Zsh}, Shell{"fish", FishScript}};
constexpr std::array<std::string_view, kShells.size()> kShellNames = {"bash", "zsh", "fish"};

}  // namespace

// The options after which the next word is their value, not an operand.
std::vector<std::string> ValuedOptionNames(const CompletionModel& model) {
  std::vector<std::string> names;
  auto add = [&names](const std::vector<CompletionOption>& options) {
    for (const CompletionOption& option : options) {
      if (option.takesValue) names.insert(names.end(), option.names.begin(), option.names.end());
    }
  };
  add(model.options);
  for (const CompletionCommand& command : model.commands) add(command.options);
  return names;
}

std::span<const std::string_view> CompletionShells() { return kShellNames; }

Lines CompletionScript(std::string_view shell, const CompletionModel& model) {
  // The parser lets through only the names CompletionShells gives.
  return std::find_if(kShells.begin(), kShells.end(), [&](const Shell& s) { return s.name == shell; })->write(model);
}

}  // namespace zorvin::cli

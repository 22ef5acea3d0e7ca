// The shells' completion scripts for zorvin: its commands, their options and
// every name its commands accept. zorvin writes them from its own option table
// and the core's catalogs, so a script cannot offer what zorvin would refuse.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/outcome.h"

namespace zorvin::cli {

struct CompletionOption {
  std::vector<std::string> names;   // "-h", "--help"
  std::string description;
  bool takesValue = false;
  std::vector<std::string> values;  // the values it takes, when they are a fixed set
  bool fileValue = false;           // its value is a file's path
  bool afterCommand = false;        // also given after a command (the line-end options)
};

struct CompletionCommand {
  std::string name;
  std::string description;
  std::vector<CompletionOption> options;  // its own
  std::size_t operandCount = 0;           // how many operands it takes
  std::vector<std::string> operands;      // what each operand may be; empty for any text
  bool files = false;                     // an operand may also be a file's path
};

struct CompletionModel {
  std::vector<CompletionOption> options;  // zorvin's own, before a command
  std::vector<CompletionCommand> commands;
};

// "bash", "zsh" and "fish".
std::span<const std::string_view> CompletionShells();

// The script for shell, which CompletionShells names.
Lines CompletionScript(std::string_view shell, const CompletionModel& model);

struct Options;
// zorvin completion SHELL: the script of options.shell, written from the
// command table (cli.cpp).
Outcome Completion(const Options& options);

}  // namespace zorvin::cli

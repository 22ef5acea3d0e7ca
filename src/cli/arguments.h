// The command line read against the command table: zorvin's own options
// anywhere, the command it names, that command's options and operands; and
// --help written from the same table.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "cli/command_table.h"

namespace zorvin::cli {

struct Parsed {
  const Command* command = nullptr;  // none for a line that names none
  Options options;
  // What is wrong with the line, in zorvin's words (without "zorvin: "); none
  // when it can be carried out, or when it asks for --help or --version,
  // which are answered whatever else it holds.
  std::optional<std::string> error;
};

// Reads args (the words after the program's name, as UTF-8). An option's
// value is the word after it, or what follows its "=" ("--format=json"); a
// flag takes none. "--" ends the options: every word after it is an operand.
Parsed Parse(std::span<const std::string> args);

// What --help prints: zorvin's commands and own options, or a command's.
std::string HelpText(const Command* command);

}  // namespace zorvin::cli

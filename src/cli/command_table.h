// zorvin's commands: for each, its name, what --help says of it, its options
// and operands as data, and the function that carries it out. arguments.h
// reads a command line against them; the completion scripts are written from
// them too.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "cli/outcome.h"

namespace zorvin::cli {

// What the options of every command fill in.
struct Options {
  // zorvin's own, before or after the command.
  bool help = false;
  bool version = false;
  bool lf = false;
  bool crlf = false;
  std::string color = "auto";

  std::string level;
  std::string other;
  bool all = false;
  std::string output = "text";  // light's and compare's --format
  std::string blockFormat = "block";  // level's --format
  std::vector<std::string> maps;     // apply's
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
  std::vector<std::string> set;       // --set KEY=VALUE, each as given
  std::vector<std::string> paths;     // check's
  std::vector<std::string> effects;   // check's --effects
  std::string checkFormat = "text";   // check's --format
  bool fix = false;                   // check's --fix
  std::function<int()> columns;       // the terminal's width, asked when a picture is drawn in it
};

// Where a parameter's value goes: a flag sets a bool; a list takes the value
// each time the option is given (or every operand left); a number is a whole
// number within the parameter's range.
using Target = std::variant<bool Options::*, std::string Options::*, std::optional<std::string> Options::*,
                            std::vector<std::string> Options::*, std::optional<int> Options::*, int Options::*>;

// One option ("--format") or operand ("NAME") of a command.
struct Param {
  std::string_view name;
  std::string_view description;
  Target target;
  std::string_view valueName = {};  // what an option's value is called in --help; empty for a flag
  std::vector<std::string> (*values)() = nullptr;  // the values it takes, when they are a fixed set
  bool required = false;
  std::string_view needs = {};  // an option that must be given with this one
  int least = 0;                // a number's range
  int most = 0;
  std::string_view alias = {};  // a one-letter name beside it ("-h")

  bool IsOperand() const { return !name.starts_with('-'); }
  bool IsFlag() const { return std::holds_alternative<bool Options::*>(target); }
  bool IsList() const { return std::holds_alternative<std::vector<std::string> Options::*>(target); }
};

struct Command {
  const char* name;
  const char* summary;
  std::span<const Param> params;  // its options and operands, in the order --help lists them
  Outcome (*run)(const Options& options);
  // For the completion scripts: what the command's operands may be; null for
  // any text.
  std::vector<std::string> (*operands)();
  bool files = false;     // an operand may also be a map source's path
  const char* footer = nullptr;  // --help's examples
};

// The commands, in the order --help lists them.
std::span<const Command> Commands();

// zorvin's own options (--help, --version, --lf, --crlf, --color), which any
// command line may give before or after its command.
std::span<const Param> CommonParams();

// The values --color takes.
std::vector<std::string> ColorChoices();

}  // namespace zorvin::cli

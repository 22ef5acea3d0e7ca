// zorvin's commands: for each, its name, what --help says of it, its options
// and operands, and the function that carries it out.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cli/outcome.h"

namespace CLI {
class App;
}

namespace zorvin::cli {

// What the options of every command fill in.
struct Options {
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
  const CLI::App* app = nullptr;  // what the completion scripts are written from
};

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

// The commands, in the order --help lists them.
std::span<const Command> Commands();

// The completion script of options.shell, written from the parser that
// holds every command (cli.cpp).
Outcome Completion(const Options& options);

// The values --color takes.
std::vector<std::string> ColorChoices();

}  // namespace zorvin::cli

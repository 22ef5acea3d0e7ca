// zorvin, the command-line companion: the program's two tables for scripts
// and wikis, from the same core as the windows. Everything but the process's
// own input and output is here, so that tests and the fuzzer run it in-process.
#pragma once

#include <functional>
#include <span>
#include <string>

#include "cli/outcome.h"

namespace zorvin::cli {

enum class LineEnd { Lf, CrLf };

struct Result {
  int status = kFound;
  std::string out;  // standard output: the result, only on success (or help)
  std::string err;  // standard error: messages
};

// What zorvin knows of where its output goes, for --color auto.
struct Terminal {
  // Whether standard output is a terminal that shows colour and NO_COLOR is
  // not set; asked only when a command would colour. Null: it is not.
  std::function<bool()> takesColor;
  // How many columns wide the terminal is, for a picture drawn in it; null,
  // or 0: not known.
  std::function<int()> columns;
};

// Runs one command line (the arguments after the program's name, as UTF-8)
// as zorvin does; lines end with platformEnd unless --lf or --crlf says otherwise.
Result Run(std::span<const std::string> args, LineEnd platformEnd, const Terminal& terminal = {});

}  // namespace zorvin::cli

// zorvin's command line, in-process through cli::Run: read as --help
// describes it, each refusal in zorvin's words, and --help written from the
// same table the line is read against.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/command_table.h"
#include "cli_support.h"
#include "settings/level_catalog.h"

namespace zorvin::cli {
namespace {

// The command line read as --help describes it: values attached or apart,
// zorvin's options on either side of the command, "--" before an operand that
// starts with "-", and --help or --version answering whatever else is there.
TEST(Cli, CommandLinesAreReadAsTheHelpSays) {
  struct Case {
    std::vector<std::string> args;
    std::string out;  // the start of standard output
    std::string err;  // all of standard error
    int status = kFound;
  };
  const std::string block = RunArgs({"level", "mp_toujane"}).out;
  const Case cases[] = {
      {{"level", "--format=map", "mp_toujane"}, "\"_color\" \"0.813 0.804 0.706\"\n", ""},
      {{"level", "mp_toujane", "--lf"}, block, ""},
      {{"--crlf", "level", "mp_toujane", "--crlf"}, "{\r\n", ""},
      {{"find", "--", "-x"}, "", "zorvin: no level, category or file name contains '-x'\n", kNotFound},
      {{"find", "-x"}, "", "zorvin: find has no option '-x'\nzorvin: 'zorvin find --help' says what it takes\n", kBadUsage},
      {{"check", "x", "--fromat", "json"}, "", "zorvin: check has no option '--fromat'; did you mean '--format'?\n", kBadUsage},
      {{"--colour", "never", "levels"}, "", "zorvin: zorvin has no option '--colour'; did you mean '--color'?\n", kBadUsage},
      {{"export", "--format", "jsno"}, "", "zorvin: --format takes json, csv, markdown or html, not 'jsno'; did you mean 'json'?\n", kBadUsage},
      {{"export"}, "", "zorvin: export needs --format: json, csv, markdown or html\nzorvin: 'zorvin export --help' says what it takes\n", kBadUsage},
      {{"level", "mp_toujane", "--format", "map", "--format", "block"}, "", "zorvin: --format is given twice\nzorvin: 'zorvin level --help' says what it takes\n", kBadUsage},
      {{"levels", "--list=yes"}, "", "zorvin: --list takes no value\nzorvin: 'zorvin levels --help' says what it takes\n", kBadUsage},
      {{"level", "mp_toujane", "extra"}, "", "zorvin: 'extra' was not expected: level takes NAME\nzorvin: 'zorvin level --help' says what it takes\n", kBadUsage},
      {{"apply"}, "", "zorvin: apply needs SOURCE\nzorvin: 'zorvin apply --help' says what it takes\n", kBadUsage},
      {{"check", "x", "--dry-run"}, "", "zorvin: --dry-run needs --fix\nzorvin: 'zorvin check --help' says what it takes\n", kBadUsage},
      {{"preview", "mp_toujane", "--size", "16x"}, "", "zorvin: --size takes a whole number from 16 to 4096, not '16x'\nzorvin: 'zorvin preview --help' says what it takes\n", kBadUsage},
      {{"level", "--set"}, "", "zorvin: --set needs a value: KEY=VALUE\nzorvin: 'zorvin level --help' says what it takes\n", kBadUsage},
      {{"--lf", "levels", "--crlf"}, "", "zorvin: --lf and --crlf cannot both be given\nzorvin: 'zorvin levels --help' says what it takes\n", kBadUsage},
      {{}, "", "zorvin: no command given\nzorvin: 'zorvin --help' lists the commands and options\n", kBadUsage},
      {{"--version", "levels", "--frobnicate"}, "zorvin 1.00\n", ""},
      {{"levels", "--version", "--help"}, "zorvin 1.00\n", ""},
      {{"--help", "level"}, "Print the settings block of a level", ""},
      {{"apply", "--help", "--no-such"}, "Set a level's or a map's light", ""},
      {{"-h"}, "The worldspawn settings and stock effects tables", ""},
      {{"levels", "--help"}, "Print every level name that level accepts\nUsage: zorvin levels [OPTIONS]\n", ""},
  };
  for (const Case& c : cases) {
    const Result result = RunArgs(c.args);
    const std::string shown = c.args.empty() ? "(none)" : c.args[0] + " ..." + std::to_string(c.args.size());
    EXPECT_EQ(result.status, c.status) << shown;
    EXPECT_EQ(result.out.substr(0, c.out.size()), c.out) << shown;
    EXPECT_EQ(result.err, c.err) << shown;
  }
  // Each command's --help names its operands and options, and the count
  // --list gives is the drop-down's.
  for (const Command& command : Commands()) {
    const std::string help = RunArgs({command.name, "--help"}).out;
    for (const Param& param : command.params) EXPECT_NE(help.find(param.name), std::string::npos) << command.name;
  }
  EXPECT_NE(RunArgs({"levels", "--help"}).out.find(std::to_string(LevelListItems().size()) + " items"), std::string::npos);
}

}  // namespace
}  // namespace zorvin::cli

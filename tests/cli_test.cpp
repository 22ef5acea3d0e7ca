// zorvin, the command-line companion: in-process through cli::Run, and (on
// Linux) as the real binary, against the expected files under tests/golden/.
#include "cli/cli.h"
#include "cli/text.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif
#include <string>
#include <vector>

#include "golden.h"

namespace zorvin::cli {
namespace {

using test::GoldenBlock;
using test::GoldenCategories;
using test::GoldenLevels;
using test::GoldenListing;

Result RunArgs(std::vector<std::string> args, LineEnd end = LineEnd::Lf) { return Run(args, end); }

// A golden text (CR LF between lines, none at the end) as zorvin prints it.
std::string AsPrinted(std::string text, LineEnd end) {
  if (end == LineEnd::Lf) {
    std::string lf;
    for (char c : text) {
      if (c != '\r') lf += c;
    }
    text = lf;
  }
  return text + (end == LineEnd::Lf ? "\n" : "\r\n");
}

TEST(Cli, EveryLevelAndCategoryInEitherLineEnd) {
  for (const LineEnd end : {LineEnd::Lf, LineEnd::CrLf}) {
    for (std::string_view level : GoldenLevels()) {
      const Result result = RunArgs({"level", std::string(level)}, end);
      EXPECT_EQ(result.status, kFound) << level;
      EXPECT_EQ(result.out, AsPrinted(GoldenBlock(level), end)) << level;
    }
    for (std::string_view category : GoldenCategories()) {
      const Result result = RunArgs({"effects", std::string(category)}, end);
      EXPECT_EQ(result.out, AsPrinted(GoldenListing(category), end)) << category;
    }
  }
  EXPECT_EQ(RunArgs({"--crlf", "level", "mp_toujane"}).out,
            AsPrinted(GoldenBlock("mp_toujane"), LineEnd::CrLf));
  EXPECT_EQ(RunArgs({"level", "mp_toujane", "--lf"}, LineEnd::CrLf).out,
            AsPrinted(GoldenBlock("mp_toujane"), LineEnd::Lf));
}

TEST(Cli, ListsComeInTheirDisplayOrder) {
  const Result levels = RunArgs({"levels"});
  EXPECT_EQ(std::count(levels.out.begin(), levels.out.end(), '\n'), 40);
  EXPECT_TRUE(levels.out.starts_with("mp_breakout\n")) << levels.out.substr(0, 40);
  const Result listed = RunArgs({"levels", "--list"});
  EXPECT_EQ(std::count(listed.out.begin(), listed.out.end(), '\n'), 42) << "with the two empty items";
  EXPECT_NE(listed.out.find("\n--SP_LEVELS--\n"), std::string::npos);
  const Result categories = RunArgs({"effects"});
  EXPECT_EQ(std::count(categories.out.begin(), categories.out.end(), '\n'), 66);
  EXPECT_TRUE(categories.out.starts_with("American_Effects\n"));
  EXPECT_TRUE(categories.out.ends_with("\nWine_Effects\n"));
}

TEST(Cli, FindIgnoresCaseAndSaysWhereEachNameWasFound) {
  // Levels, a category, and files of two categories.
  const Result toujane = RunArgs({"find", "TouJane"});
  EXPECT_EQ(toujane.status, kFound);
  EXPECT_EQ(
      toujane.out,
      "level\tmp_toujane\nlevel\tsp_toujane\nlevel\tsp_toujane_ride\ncategory\tToujane_Effects\n"
      "file\tsmoke_plumeBG_toujane.efx\tSmoke_Effects\nfile\ttoujane_tunnel_collapse.efx\tToujane_Effects\n"
      "file\ttoujane_tunnel_collapse_trail.efx\tToujane_Effects\n");
  const Result bottle = RunArgs({"find", "BOTTLE"});
  EXPECT_EQ(bottle.out, "file\twine_bottle.efx\tWine_Effects\n");
  const Result ammo = RunArgs({"find", "ammo"});
  EXPECT_NE(ammo.out.find("category\tAmmo_Effects\n"), std::string::npos);
  EXPECT_NE(ammo.out.find("file\tammo_supply_exp.efx\tAmmo_Effects\n"), std::string::npos);
  const Result none = RunArgs({"find", "zzzq"});
  EXPECT_EQ(none.status, kNotFound);
  EXPECT_EQ(none.out, "");
  EXPECT_EQ(none.err, "zorvin: no level, category or file name contains 'zzzq'\n");
}

TEST(Cli, NamesNotFoundSuggestTheNearest) {
  struct Case {
    std::vector<std::string> args;
    std::string err;
    int status = kNotFound;
  };
  const Case cases[] = {
      // A mistyped command, as git answers one: bad usage.
      {{"levle", "mp_toujane"}, "zorvin: no command 'levle'; did you mean 'level' or 'levels'?\n", kBadUsage},
      {{"--color", "never", "lihgt", "mp_toujane"}, "zorvin: no command 'lihgt'; did you mean 'light'?\n", kBadUsage},
      {{"frobnicate"}, "zorvin: no command 'frobnicate'\nzorvin: 'zorvin --help' lists the commands and options\n", kBadUsage},
      {{"level", "mp_toujan"},
       "zorvin: no level named 'mp_toujan'; did you mean 'mp_toujane' or 'sp_toujane'?\n"},
      {{"level", "MP_TOUJANE"}, "zorvin: no level named 'MP_TOUJANE'; did you mean 'mp_toujane'?\n"},
      {{"level", " mp_toujane"},
       "zorvin: no level named ' mp_toujane'; did you mean 'mp_toujane' or 'sp_toujane'?\n"},
      {{"effects", "ammo_effects"},
       "zorvin: no effects category named 'ammo_effects'; did you mean 'Ammo_Effects'?\n"},
      {{"level", "nothing like it"}, "zorvin: no level named 'nothing like it'\n"},
      {{"level", "toujane"},
       "zorvin: no level named 'toujane'; did you mean 'mp_toujane', 'sp_toujane' or 'sp_toujane_ride'?\n"},
      {{"level", "carentan"}, "zorvin: no level named 'carentan'; did you mean 'mp_carentan'?\n"},
      {{"level", "caf\xc3\xa9\x1b"}, "zorvin: no level named 'caf\xc3\xa9\\x1b'\n"},
      {{"light", "mp_toujan"},
       "zorvin: no level named 'mp_toujan'; did you mean 'mp_toujane' or 'sp_toujane'?\n"},
      {{"compare", "mp_toujane", "carentan"}, "zorvin: no level named 'carentan'; did you mean 'mp_carentan'?\n"},
  };
  for (const Case& c : cases) {
    const Result result = RunArgs(c.args);
    EXPECT_EQ(result.status, c.status) << c.args[0];
    EXPECT_EQ(result.out, "") << c.args[0];
    EXPECT_EQ(result.err, c.err);
  }
}

// Never a crash, never output on a failure: each bad command line ends in a
// message and status 1 (a name not found) or 2 (bad usage).
TEST(Cli, BadCommandLinesPrintNothingAndSayWhy) {
  const std::string huge(100000, 'm');
  std::string accents;  // cut in a message, never inside a character
  for (int i = 0; i < 150; ++i) accents += "\xc3\xa9";
  struct Case {
    std::vector<std::string> args;
    int status;
  };
  const Case cases[] = {
      {{}, kBadUsage},
      {{""}, kBadUsage},
      {{"level"}, kBadUsage},
      {{"level", "mp_toujane", "sp_rhine"}, kBadUsage},
      {{"level", ""}, kNotFound},
      {{"level", huge}, kNotFound},
      {{"find", huge}, kNotFound},
      {{"find", ""}, kBadUsage},
      {{"level", "mp_\x01\x1b[2J"}, kNotFound},
      {{"level", "mp_toujane\n"}, kNotFound},
      {{"level", "\xff\xfe"}, kBadUsage},
      {{"effects",
        "Ammo_\xc0\xaf"
        "Effects"},
       kBadUsage},
      {{"find", "\xed\xa0\x80"}, kBadUsage},
      {{"--frobnicate", "levels"}, kBadUsage},
      {{"levels", "--frobnicate"}, kBadUsage},
      {{"--lf", "--crlf", "levels"}, kBadUsage},
      {{"export"}, kBadUsage},
      {{"export", "--format", "xml"}, kBadUsage},
      {{"effects", "Ammo_Effects", "Misc_Effects"}, kBadUsage},
      {{"levels", huge}, kBadUsage},
      {{"levels", "\x1b]0;title\x07"}, kBadUsage},
      {{"completion", "tcsh"}, kBadUsage},
      {{"levels", accents}, kBadUsage},
      {{"compare", "mp_toujane"}, kBadUsage},
      {{"light", "mp_toujane", "--format", "xml"}, kBadUsage},
      {{"--color", "sometimes", "light", "mp_toujane"}, kBadUsage},
      {{"apply", "mp_toujane"}, kBadUsage},
      {{"level", "mp_toujane", "--format", "json"}, kBadUsage},
      {{"apply", "mp_toujan", "x.map"}, kNotFound},
      {{"preview", "mp_toujane", "--size", "15", "--output", "-"}, kBadUsage},
      {{"preview", "mp_toujane", "--size", "4097", "--output", "-"}, kBadUsage},
      {{"preview", "mp_toujane", "--size", "big", "--output", "-"}, kBadUsage},
      {{"preview", "mp_toujane"}, kBadUsage},  // no colour and no --output: nothing to draw into
      {{"--color", "never", "preview", "mp_toujane"}, kBadUsage},
      {{"preview", "mp_toujan", "--output", "-"}, kNotFound},
      {{"preview", "nowhere/x.map", "--output", "-"}, kBadMap},
      {{"preview", "mp_toujane", "--output", "/"}, kCannotWrite},
      {{"similar", "mp_toujane", "--top", "0"}, kBadUsage},
      {{"similar", "mp_toujane", "--top", "-3"}, kBadUsage},
      {{"similar", "mp_toujane", "--top", "five"}, kBadUsage},
      {{"similar", "mp_toujane", "--format", "xml"}, kBadUsage},
      {{"similar", "sp_tojane"}, kNotFound},
  };
  for (const Case& c : cases) {
    const Result result = RunArgs(c.args);
    const std::string shown = c.args.empty() ? "(none)" : c.args[0] + " ..." + std::to_string(c.args.size());
    EXPECT_EQ(result.status, c.status) << shown;
    EXPECT_EQ(result.out, "") << shown;
    EXPECT_FALSE(result.err.empty()) << shown;
    EXPECT_LT(result.err.size(), 1000u) << "a long argument is cut short in the message";
    EXPECT_EQ(result.err.find('\x1b'), std::string::npos) << "control characters are escaped";
    EXPECT_TRUE(IsUtf8(result.err)) << shown;
    for (const std::string& line : SplitLines(result.err, "\n")) {
      if (!line.empty()) {
        EXPECT_EQ(line.rfind("zorvin: ", 0), 0u) << shown << ": " << line;
      }
    }
  }
}

// The light and the comparisons against what was worked out from the tables'
// values on their own: the colour of "0.5 0.5 .62 1" and of the 0-255 scale,
// suncolor "1.2", a pitch past the vertical, rows written differently.
TEST(Cli, LightAndCompareGiveTheExpectedReading) {
  const struct {
    std::vector<std::string> args;
    const char* file;
  } cases[] = {
      {{"light", "mp_toujane"}, "light_mp_toujane.txt"},
      {{"light", "mp_dawnville"}, "light_mp_dawnville.txt"},
      {{"light", "sp_crossroads"}, "light_sp_crossroads.txt"},
      {{"light", "mp_breakout"}, "light_mp_breakout.txt"},
      {{"light", "sp_newvillers"}, "light_sp_newvillers.txt"},
      {{"light", "mp_dawnville", "--format", "json"}, "light_mp_dawnville.json"},
      {{"light", "--format", "json", "sp_88ridge"}, "light_sp_88ridge.json"},
      {{"compare", "mp_toujane", "mp_carentan"}, "compare_mp_toujane_mp_carentan.txt"},
      {{"compare", "mp_matmata", "sp_matmana", "--all"}, "compare_mp_matmata_sp_matmana_all.txt"},
      {{"compare", "mp_downtown", "sp_cityhall"}, "compare_mp_downtown_sp_cityhall.txt"},
      {{"compare", "mp_toujane", "mp_toujane"}, "compare_mp_toujane_mp_toujane.txt"},
      {{"compare", "mp_matmata", "sp_matmana", "--format", "json"}, "compare_mp_matmata_sp_matmana.json"},
      // As a map holds them: "-contrastgain" without its dash, empty values and classname left out.
      {{"level", "mp_downtown", "--format", "map"}, "map_mp_downtown.txt"},
      {{"level", "--format", "map", "sp_hill400_assault"}, "map_sp_hill400_assault.txt"},
  };
  for (const auto& c : cases) {
    const Result result = RunArgs(c.args);
    EXPECT_EQ(result.status, kFound) << c.file;
    EXPECT_EQ(result.out, test::GoldenOutput(c.file)) << c.file;
    EXPECT_EQ(result.err, "") << c.file;
  }
}

// Escapes only where colour is asked for or the terminal takes it: never in
// JSON, never with --color never or NO_COLOR (which the terminal reports).
TEST(Cli, SwatchesOnlyWhereColourIsWanted) {
  const Terminal terminal{[] { return true; }, nullptr};
  const struct {
    std::vector<std::string> args;
    const Terminal* to;
    bool painted;
  } cases[] = {
      {{"light", "mp_toujane"}, nullptr, false},
      {{"light", "mp_toujane"}, &terminal, true},
      {{"--color", "never", "light", "mp_toujane"}, &terminal, false},
      {{"light", "mp_toujane", "--color", "always"}, nullptr, true},
      {{"--color", "always", "light", "mp_toujane", "--format", "json"}, nullptr, false},
      {{"compare", "mp_toujane", "mp_carentan"}, &terminal, true},
  };
  for (const auto& c : cases) {
    const Result result = cli::Run(c.args, LineEnd::Lf, c.to != nullptr ? *c.to : Terminal{});
    EXPECT_EQ(result.out.find("\x1b[48;2;207;205;180m") != std::string::npos, c.painted) << c.args[1];
  }
}

// The preview drawn in a terminal, as a PNG, and the stock lights ranked.
TEST(Cli, PreviewAndSimilarGiveTheirPicturesAndRankings) {
  const Terminal terminal{[] { return true; }, [] { return 80; }};
  const Terminal narrow{[] { return true; }, [] { return 21; }};
  const struct {
    std::vector<std::string> args;
    const Terminal* to;
    std::string outStart;  // the first bytes of standard output
    std::size_t lines;     // how many lines it has (0: bytes, a PNG)
    std::string err;
  } cases[] = {
      // 32 half blocks wide, 16 lines: the top-left pixels are mp_toujane's lit ground.
      {{"preview", "mp_toujane"}, &terminal, "\x1b[38;2;188;186;179m\x1b[48;2;188;186;179m\xE2\x96\x80", 16, ""},
      {{"preview", "mp_toujane"}, &narrow, "\x1b[38;2;188;186;179m", 10, ""},
      {{"--color", "always", "preview", "mp_toujane", "--size", "17"}, nullptr, "\x1b[38;2;", 9, ""},
      {{"preview", "mp_dawnville", "--output", "-"}, nullptr, "\x89PNG\r\n\x1a\n", 0,
       "zorvin: mp_dawnville: suncolor '1.2' is not a colour: drawn white\n"
       "zorvin: mp_dawnville: sunlight has no value: drawn as 1\n"},
      {{"similar", "mp_toujane", "--top", "2"}, nullptr, "sp_toujane   5.7\nmp_breakout  6.4\n", 2, ""},
      {{"similar", "mp_toujane", "--format", "json", "--top", "1"}, nullptr,
       "{\n  \"of\": \"mp_toujane\",\n  \"levels\": [\n    {\n      \"level\": \"sp_toujane\",\n      \"difference\": 5.7\n", 0, ""},
  };
  for (const auto& c : cases) {
    const Result result = cli::Run(c.args, LineEnd::Lf, c.to != nullptr ? *c.to : Terminal{});
    SCOPED_TRACE(testing::PrintToString(c.args));
    EXPECT_EQ(result.status, kFound) << result.err;
    EXPECT_EQ(result.out.substr(0, c.outStart.size()), c.outStart);
    if (c.lines > 0) {
      EXPECT_EQ(SplitLines(result.out, "\n").size() - 1, c.lines);
    }
    EXPECT_EQ(result.err, c.err);
  }
  // The PNG is 256 pixels square unless --size says otherwise (IHDR's width and height).
  const std::string png = RunArgs({"preview", "mp_toujane", "--size", "300", "--output", "-"}).out;
  EXPECT_EQ(png.substr(16, 8), std::string("\0\0\x01\x2c\0\0\x01\x2c", 8));
}

TEST(Cli, HelpAndVersion) {
  const Result version = RunArgs({"--version"});
  EXPECT_EQ(version.status, kFound);
  EXPECT_EQ(version.out, "zorvin 1.00\n");
  for (const char* command : {"level", "levels", "effects", "find", "light", "compare", "apply", "export", "completion"}) {
    const Result help = RunArgs({command, "--help"});
    EXPECT_EQ(help.status, kFound) << command;
    EXPECT_NE(help.out.find("Usage"), std::string::npos) << command;
  }
}

TEST(Cli, JsonExportGivesBackTheExpectedBlocksAndListings) {
  const Result result = RunArgs({"export", "--format", "json"});
  ASSERT_EQ(result.status, kFound);
  const nlohmann::json all = nlohmann::json::parse(result.out);
  EXPECT_EQ(all["version"], "1.00");
  ASSERT_EQ(all["levels"].size(), GoldenLevels().size());
  for (const auto& level : all["levels"]) {
    const std::string name = level["name"];
    EXPECT_EQ(level["block"], GoldenBlock(name)) << name;
    EXPECT_EQ(level["fields"].size(), 20u);
    EXPECT_EQ(level["fields"]["oChar"], "{");
  }
  EXPECT_EQ(all["levelList"].size(), 42u);
  ASSERT_EQ(all["effects"].size(), GoldenCategories().size());
  for (const auto& category : all["effects"]) {
    std::string listing;
    for (const auto& file : category["files"])
      listing += (listing.empty() ? "" : "\r\n") + file.get<std::string>();
    EXPECT_EQ(listing, GoldenListing(category["category"].get<std::string>()));
  }
}

TEST(Cli, CsvAndMarkdownCarryEveryRow) {
  const Result csv = RunArgs({"export", "--format", "csv"}, LineEnd::CrLf);
  ASSERT_EQ(csv.status, kFound);
  EXPECT_TRUE(csv.out.starts_with("kind,name,field,value\r\n"));
  EXPECT_NE(csv.out.find("level,mp_toujane,color,0.813 0.804 0.706\r\n"), std::string::npos);
  // A block is one quoted value, its own CR LF kept.
  EXPECT_NE(csv.out.find("level,mp_toujane,block,\"" + GoldenBlock("mp_toujane") + "\"\r\n"),
            std::string::npos);
  EXPECT_NE(csv.out.find("effects,Wine_Effects,file,wine_bottle.efx\r\n"), std::string::npos);
  const Result markdown = RunArgs({"export", "--format", "markdown"});
  ASSERT_EQ(markdown.status, kFound);
  EXPECT_NE(markdown.out.find("| mp_toujane | {<br>Northyaw -> <br>_color -> 0.813 0.804 0.706<br>"),
            std::string::npos);
  EXPECT_NE(markdown.out.find("| Ammo_Effects | ammo_supply_exp.efx |\n"), std::string::npos);
}

// The page loads nothing, runs only its own script and style (by hash), and
// holds every block and listing as text.
TEST(Cli, HtmlPageIsSelfContainedAndTheSameEachTime) {
  const Result page = RunArgs({"export", "--format", "html"});
  ASSERT_EQ(page.status, kFound);
  EXPECT_EQ(RunArgs({"export", "--format", "html"}).out, page.out);
  EXPECT_TRUE(page.out.starts_with("<!DOCTYPE html>\n"));
  EXPECT_NE(page.out.find("content=\"default-src 'none'; script-src 'sha256-"), std::string::npos);
  for (const char* absent : {"unsafe-inline", "://", " src=", " style=", " onload", " onclick", " onerror"})
    EXPECT_EQ(page.out.find(absent), std::string::npos) << absent;
  EXPECT_EQ(std::count(page.out.begin(), page.out.end(), '\r'), 0);
  std::size_t blocks = 0;
  for (std::size_t at = page.out.find("<pre>"); at != std::string::npos; at = page.out.find("<pre>", at + 1)) ++blocks;
  EXPECT_EQ(blocks, GoldenLevels().size() + GoldenCategories().size());
  // The block's lines as text ('>' escaped), each in a span of its own.
  std::string block;
  for (std::string line : SplitLines(GoldenBlock("mp_toujane"))) {
    for (std::size_t at; (at = line.find('>')) != std::string::npos;) line.replace(at, 1, "&gt;");
    block += (block.empty() ? "" : "\n") + ("<span>" + line + "</span>");
  }
  EXPECT_NE(page.out.find("<pre>" + block + "</pre>"), std::string::npos) << "as text: '>' escaped";
}

#ifndef _WIN32
// The real binary, as a script runs it.
struct Output {
  std::string out;
  int status;
};

Output RunBinary(const std::string& arguments) {
  const std::string command = std::string(ZORVIN_CLI_EXE) + " " + arguments + " 2>/dev/null";
  Output output{"", -1};
  if (std::FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0;)
      output.out.append(buffer, got);
    const int status = pclose(pipe);
    output.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  return output;
}

TEST(CliBinary, PrintsEveryLevelAndCategoryByteForByte) {
  for (std::string_view level : GoldenLevels()) {
    const Output output = RunBinary("level " + std::string(level));
    EXPECT_EQ(output.status, kFound) << level;
    EXPECT_EQ(output.out, AsPrinted(GoldenBlock(level), LineEnd::Lf)) << level;
  }
  for (std::string_view category : GoldenCategories()) {
    EXPECT_EQ(RunBinary("--crlf effects " + std::string(category)).out,
              AsPrinted(GoldenListing(category), LineEnd::CrLf))
        << category;
  }
}

TEST(CliBinary, ExitStatuses) {
  EXPECT_EQ(RunBinary("levels").status, kFound);
  EXPECT_EQ(RunBinary("level mp_toujan").status, kNotFound);
  EXPECT_EQ(RunBinary("level").status, kBadUsage);
  EXPECT_EQ(RunBinary("--frobnicate").status, kBadUsage);
  EXPECT_EQ(RunBinary("--version").out, "zorvin 1.00\n");
}

// zorvin's export with its standard output on fd; gives what it wrote to
// standard error and its status as a shell gives it (128 + N for signal N).
Output RunWithOutputTo(int fd, void (*pipeSignal)(int)) {
  int err[2];
  if (pipe(err) != 0) return {"pipe failed", -1};
  const pid_t child = fork();
  if (child == 0) {
    signal(SIGPIPE, pipeSignal);
    dup2(fd, STDOUT_FILENO);
    dup2(err[1], STDERR_FILENO);
    execl(ZORVIN_CLI_EXE, ZORVIN_CLI_EXE, "export", "--format", "csv", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(err[1]);
  Output output{"", -1};
  char buffer[512];
  for (ssize_t got; (got = read(err[0], buffer, sizeof(buffer))) > 0;) output.out.append(buffer, std::size_t(got));
  close(err[0]);
  int status = 0;
  if (waitpid(child, &status, 0) == child) {
    if (WIFEXITED(status)) output.status = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) output.status = 128 + WTERMSIG(status);
  }
  return output;
}

// A result that cannot be written is a failure of its own, with the reason;
// a reader that has gone away ends zorvin quietly, as it does the standard tools.
TEST(CliBinary, AFailedWriteHasItsOwnStatusAndSaysWhy) {
  int closed[2];
  ASSERT_EQ(pipe(closed), 0);
  close(closed[0]);  // nobody reads: the write fails with EPIPE
  const int full = open("/dev/full", O_WRONLY);
  ASSERT_GE(full, 0);
  struct Case {
    const char* what;
    int fd;
    void (*pipeSignal)(int);
    int status;
    const char* message;  // on standard error
  };
  const Case cases[] = {
      {"full disk", full, SIG_DFL, kCannotWrite, "zorvin: cannot write the output: No space left on device\n"},
      {"closed pipe", closed[1], SIG_DFL, 128 + SIGPIPE, ""},
      {"closed pipe, SIGPIPE ignored by the caller", closed[1], SIG_IGN, kCannotWrite, ""},
  };
  for (const Case& c : cases) {
    const Output output = RunWithOutputTo(c.fd, c.pipeSignal);
    EXPECT_EQ(output.status, c.status) << c.what;
    EXPECT_EQ(output.out, c.message) << c.what;
  }
  close(closed[1]);
  close(full);
}
#endif

}  // namespace
}  // namespace zorvin::cli

// zorvin, the command-line companion, in-process through cli::Run, against
// the expected files under tests/golden/ (the exports in cli_export_test.cpp,
// the real binary in cli_binary_test.cpp).
#include "cli/cli.h"
#include "cli/text.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <vector>

#include "cli_support.h"

namespace zorvin::cli {
namespace {

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
  // A picture written over another takes its place whole, and nothing else is left in the folder.
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "zorvin-preview-over";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  for (const char* level : {"mp_toujane", "sp_rhine"}) EXPECT_EQ(RunArgs({"preview", level, "--output", Utf8(dir / "p.png")}).status, kFound);
  EXPECT_EQ(ReadFile(dir / "p.png"), RunArgs({"preview", "sp_rhine", "--output", "-"}).out);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 1);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zorvin::cli

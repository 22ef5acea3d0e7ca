// --set KEY=VALUE: a light tuned on the command line, printed, drawn, ranked
// and written as the commands print, draw, rank and write a level's.
#include <gtest/gtest.h>

#include "cli_support.h"

namespace zorvin::cli {
namespace {

TEST(CliTune, TunedLightsAndTheUsageErrorsOfSet) {
  const std::string toujaneKeys =  // mp_toujane --format map, as it stands
      "\"_color\" \"0.813 0.804 0.706\"\n\"ambient\" \".02\"\n\"sundiffusecolor\" \"0.863 0.922 0.922\"\n"
      "\"diffusefraction\" \".4\"\n\"sundirection\" \"-45 135 0\"\n\"suncolor\" \"0.98 0.882 0.745\"\n\"sunlight\" \"1.3\"\n";
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out;  // exactly, or what it starts with when it ends in "..."
    std::string err;
  };
  const Case cases[] = {
      // Any case; a key the level lacks where its block puts it; empty: none; the last of one key twice.
      {{"level", "mp_toujane", "--format", "map", "--set", "SUNLIGHT=2", "--set", "contrastgain=0.4", "--set", "ambient=",
        "--set", "_color=1 1 1", "--set", "_Color=0.5 0.5 0.5 200"},
       kFound,
       "\"contrastgain\" \"0.4\"\n\"_color\" \"0.5 0.5 0.5 200\"\n\"sundiffusecolor\" \"0.863 0.922 0.922\"\n"
       "\"diffusefraction\" \".4\"\n\"sundirection\" \"-45 135 0\"\n\"suncolor\" \"0.98 0.882 0.745\"\n\"sunlight\" \"2\"\n",
       ""},
      {{"level", "mp_toujane", "--format", "map", "--set", "sunlight=1.3"}, kFound, toujaneKeys, ""},
      {{"light", "--set", "suncolor=1 0 0", "mp_toujane"}, kFound, "...", ""},
      // Tuned, the base is one more light to rank: the same values, no difference.
      {{"similar", "mp_toujane", "--set", "sunlight=1.3", "--top", "2"}, kFound, "mp_toujane  0.0\nsp_toujane  5.7\n", ""},
      {{"apply", "mp_toujane", MapsDir() + "/lit.map", "--set", "sunlight=2", "--dry-run"}, kFound, "--- ...", ""},
      {{"level", "mp_toujane", "--format", "map", "--set", "sunligth=2"}, kBadUsage, "",
       "zorvin: no light key 'sunligth'; did you mean 'sunlight'?\n"},
      {{"light", "mp_toujane", "--set", "northyaw=90"}, kBadUsage, "",
       "zorvin: no light key 'northyaw'; the light keys are _color, ambient, sundiffusecolor, diffusefraction, "
       "sundirection, suncolor, sunlight and contrastgain\n"},
      {{"preview", "mp_toujane", "--output", "-", "--set", "sundirection=45 90"}, kBadUsage, "",
       "zorvin: sundirection cannot be '45 90': it takes three numbers (or nothing, for no value)\n"},
      {{"similar", "mp_toujane", "--set", "SUNCOLOR=red"}, kBadUsage, "",
       "zorvin: suncolor cannot be 'red': it takes three or four numbers (or nothing, for no value)\n"},
      {{"light", "mp_toujane", "--set", "sunlight=1 2"}, kBadUsage, "",
       "zorvin: sunlight cannot be '1 2': it takes one number (or nothing, for no value)\n"},
      {{"light", "mp_toujane", "--set", "sunlight"}, kBadUsage, "", "zorvin: --set takes KEY=VALUE, not 'sunlight'\n"},
      {{"level", "mp_toujane", "--set", "sunlight=2"}, kBadUsage, "",
       "zorvin: --set tunes the keys of --format map: a settings block is the level's as it stands\n"},
      // The usage error comes first: the map is not even looked for.
      {{"apply", "mp_toujane", "nowhere/x.map", "--set", "sunlight=x"}, kBadUsage, "",
       "zorvin: sunlight cannot be 'x': it takes one number (or nothing, for no value)\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args.back());
    const Result result = RunArgs(c.args);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.err, c.err);
    if (c.out.ends_with("...")) {
      EXPECT_TRUE(result.out.starts_with(c.out.substr(0, c.out.size() - 3))) << result.out;
    } else {
      EXPECT_EQ(result.out, c.out);
    }
  }
  const Result light = RunArgs({"light", "--set", "suncolor=1 0 0", "mp_toujane"});
  EXPECT_NE(light.out.find("suncolor         1 0 0              #FF0000\n"), std::string::npos) << light.out;
  const Result diff = RunArgs({"apply", "mp_toujane", MapsDir() + "/lit.map", "--set", "sunlight=2", "--set", "ambient=", "--dry-run"});
  EXPECT_NE(diff.out.find("+\"sunlight\" \"2\""), std::string::npos) << diff.out;
  EXPECT_EQ(diff.out.find("ambient\" \".02"), std::string::npos) << "no value: the map's own is kept";
}

}  // namespace
}  // namespace zorvin::cli

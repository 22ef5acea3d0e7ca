// Map sources: what is read of them, and the bytes an edit writes, every one
// it did not mean to change kept; refused when one cannot be read exactly.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#ifdef _WIN32
#include <windows.h>
#endif

#include "cli/cli.h"
#include "cli_support.h"
#include "map/map_edit.h"
#include "map/map_source.h"

namespace zorvin {
namespace {

using cli::MapsDir;
using cli::ReadFile;
using cli::Utf8;
using cli::Zorvin;

namespace fs = std::filesystem;

// The map files the page's tests read too: the same rows, or the same fault.
TEST(MapFiles, ReadAsThePageReadsThem) {
  const nlohmann::json expected = nlohmann::json::parse(ReadFile(MapsDir() + "/expected.json"));
  const std::string level = expected["level"];
  for (const auto& map : expected["maps"]) {
    const std::string path = MapsDir() + "/" + map["file"].get<std::string>();
    const cli::Result result = Zorvin({"compare", level, path, "--all", "--format", "json"});
    SCOPED_TRACE(map["file"].get<std::string>());
    if (map.contains("fault")) {
      EXPECT_EQ(result.status, cli::kBadMap);
      EXPECT_EQ(result.err, "zorvin: " + path + map["fault"].get<std::string>() + "\n");
      continue;
    }
    ASSERT_EQ(result.status, cli::kFound) << result.err;
    const nlohmann::json got = nlohmann::json::parse(result.out);
    EXPECT_EQ(got["levels"][1], map["file"]);
    ASSERT_EQ(got["fields"].size(), map["rows"].size());
    for (std::size_t i = 0; i < map["rows"].size(); ++i) {
      const auto& row = got["fields"][i];
      const std::string status = row["status"] == "written-differently" ? "written differently" : row["status"];
      EXPECT_EQ(nlohmann::json::array({row["label"], row["values"][1], status}), map["rows"][i]);
    }
  }
}

// What the edit makes of a map, byte for byte.
std::string Edited(std::string_view map, const std::vector<map::Setting>& settings) {
  map::Reader reader;
  reader.Feed(map);
  reader.Finish();
  map::WorldspawnKeyValues(reader, map);
  return map::Edited(map, 0, map::PlanSettings(reader, map, settings).edits);
}

TEST(MapEdit, SetsTheKeysAndKeepsEveryOtherByte) {
  const std::vector<map::Setting> light = {{"_color", "1 .95 .95"}, {"ambient", ".02"}};
  const struct {
    const char* what;
    std::string map, expected;
  } cases[] = {
      {"CR LF, a header, the new key before the first brush, another entity's _color kept",
       "iwmap 4\r\n{\r\n\"classname\" \"worldspawn\"\r\n\"_color\" \"0 0 0\"\r\n// brush 0\r\n{\r\n( 0 0 0 ) x\r\n}\r\n}\r\n"
       "{\r\n\"classname\" \"light\"\r\n\"_color\" \"0 0 0\"\r\n}\r\n",
       "iwmap 4\r\n{\r\n\"classname\" \"worldspawn\"\r\n\"_color\" \"1 .95 .95\"\r\n\"ambient\" \".02\"\r\n// brush 0\r\n{\r\n"
       "( 0 0 0 ) x\r\n}\r\n}\r\n{\r\n\"classname\" \"light\"\r\n\"_color\" \"0 0 0\"\r\n}\r\n"},
      {"a key twice in another case: both lines, their spelling and spacing kept",
       "{\n\"classname\" \"worldspawn\"\n\t\"_COLOR\"   \"0 0 0\" // dark\n\"_Color\" \"1 1 1\"\n\"AMBIENT\" \".02\"\n}\n",
       "{\n\"classname\" \"worldspawn\"\n\t\"_COLOR\"   \"1 .95 .95\" // dark\n\"_Color\" \"1 .95 .95\"\n\"AMBIENT\" \".02\"\n}\n"},
      {"a brush's quoted words are no keys, and nothing is added inside it",
       "{\n  \"classname\" \"worldspawn\"\n  {\n  \"ambient\" \"5\" \"_color\"\n  }\n}\n",
       "{\n  \"classname\" \"worldspawn\"\n  \"_color\" \"1 .95 .95\"\n  \"ambient\" \".02\"\n  {\n  \"ambient\" \"5\" \"_color\"\n  }\n}\n"},
      {"an entity on one line: the new keys on lines of their own",
       "{ \"classname\" \"worldspawn\" }", "{ \"classname\" \"worldspawn\"\n\"_color\" \"1 .95 .95\"\n\"ambient\" \".02\"\n }"},
      {"a byte-order mark and bytes that are not UTF-8 kept",
       "\xEF\xBB\xBF// caf\xE9\r\n{\r\n\"classname\" \"worldspawn\"\r\n\"_color\" \"\xFF\"\r\n}\r\n",
       "\xEF\xBB\xBF// caf\xE9\r\n{\r\n\"classname\" \"worldspawn\"\r\n\"_color\" \"1 .95 .95\"\r\n\"ambient\" \".02\"\r\n}\r\n"},
      {"lines that end in CR alone: the new ones too",
       "{\r\"classname\" \"worldspawn\"\r}\r",
       "{\r\"classname\" \"worldspawn\"\r\"_color\" \"1 .95 .95\"\r\"ambient\" \".02\"\r}\r"},
  };
  for (const auto& c : cases) EXPECT_EQ(Edited(c.map, light), c.expected) << c.what;
}

TEST(MapRead, RefusesWhatItCannotReadExactly) {
  const struct {
    std::string map;
    const char* fault;
  } cases[] = {
      {"{\n\"classname\" \"worldspawn\"\n}\n}\n", "line 4, column 1: a '}' that closes nothing"},
      {"{\n\"classname\" \"worldspawn\"\n}\nstray\n", "line 4, column 1: text outside an entity"},
      {"{\n\"classname\" \"worldspawn\"\n{\n}\n\"_color\" \"1 1 1\"\n}\n", "line 5, column 1: a key after the entity's first brush"},
      {"{\n\"classname\" \"worldspawn\"\n_color 1 1 1\n}\n", "line 3, column 1: text in an entity that is neither a key nor a brush"},
      {"{\n\"classname\" \"worldspawn\"\n{\n( 0 0 0 ) \"tex\n}\n}\n", "line 4, column 11: a quote that does not close"},
      {"{\n\"classname\" \"worldspawn\"\n}\n{\n\x7F}\n", "line 5, column 1: a binary byte (0x7F): this is not a map source"},
      {"// nothing but a comment\n", "has no worldspawn: it holds no entity"},
      {"{\n\"origin\" \"0 0 0\"\n}\n", "has no worldspawn: its first entity has no classname"},
  };
  for (const auto& c : cases) {
    std::string fault = "read";
    try {
      map::Reader reader;
      // Byte by byte: a fault found across any two reads is found alike.
      for (char b : c.map) reader.Feed(std::string_view(&b, 1));
      reader.Finish();
      map::WorldspawnKeyValues(reader, c.map);
    } catch (const map::MapError& error) {
      fault = error.Line() == 0 ? error.what()
                                : "line " + std::to_string(error.Line()) + ", column " + std::to_string(error.Column()) +
                                      ": " + error.what();
    }
    EXPECT_EQ(fault, c.fault) << c.map;
  }
}

// A folder of its own for each test, removed after it.
}  // namespace
}  // namespace zorvin

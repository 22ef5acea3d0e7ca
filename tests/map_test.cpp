// Map sources: what is read of them, the bytes apply writes (every one it
// did not mean to change kept), and the map never lost: refused when it
// cannot be read exactly, replaced in one step, its backups never overwritten.
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

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

cli::Result Zorvin(std::vector<std::string> args) { return cli::Run(args, cli::LineEnd::Lf); }

std::string Utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

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
class ApplyTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("zorvin-apply-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(dir_, ignored);
  }
  // The folder's names, sorted.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(Utf8(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
  }
  fs::path dir_;
};

constexpr std::string_view kMap = "{\r\n\"classname\" \"worldspawn\"\r\n\"sunlight\" \"1\"\r\n}\r\n{\r\n\"classname\" \"light\"\r\n}\r\n";
constexpr std::string_view kApplied =
    "{\r\n\"classname\" \"worldspawn\"\r\n\"sunlight\" \"1.3\"\r\n\"_color\" \"0.813 0.804 0.706\"\r\n\"ambient\" \".02\"\r\n"
    "\"sundiffusecolor\" \"0.863 0.922 0.922\"\r\n\"diffusefraction\" \".4\"\r\n\"sundirection\" \"-45 135 0\"\r\n"
    "\"suncolor\" \"0.98 0.882 0.745\"\r\n}\r\n{\r\n\"classname\" \"light\"\r\n}\r\n";

TEST_F(ApplyTest, WritesTheMapAndKeepsItsOldBytesUnderANameNotTaken) {
  const fs::path map = dir_ / "m.map";
  WriteFile(map, kMap);
  WriteFile(dir_ / "m.map.bak", "an older backup");
  const cli::Result result = Zorvin({"apply", "mp_toujane", Utf8(map)});
  ASSERT_EQ(result.status, cli::kFound) << result.err;
  EXPECT_EQ(ReadFile(map), kApplied);
  EXPECT_EQ(ReadFile(dir_ / "m.map.bak"), "an older backup");
  EXPECT_EQ(ReadFile(dir_ / "m.map.bak.1"), kMap);
  EXPECT_TRUE(result.out.starts_with("added _color 0.813 0.804 0.706\n")) << result.out;
  EXPECT_NE(result.out.find("\nset sunlight 1.3 (was 1)\n"), std::string::npos) << result.out;
  EXPECT_TRUE(result.out.ends_with("; its old bytes are in " + Utf8(dir_ / "m.map.bak.1") + "\n")) << result.out;
  EXPECT_EQ(Names(), (std::vector<std::string>{"m.map", "m.map.bak", "m.map.bak.1"}));

  // Again: nothing to change, so nothing written and no backup.
  const cli::Result again = Zorvin({"apply", "mp_toujane", Utf8(map)});
  EXPECT_EQ(again.status, cli::kFound);
  EXPECT_EQ(again.out, Utf8(map) + " already has mp_toujane's light: nothing written\n");
  EXPECT_EQ(Names(), (std::vector<std::string>{"m.map", "m.map.bak", "m.map.bak.1"}));
}

// Each of these leaves the folder as it was: the map, and every other name.
TEST_F(ApplyTest, RefusedMapsAndDryRunsLeaveTheFolderAsItWas) {
  const struct {
    const char* what;
    std::string bytes;
    std::vector<std::string> extra;  // arguments after the map
    int status;
    std::string saying;  // the start of what it says
    bool readOnly = false;
  } cases[] = {
      {"a fault at the map's end", std::string(kMap) + "}\r\n", {}, cli::kBadMap, "line 8, column 1: a '}' that closes nothing"},
      {"a read-only map", std::string(kMap), {}, cli::kBadMap, " is read-only", true},
      {"a dry run", std::string(kMap), {"--dry-run"}, cli::kFound, "--- "},
      {"a key that is no light key", std::string(kMap), {"--set", "sunlight=2", "--set", "sunligth=2"}, cli::kBadUsage,
       "zorvin: no light key 'sunligth'; did you mean 'sunlight'?"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const fs::path map = dir_ / "m.map";
    WriteFile(map, c.bytes);
    if (c.readOnly) fs::permissions(map, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write, fs::perm_options::remove);
#ifdef _WIN32
    if (c.readOnly) SetFileAttributesW(map.c_str(), FILE_ATTRIBUTE_READONLY);
#endif
    std::vector<std::string> args = {"apply", "mp_toujane", Utf8(map)};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const cli::Result result = Zorvin(args);
    EXPECT_EQ(result.status, c.status);
    EXPECT_NE((result.out + result.err).find(c.saying), std::string::npos) << result.out << result.err;
    EXPECT_EQ(ReadFile(map), c.bytes);
    EXPECT_EQ(Names(), std::vector<std::string>{"m.map"});
    fs::permissions(map, fs::perms::owner_write, fs::perm_options::add);
#ifdef _WIN32
    SetFileAttributesW(map.c_str(), FILE_ATTRIBUTE_NORMAL);
#endif
    fs::remove(map);
  }
}

// What apply says it did: the value it replaced where a key stands twice
// and only its second differs; and where the map has another name (a hard
// link), which keeps the old bytes, that the backup is a copy of its own, so
// that a later save through the other name cannot change it.
TEST_F(ApplyTest, SaysWhatItReplacedAndKeepsABackupApartFromTheMapsOtherNames) {
  const fs::path map = dir_ / "m.map", other = dir_ / "other.map";
  const std::string twice = "{\n\"classname\" \"worldspawn\"\n\"sunlight\" \"1.3\"\n\"sunlight\" \"1\"\n}\n";
  WriteFile(map, twice);
  fs::create_hard_link(map, other);
  const cli::Result result = Zorvin({"apply", "mp_toujane", Utf8(map)});
  ASSERT_EQ(result.status, cli::kFound) << result.err;
  EXPECT_NE(result.out.find("\nset sunlight 1.3 (was 1)\n"), std::string::npos) << result.out;
  EXPECT_TRUE(result.out.ends_with("m.map.bak\nits other name (a hard link) keeps the old bytes\n")) << result.out;
  EXPECT_EQ(ReadFile(other), twice);
  EXPECT_EQ(ReadFile(dir_ / "m.map.bak"), twice);
  EXPECT_FALSE(fs::equivalent(dir_ / "m.map.bak", other));
  EXPECT_EQ(fs::hard_link_count(dir_ / "m.map.bak"), 1u);
}

#ifdef _WIN32
// A name relative to a drive's current folder ("C:m.map") is replaced in that
// folder, and nothing else is made there.
TEST_F(ApplyTest, ANameRelativeToADrivesFolder) {
  WriteFile(dir_ / "m.map", kMap);
  const fs::path before = fs::current_path();
  fs::current_path(dir_);
  const cli::Result result = Zorvin({"apply", "mp_toujane", Utf8(dir_.root_name()) + "m.map"});
  fs::current_path(before);
  ASSERT_EQ(result.status, cli::kFound) << result.err;
  EXPECT_EQ(ReadFile(dir_ / "m.map"), kApplied);
  EXPECT_EQ(Names(), (std::vector<std::string>{"m.map", "m.map.bak"}));
}
#endif

#ifndef _WIN32
// A link stays a link to the changed file, whose permission bits stay; a
// backup name taken by a link that points nowhere is passed over, and nothing
// is written through it.
TEST_F(ApplyTest, ALinkStaysALinkAndNothingIsWrittenThroughAPlantedOne) {
  fs::create_directories(dir_ / "maps");
  const fs::path real = dir_ / "maps" / "real.map";
  WriteFile(real, kMap);
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read, fs::perm_options::replace);
  fs::create_symlink("maps/real.map", dir_ / "link.map");
  fs::create_symlink(dir_ / "planted", dir_ / "maps" / "real.map.bak");
  const cli::Result result = Zorvin({"apply", "mp_toujane", Utf8(dir_ / "link.map")});
  ASSERT_EQ(result.status, cli::kFound) << result.err;
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.map"));
  EXPECT_EQ(ReadFile(dir_ / "link.map"), kApplied);
  EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_FALSE(fs::exists(dir_ / "planted"));
  EXPECT_EQ(ReadFile(dir_ / "maps" / "real.map.bak.1"), kMap);
}
#endif

}  // namespace
}  // namespace zorvin

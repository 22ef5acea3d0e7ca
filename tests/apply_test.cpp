// zorvin apply: the bytes it writes (every one it did not mean to change
// kept), and the map never lost: refused when it cannot be read exactly,
// replaced in one step, its backups never overwritten, and with several
// maps none written unless every one can be.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>
#ifdef _WIN32
#include <windows.h>
#endif

#include "cli/cli.h"
#include "cli_support.h"

namespace zorvin {
namespace {

namespace fs = std::filesystem;
using cli::ReadFile;
using cli::Utf8;
using cli::WriteFile;
using cli::Zorvin;

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

// A map as the source: its light keys are what is set. Several maps: each
// is reported under its name, and when one of them cannot be written (no
// map source, read-only, missing) none is, and the message names it.
TEST_F(ApplyTest, AMapsLightIntoSeveralMapsAllOrNone) {
  const fs::path source = dir_ / "lit.map", a = dir_ / "a.map", b = dir_ / "b.map", bad = dir_ / "bad.map";
  WriteFile(source, "{\n\"classname\" \"worldspawn\"\n\"sunlight\" \"2\"\n\"_minimap\" \"1\"\n}\n");
  WriteFile(a, kMap);
  WriteFile(b, kMap);
  const struct {
    const char* what;
    std::string bytes;  // of bad.map; none: not there
    std::string err;    // what follows "zorvin: " and its name
  } refused[] = {
      {"no map source", std::string(kMap) + "}\r\n", ", line 8, column 1: a '}' that closes nothing"},
      {"missing", "", " cannot be read"},  // and why, in the system's words
  };
  for (const auto& c : refused) {
    SCOPED_TRACE(c.what);
    if (!c.bytes.empty()) WriteFile(bad, c.bytes);
    const cli::Result result = Zorvin({"apply", Utf8(source), Utf8(a), Utf8(bad), Utf8(b)});
    EXPECT_EQ(result.status, cli::kBadMap);
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(result.err.starts_with("zorvin: " + Utf8(bad) + c.err)) << result.err;
    EXPECT_TRUE(result.err.ends_with("; no map was written\n")) << result.err;
    EXPECT_EQ(ReadFile(a), kMap);
    EXPECT_EQ(ReadFile(b), kMap);
    fs::remove(bad);
  }
  const cli::Result result = Zorvin({"apply", Utf8(source), Utf8(a), Utf8(b), "--no-backup"});
  ASSERT_EQ(result.status, cli::kFound) << result.err;
  const std::string applied = "{\r\n\"classname\" \"worldspawn\"\r\n\"sunlight\" \"2\"\r\n}\r\n{\r\n\"classname\" \"light\"\r\n}\r\n";
  EXPECT_EQ(ReadFile(a), applied) << "its light keys alone: not _minimap";
  EXPECT_EQ(ReadFile(b), applied);
  EXPECT_EQ(result.out, Utf8(a) + ":\nset sunlight 2 (was 1)\nwrote " + Utf8(a) + " (no backup kept)\n" + Utf8(b) +
                            ":\nset sunlight 2 (was 1)\nwrote " + Utf8(b) + " (no backup kept)\n");
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

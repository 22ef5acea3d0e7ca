#include "settings/level_catalog.h"

#include <gtest/gtest.h>

#include <string>

#include "golden.h"

namespace zorvin {
namespace {

// What the window does on a successful lookup: fill its one record, then render it.
std::string Lookup(SettingsClass& record, std::string_view text) {
  const LevelEntry* entry = FindLevel(text);
  if (entry == nullptr) return "<none>";
  FillRecord(record, *entry);
  return RenderBlock(record, entry->Layout());
}

// What every other caller does: the core's own lookup, with a record of its own.
std::string BlockOf(std::string_view text) { return FindLevelBlock(text).value_or("<none>"); }

// Every level's block, byte for byte, against the file written from the
// reference tables; and the catalog holds no level more than those files.
TEST(LevelBlocks, EveryLevelGivesItsExpectedBlockByteForByte) {
  ASSERT_EQ(test::GoldenLevels().size(), 40u);
  for (std::string_view level : test::GoldenLevels()) {
    SCOPED_TRACE(level);
    EXPECT_EQ(BlockOf(level), test::GoldenBlock(level));
  }
  EXPECT_EQ(LevelCatalog().size(), test::GoldenLevels().size());
}

TEST(LevelList, HoldsFortyTwoItemsWithTheSeparatorBetweenTheModes) {
  const auto items = LevelListItems();
  ASSERT_EQ(items.size(), 42u);
  EXPECT_EQ(items[0], "mp_breakout");
  EXPECT_EQ(items[12], "mp_trainstation");
  EXPECT_EQ(items[13], "");
  EXPECT_EQ(items[14], "--SP_LEVELS--");
  EXPECT_EQ(items[15], "");
  EXPECT_EQ(items[16], "sp_88ridge");
  EXPECT_EQ(items[31], "sp_hill400_defend");
  EXPECT_EQ(items[41], "sp_trainyard");
}

TEST(FindLevel, EveryLevelOfTheListFindsTheEntryOfTheSameName) {
  std::size_t found = 0;
  for (std::string_view item : LevelListItems()) {
    const LevelEntry* entry = FindLevel(item);
    if (item.empty() || item == "--SP_LEVELS--") {
      EXPECT_EQ(entry, nullptr) << "'" << item << "'";
      continue;
    }
    ASSERT_NE(entry, nullptr) << item;
    EXPECT_EQ(entry->Key(), item);
    ++found;
  }
  EXPECT_EQ(found, 39u);
  EXPECT_EQ(LevelCatalog().size(), 40u);
  for (const LevelEntry& entry : LevelCatalog()) EXPECT_EQ(FindLevel(entry.Key()), &entry) << entry.Key();
}

TEST(FindLevel, OnlyTheExactWholeTextMatches) {
  const char* misses[] = {
      "",
      "--SP_LEVELS--",
      "MP/SP_LEVELS",
      "MP_BREAKOUT",
      "Mp_breakout",
      "mp_Breakout",
      " mp_breakout",
      "mp_breakout ",
      "mp_breakout\t",
      "mp_breakou",
      "mp_breakoutt",
      "breakout",
      "mp_",
      "sp_hill400",
      "sp_hill400_assault\r\n",
  };
  for (const char* text : misses) EXPECT_EQ(FindLevel(text), nullptr) << "'" << text << "'";
  // A string_view that stops short of a key inside a longer buffer is no match either.
  EXPECT_EQ(FindLevel(std::string_view("mp_decoyx", 7)), nullptr);
  EXPECT_NE(FindLevel(std::string_view("mp_decoyx", 8)), nullptr);
}

TEST(FindLevel, TypedNameNotOfferedInTheListIsFound) {
  const std::string assault = BlockOf("sp_hill400_assault");
  const std::string defend = BlockOf("sp_hill400_defend");
  // The same block with the lead line "script_delay ->2" after "{".
  EXPECT_EQ(assault, "{\r\nscript_delay ->2" + defend.substr(1));
}

TEST(LevelBlocks, BreakoutsDifferOnlyByTheEmptyOriginLine) {
  const std::string mp = BlockOf("mp_breakout");
  EXPECT_EQ(BlockOf("sp_breakout"), mp.substr(0, mp.size() - 1) + "origin ->\r\n}");
}

TEST(LevelBlocks, NorthyawGivenEmptyAndNotGivenLookTheSame) {
  for (const char* level : {"mp_burgundy", "sp_88ridge"}) {
    EXPECT_EQ(BlockOf(level).substr(0, 17), "{\r\nNorthyaw -> \r\n") << level;
  }
}

// The window keeps one record for every lookup: nothing of an earlier level may
// show in a later level's block.
TEST(LevelBlocks, ReusedRecordShowsNothingOfTheLevelBefore) {
  const auto catalog = LevelCatalog();
  for (const LevelEntry& first : catalog) {
    for (const LevelEntry& second : catalog) {
      if (&first == &second) continue;
      SettingsClass record;
      Lookup(record, first.Key());
      ASSERT_EQ(Lookup(record, second.Key()), BlockOf(second.Key()))
          << first.Key() << " then " << second.Key();
    }
  }
  SettingsClass record;
  Lookup(record, "mp_breakout");
  EXPECT_EQ(Lookup(record, "sp_88ridge").substr(0, 17), "{\r\nNorthyaw -> \r\n");
}

TEST(LevelBlocks, FailedLookupLeavesTheRecordAlone) {
  SettingsClass record;
  const std::string block = Lookup(record, "sp_demolition");
  EXPECT_EQ(Lookup(record, "sp_Demolition"), "<none>");
  EXPECT_EQ(RenderBlock(record, FindLevel("sp_demolition")->Layout()), block);
}

}  // namespace
}  // namespace zorvin

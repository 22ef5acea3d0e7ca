#include "settings/level_catalog.h"

#include <gtest/gtest.h>

#include <string>

namespace zorvin {
namespace {

// What the window does on a successful lookup: fill its one record, then render it.
std::string Lookup(SettingsClass& record, std::string_view text) {
  const LevelEntry* entry = FindLevel(text);
  if (entry == nullptr) return "<none>";
  FillRecord(record, *entry);
  return RenderBlock(record, entry->Layout());
}

std::string BlockOf(std::string_view text) {
  SettingsClass fresh;
  return Lookup(fresh, text);
}

// Blocks written out by hand, independently of the tables.
TEST(LevelBlocks, WorkedExamplesByteForByte) {
  struct Case {
    const char* level;
    const char* block;
  };
  const Case cases[] = {
      {"mp_breakout",
       "{\r\nNorthyaw -> 90\r\n_color -> 1 .95 .95\r\nambient -> 0.05\r\n"
       "sundiffusecolor -> 0.80 0.82 0.85\r\ndiffusefraction -> 0.31\r\nclassname -> worldspawn\r\n"
       "sundirection -> -137.8 305 0\r\nsuncolor -> 0.9 0.95 1\r\nsunlight -> 1.5\r\n}"},
      {"sp_bergstein",
       "{\r\nNorthyaw -> \r\n_color -> \r\nambient -> .02\r\nsundiffusecolor -> 100 100 100\r\n"
       "diffusefraction -> .6\r\nclassname -> worldspawn\r\nsundirection -> -80 355 0\r\n"
       "suncolor -> 100 100 105\r\nsunlight -> .65\r\norigin ->0 0 0\r\n}"},
      {"mp_downtown",
       "{\r\nNorthyaw -> \r\n-contrastgain ->.4\r\n_color -> 1 .96 .98\r\nambient -> .0\r\n"
       "sundiffusecolor -> .9 .9 .96\r\ndiffusefraction -> .40\r\nclassname -> worldspawn\r\n"
       "sundirection -> -24 -127 0\r\nsuncolor -> 1 .96 .98\r\nsunlight -> 1.5\r\n}"},
      {"mp_brecourt",
       "{\r\nNorthyaw -> 90\r\n_color -> 0.470588 0.560784 0.627451\r\nambient -> 0.00\r\n"
       "sundiffusecolor -> 0.909804 0.952941 1.000000\r\ndiffusefraction -> 0.35\r\n"
       "classname -> worldspawn\r\nsundirection -> -40 44 0\r\nsuncolor -> 1.000000 1.000000 1\r\n"
       "sunlight -> .8\r\nspawnflags ->8\r\n}"},
      {"mp_matmata",
       "{\r\nModel ->xmodel/dome_04\r\nNorthyaw -> \r\n_color -> 1.00 0.781 0.275\r\nambient -> .02\r\n"
       "sundiffusecolor -> 1.00 0.86 .89\r\ndiffusefraction -> \r\nclassname -> worldspawn\r\n"
       "sundirection -> -20 315 0\r\nsuncolor -> 1.00 0.88 0.85\r\nsunlight -> 1.45\r\n}"},
      {"sp_newvillers",
       "{\r\nbouncefraction ->.4\r\nNorthyaw -> 90\r\n_color -> 0.5 0.5 .62 1\r\nambient -> .1\r\n"
       "sundiffusecolor -> .55 .75 .8\r\ndiffusefraction -> .5\r\nclassname -> worldspawn\r\n"
       "sundirection -> -145 205 0\r\nsuncolor -> .55 .75 .8\r\nsunlight -> .8\r\norigin ->\r\n}"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.level);
    EXPECT_EQ(BlockOf(c.level), c.block);
  }
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

TEST(LevelBlocks, EveryBlockIsBracedAndEveryLineBreakIsCrLf) {
  for (const LevelEntry& entry : LevelCatalog()) {
    const std::string block = BlockOf(entry.Key());
    SCOPED_TRACE(entry.Key());
    EXPECT_TRUE(block.starts_with("{\r\n"));
    EXPECT_TRUE(block.ends_with("\r\n}"));
    std::size_t breaks = 0;
    for (std::size_t i = 0; i < block.size(); ++i) {
      if (block[i] == '\n') {
        EXPECT_EQ(block[i - 1], '\r');
        ++breaks;
      }
    }
    EXPECT_EQ(breaks, entry.Layout().size() + 1);
    EXPECT_NE(block.find("\r\nclassname -> worldspawn\r\n"), std::string::npos);
  }
}

}  // namespace
}  // namespace zorvin

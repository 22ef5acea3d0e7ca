#include "settings/settings_record.h"

#include <gtest/gtest.h>

#include <string>

namespace zorvin {
namespace {

TEST(SettingsRecord, ClearEmptiesEveryField) {
  SettingsClass record;
  for (const FieldRow& row : kFields) record.*row.member = "value";
  Clear(record);
  for (const FieldRow& row : kFields)
    EXPECT_EQ(FieldOf(record, row.field), "") << static_cast<int>(row.field);
}

SettingsClass Braces() {
  SettingsClass record;
  record.oChar = "{";
  record.oChar2 = "}";
  return record;
}

TEST(RenderBlock, EmptyFieldsLeaveLabelsAloneWithTheirTrailingBlank) {
  const std::string block = RenderBlock(Braces(), BlockLayout(std::nullopt, Body::Standard, std::nullopt));
  EXPECT_EQ(block,
            "{\r\nNorthyaw -> \r\n_color -> \r\nambient -> \r\nsundiffusecolor -> \r\n"
            "diffusefraction -> \r\nclassname -> \r\nsundirection -> \r\nsuncolor -> \r\n"
            "sunlight -> \r\n}");
}

TEST(RenderBlock, LabelsWithoutBlankRunStraightIntoTheirValue) {
  struct Case {
    LayoutLine line;
    Field field;
    const char* value;
    const char* expected;
  };
  const Case cases[] = {
      {lines::kOrigin, Field::origin, "0 0 0", "\r\norigin ->0 0 0\r\n}"},
      {lines::kSpawnflags, Field::spawnflags, "8", "\r\nspawnflags ->8\r\n}"},
      {lines::kModelCapital, Field::model, "xmodel/dome_04", "{\r\nModel ->xmodel/dome_04\r\n"},
      {lines::kModelLower, Field::model, "m", "{\r\nmodel ->m\r\n"},
      {lines::kScriptDelay, Field::script_delay, "2", "{\r\nscript_delay ->2\r\n"},
      {lines::kBouncefraction, Field::bouncefraction, ".4", "{\r\nbouncefraction ->.4\r\n"},
      {lines::kScriptWait, Field::script_wait, "15", "{\r\nscript_wait -> 15\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line.label.View());
    SettingsClass record = Braces();
    FieldOf(record, c.field) = c.value;
    const bool tail = c.line == lines::kOrigin || c.line == lines::kSpawnflags;
    const BlockLayout layout = tail ? BlockLayout(std::nullopt, Body::Standard, c.line)
                                    : BlockLayout(c.line, Body::Standard, std::nullopt);
    EXPECT_NE(RenderBlock(record, layout).find(c.expected), std::string::npos) << RenderBlock(record, layout);
  }
}

TEST(RenderBlock, ContrastGainLinesPutNorthyawAfterTheGainNeverOnItsOwnLine) {
  SettingsClass record = Braces();
  record.northyaw = "90";
  record.contrastgain = ".4";
  record.color = "c";
  const std::string block = RenderBlock(record, BlockLayout(std::nullopt, Body::ContrastGain, std::nullopt));
  const std::string expected = "{\r\nNorthyaw -> \r\n-contrastgain ->.490\r\n_color -> c\r\n";
  EXPECT_EQ(block.substr(0, expected.size()), expected);
}

TEST(RenderBlock, NLinesGiveNPlusOneLineBreaksAndNoneAtTheEnd) {
  SettingsClass record = Braces();
  const BlockLayout layouts[] = {
      {std::nullopt, Body::Standard, std::nullopt},
      {lines::kScriptWait, Body::Standard, lines::kOrigin},
      {std::nullopt, Body::ContrastGain, std::nullopt},
  };
  for (const BlockLayout& layout : layouts) {
    const std::string block = RenderBlock(record, layout);
    std::size_t breaks = 0;
    for (std::size_t at = block.find("\r\n"); at != std::string::npos; at = block.find("\r\n", at + 2))
      ++breaks;
    EXPECT_EQ(breaks, layout.size() + 1);
    EXPECT_EQ(block.front(), '{');
    EXPECT_EQ(block.back(), '}');
    EXPECT_EQ(block.find('\n'), block.find("\r\n") + 1) << "a bare LF";
  }
}

TEST(RenderBlock, ValuesAreCopiedVerbatim) {
  SettingsClass record = Braces();
  record.color = "  0.5 0.5 .62 1\t";
  const std::string block = RenderBlock(record, BlockLayout(std::nullopt, Body::Standard, std::nullopt));
  EXPECT_NE(block.find("\r\n_color ->   0.5 0.5 .62 1\t\r\n"), std::string::npos);
}

}  // namespace
}  // namespace zorvin

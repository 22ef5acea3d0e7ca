// zorvin's text helpers and export escapes, directly: the tables hold no text
// that reaches most of these branches.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/export.h"
#include "cli/text.h"
#include "web/html.h"

namespace zorvin::cli {
namespace {

TEST(CliText, EditDistanceCountsInsertionsDeletionsAndSubstitutions) {
  struct Case {
    std::string_view a, b;
    std::size_t distance;
  };
  const Case cases[] = {
      {"", "", 0},
      {"abc", "", 3},
      {"", "abc", 3},
      {"kitten", "sitting", 3},
      {"mp_toujan", "mp_toujane", 1},
      {"mp_toujane", "sp_toujane", 1},
      {"MP_TouJane", "mp_toujane", 0},
      {"ab", "ba", 2},  // a swap is two edits
      {"flaw", "lawn", 2},
      {"sp_hill400_defend", "sp_hill400_assault", 7},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EditDistance(c.a, c.b), c.distance) << c.a << " / " << c.b;
    EXPECT_EQ(EditDistance(c.b, c.a), c.distance) << c.b << " / " << c.a;
  }
}

TEST(CliText, NearestOffersTheCaseOnlyMatchAloneOrNamesHoldingTheTextThenTheNearest) {
  const std::vector<std::string_view> names = {"", "mp_carentan", "mp_toujane", "sp_toujane", "mp_tOUjane2",
                                               "mp_dawnville", "xp_toujane"};
  struct Case {
    std::string_view text;
    std::vector<std::string_view> nearest;
  };
  const Case cases[] = {
      {"MP_TOUJANE", {"mp_toujane"}},                              // case alone: that one
      {"mp_toujan", {"mp_toujane", "mp_tOUjane2", "sp_toujane"}},  // holding it, then the nearest
      {"mp_toujanes", {"mp_toujane", "mp_tOUjane2", "sp_toujane"}},  // nearest first, ties in order
      {"mp_dawnvile", {"mp_dawnville"}},
      {"nothing like it", {}},
      {"", {}},
      {"toujane", {"mp_toujane", "sp_toujane", "mp_tOUjane2"}},  // holding it, in order, three at most
      {"carentan", {"mp_carentan"}},
      {"p_toujane2", {"mp_tOUjane2", "mp_toujane", "sp_toujane"}},  // holding it first, then the nearest
      {std::string_view("mp_toujane\0", 11), {"mp_toujane", "mp_tOUjane2", "sp_toujane"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Nearest(c.text, names), c.nearest) << c.text;
  // The reach grows with the text: a quarter of its length, at least two.
  const std::vector<std::string_view> one = {"abcdefghijkl"};
  EXPECT_EQ(Nearest("abcdefghizzz", one).size(), 1u) << "3 edits from 12 characters";
  EXPECT_EQ(Nearest("abcdefghzzzz", one).size(), 0u) << "4 edits from 12 characters";
  const std::string longest(64, 'a');
  EXPECT_EQ(Nearest(longest, std::vector<std::string_view>{longest}).size(), 1u);
  EXPECT_EQ(Nearest(longest + "a", std::vector<std::string_view>{longest}).size(), 0u) << "over 64 bytes";
}

TEST(CliText, ShownQuotesEscapesAndCutsLongTexts) {
  EXPECT_EQ(Shown("mp_toujane"), "'mp_toujane'");
  EXPECT_EQ(Shown(""), "''");
  // Letters as themselves; control characters (C0, DEL, C1) and bytes that are no UTF-8 as \xNN.
  EXPECT_EQ(Shown("a\x01\x1b[2J\x7f\n"), "'a\\x01\\x1b[2J\\x7f\\x0a'");
  EXPECT_EQ(Shown("caf\xc3\xa9 \xe4\xb8\x96 \xe2\x80\xae"), "'caf\xc3\xa9 \xe4\xb8\x96 \xe2\x80\xae'");
  EXPECT_EQ(Shown("\xc2\x9b" "2J\xc2\xa0"), "'\\xc2\\x9b2J\xc2\xa0'");  // CSI is control, no-break space is not
  EXPECT_EQ(Shown("\xff\xc3(\x80"), "'\\xff\\xc3(\\x80'");
  // Cut after 60 characters, never inside one.
  EXPECT_EQ(Shown(std::string(60, 'x')), "'" + std::string(60, 'x') + "'");
  EXPECT_EQ(Shown(std::string(61, 'x')), "'" + std::string(60, 'x') + "...'");
  std::string accents;
  for (int i = 0; i < 61; ++i) accents += "\xc3\xa9";
  EXPECT_EQ(Shown(accents), "'" + accents.substr(0, 120) + "...'");
  EXPECT_EQ(Escaped(accents, 200), accents);
}

TEST(CliText, IsUtf8AcceptsWellFormedTextOnly) {
  struct Case {
    std::string_view text;
    bool utf8;
  };
  const Case cases[] = {
      {"", true},
      {"mp_toujane", true},
      {"\xc3\xa9", true},                 // é
      {"\xe2\x80\xae", true},             // right-to-left override
      {"\xf0\x9f\x92\xa5", true},         // U+1F4A5
      {"\xf4\x8f\xbf\xbf", true},         // U+10FFFF
      {"\xc0\xaf", false},                // overlong '/'
      {"\xe0\x80\xaf", false},            // overlong, three bytes
      {"\xf0\x80\x80\xaf", false},        // overlong, four bytes
      {"\xed\xa0\x80", false},            // a surrogate
      {"\xf4\x90\x80\x80", false},        // past U+10FFFF
      {"\xc3", false},                    // cut short
      {"a\xe2\x80", false},               // cut short after a letter
      {"\xc3\x28", false},                // not a continuation byte
      {"\x80", false},                    // a continuation byte alone
      {"\xff\xfe", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsUtf8(c.text), c.utf8) << Shown(c.text);
}

TEST(CliText, SplitAndJoinKeepEveryLine) {
  EXPECT_EQ(SplitLines(""), Lines{""});
  EXPECT_EQ(SplitLines("a\r\nb"), (Lines{"a", "b"}));
  EXPECT_EQ(SplitLines("a\r\n\r\nb\r\n"), (Lines{"a", "", "b", ""}));
  EXPECT_EQ(SplitLines("a\nb\r", "\n"), (Lines{"a", "b\r"}));
  EXPECT_EQ(JoinLines({"a", "", "b"}, "\r\n"), "a\r\n\r\nb\r\n");
  EXPECT_EQ(JoinLines({}, "\n"), "");
}

TEST(CliExport, CsvQuotesOnlyWhatNeedsItAndDoublesQuotes) {
  struct Case {
    std::string_view text, field;
  };
  const Case cases[] = {
      {"", ""},
      {"0.813 0.804 0.706", "0.813 0.804 0.706"},
      {"a,b", "\"a,b\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"\"", "\"\"\"\""},
      {"{\r\n}", "\"{\r\n}\""},
      {"cr\ronly", "\"cr\ronly\""},
      {"lf\nonly", "\"lf\nonly\""},
      {"a|b<c&d", "a|b<c&d"},
  };
  for (const Case& c : cases) EXPECT_EQ(CsvField(c.text), c.field) << Shown(c.text);
}

TEST(CliExport, MarkdownCellsEndNoCellAndCarryNoMarkup) {
  struct Case {
    std::string_view text, cell;
  };
  const Case cases[] = {
      {"mp_toujane", "mp_toujane"},
      {"a|b", "a\\|b"},
      {"<script>alert(1)</script>", "&lt;script>alert(1)&lt;/script>"},
      {"&amp;", "&amp;amp;"},
      {"|<&", "\\|&lt;&amp;"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(MarkdownCell(c.text), c.cell) << c.text;
}

TEST(CliExport, HtmlEscapesEveryCharacterThatCouldStartMarkupOrEndAnAttribute) {
  EXPECT_EQ(web::HtmlEscaped("mp_toujane"), "mp_toujane");
  EXPECT_EQ(web::HtmlEscaped("<script>alert('x')</script>"), "&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;");
  EXPECT_EQ(web::HtmlEscaped("\" onload=\"x"), "&quot; onload=&quot;x");
  EXPECT_EQ(web::HtmlEscaped("&amp;"), "&amp;amp;");
  EXPECT_EQ(web::HtmlEscaped(""), "");
}

TEST(CliExport, EveryFormatIsFoundByItsNameAndNoOther) {
  std::vector<std::string_view> names;
  for (const ExportFormat& format : ExportFormats()) {
    names.push_back(format.name);
    EXPECT_EQ(FindExportFormat(format.name), &format);
  }
  EXPECT_EQ(names, (std::vector<std::string_view>{"json", "csv", "markdown", "html"}));
  for (std::string_view other : {"", "xml", "JSON", "json "}) EXPECT_EQ(FindExportFormat(other), nullptr) << other;
}

}  // namespace
}  // namespace zorvin::cli

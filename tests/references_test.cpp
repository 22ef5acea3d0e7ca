// Effect references found in a line, and names judged against the stock
// effects and the designer's own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "references/effect_names.h"
#include "references/effect_references.h"

namespace zorvin::references {
namespace {

TEST(References, AreQuotedStringsAndRunsEndingInEfx) {
  struct Case {
    std::string_view line;
    std::vector<std::string> names;  // each "name@column-endColumn"
  };
  const Case cases[] = {
      {R"(playFx("fx/explosions/grenadeExp_dirt.efx");)", {"grenadeExp_dirt.efx@23-42"}},
      {"level._effect = loadfx( 'fx/misc/bottle.EFX' );", {"bottle.EFX@34-44"}},
      {R"("fx/20 mm_wallexplode.efx")", {"20 mm_wallexplode.efx@5-26"}},   // the stock name with a space
      {R"(fx\impacts\dirt.efx fx/a.efx.old)", {"dirt.efx@12-20"}},          // a backslash; a.efx.old is none
      {"\xC3\xA9t\xC3\xA9 fx/snow.efx", {"snow.efx@8-16"}},                 // columns count code points
      {R"(x = "it's" + 'fx/a.efx' ; see fx/b.efx, don't)", {"a.efx@18-23", "b.efx@34-39"}},
      {R"(the files end in .efx, "fx/.efx")", {}},                         // ".efx" alone names nothing
      {R"(unclosed "fx/c.efx)", {"c.efx@14-19"}},                           // an open quote quotes nothing
      {"", {}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> found;
    for (const Reference& r : FindReferences(c.line)) {
      found.push_back(std::string(c.line.substr(r.begin, r.end - r.begin)) + "@" + std::to_string(r.column) + "-" +
                      std::to_string(r.endColumn));
    }
    EXPECT_EQ(found, c.names) << c.line;
    EXPECT_EQ(MayHoldReference(c.line), !c.names.empty() || c.line.find("efx") != std::string_view::npos) << c.line;
  }
}

TEST(References, NamesAreKnownInTheWrongCaseOrUnknownWithTheNearest) {
  const EffectNames names({"myFire.efx", "grenadeExp_dust.efx"});
  struct Case {
    std::string_view name;
    Verdict::Kind kind;
    std::vector<std::string> suggestions;
    bool mendable;
  };
  using K = Verdict::Kind;
  const Case cases[] = {
      {"grenadeExp_dirt.efx", K::known, {}, false},
      {"myFire.efx", K::known, {}, false},
      {"grenadeexp_dirt.EFX", K::wrongCase, {"grenadeExp_dirt.efx"}, true},
      {"MYFIRE.efx", K::wrongCase, {"myFire.efx"}, true},
      {"grenadeExp_drit.efx", K::unknown, {"grenadeExp_dirt.efx", "grenadeExp_dust.efx"}, true},  // a swap costs 1
      {"grenadeExp_dirtt.efx", K::unknown, {"grenadeExp_dirt.efx", "grenadeExp_dust.efx"}, true},
      {"20mm_wallexplode.efx", K::unknown, {"20 mm_wallexplode.efx"}, true},
      {"nothing_like_it.efx", K::unknown, {}, false},
  };
  for (const Case& c : cases) {
    const Verdict verdict = names.Judge(c.name);
    EXPECT_EQ(verdict.kind, c.kind) << c.name;
    EXPECT_EQ(verdict.suggestions, c.suggestions) << c.name;
    EXPECT_EQ(verdict.mendable, c.mendable) << c.name;
  }
  EXPECT_EQ(names.StockCount(), 351u);
  EXPECT_FALSE(names.Judge("MYFIRE.efx").stock);
}

}  // namespace
}  // namespace zorvin::references

// The lines of the 40 settings blocks and the 66 listings that wrap in their
// text boxes, counted at each DPI: none may wrap more than it did. Run, as the
// other text measures, inside the DpiScaling tests' child processes.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "effects/effects_catalog.h"
#include "settings/level_catalog.h"
#include "ui_text_fit.h"

namespace zorvin::ui::test {
namespace {

struct WrapCount {
  UINT dpi;
  int blockLines;    // over the 40 settings blocks
  int listingLines;  // over the 66 effects listings
};
constexpr WrapCount kMostWrapped[] = {
    {96, 7, 2},
    {120, 7, 0},
    {144, 7, 0},
    {192, 7, 2},
};

class Wrapped {
 public:
  explicit Wrapped(HWND box) : box_(box) {
    SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room_));
  }
  // Counts the lines of the box's text that wrap, and notes the widest.
  void Add(const std::wstring& text) {
    const auto shown = static_cast<int>(SendMessageW(box_, EM_GETLINECOUNT, 0, 0));
    int own = 0;
    for (std::size_t start = 0; start <= text.size(); ++own) {
      const std::size_t end = std::min(text.find(L"\r\n", start), text.size());
      const long width = Extent(box_, std::wstring_view(text).substr(start, end - start)).cx;
      if (width > widest_) {
        widest_ = width;
        widestLine_ = text.substr(start, end - start);
      }
      start = end + 2;
    }
    wrapped_ += shown - own;
  }
  int Count() const { return wrapped_; }
  const std::wstring& WidestLine() const { return widestLine_; }
  long Widest() const { return widest_; }
  long Room() const { return room_.right - room_.left; }

 private:
  HWND box_;
  RECT room_{};
  int wrapped_ = 0;
  long widest_ = 0;
  std::wstring widestLine_;
};

TEST_F(TextFit, WrappedLinesOfBlocksAndListingsDoNotGrow) {
  const auto limit = std::find_if(std::begin(kMostWrapped), std::end(kMostWrapped),
                                  [&](const WrapCount& count) { return count.dpi == dpi_; });
  ASSERT_NE(limit, std::end(kMostWrapped)) << "no count recorded for " << dpi_ << " DPI";
  Start();
  Wrapped blocks(Settings().BlockText().Handle());
  for (const LevelEntry& level : LevelCatalog()) {
    SetComboText(Widen(level.Key()));
    LookUp();
    blocks.Add(Settings().BlockText().Text());
  }
  Menu(Settings().Handle(), kCmdEffectsList);
  Wrapped listings(Effects().ListingText().Handle());
  for (int index = 0; index < static_cast<int>(kEffectCategoryCount); ++index) {
    SelectCategory(index);
    listings.Add(Effects().ListingText().Text());
  }
  Report("Form1.Text1 widest line", blocks.WidestLine(), blocks.Widest(), blocks.Room());
  Report("frmZorvinEfx.Text1 widest", listings.WidestLine(), listings.Widest(), listings.Room());
  std::printf("  %3u dpi  wrapped lines: %d in the 40 blocks, %d in the 66 listings\n", dpi_, blocks.Count(),
              listings.Count());
  EXPECT_LE(blocks.Count(), limit->blockLines);
  EXPECT_LE(listings.Count(), limit->listingLines);
  EXPECT_TRUE(errors_.empty());
}

// The box's top row with every label of its window shown, and with them all hidden.

}  // namespace
}  // namespace zorvin::ui::test

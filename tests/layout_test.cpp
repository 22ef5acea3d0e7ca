// Layout: design twips to pixels, without a window.
#include "win32/layout.h"

#include <gtest/gtest.h>

namespace zorvin::win32 {
namespace {

TEST(Layout, TwipsRoundToTheNearestPixelHalvesAwayFromZero) {
  struct Case {
    int twips;
    unsigned dpi;
    int pixels;
  };
  const Case cases[] = {
      {3495, 96, 233}, {5654, 96, 377},  {7, 96, 0},   {8, 96, 1},  {15, 144, 2},
      {-15, 144, -2},  {2655, 192, 354}, {10, 120, 1}, {0, 192, 0}, {1440 * 1000, 96, 96000},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " at " << c.dpi;
}

constexpr ControlDesign kButton{
    .role = 0, .name = L"b", .kind = ControlKind::Button, .rect = {1800, 120, 1335, 375}};
constexpr ControlDesign kCombo{
    .role = 1, .name = L"c", .kind = ControlKind::ComboBox, .rect = {120, 120, 1455, 315}};
constexpr ControlDesign kGrowing{
    .role = 2, .name = L"g", .kind = ControlKind::Label, .rect = {120, 2640, 1245, 225}, .growToFit = true};
constexpr ControlDesign kFixed{
    .role = 3, .name = L"f", .kind = ControlKind::Label, .rect = {120, 2640, 1245, 225}};
constexpr ControlDesign kRows[] = {kButton, kCombo, kGrowing, kFixed};
constexpr WindowDesign kWindow{.name = L"w", .clientWidth = 5730, .clientHeight = 3240, .controls = kRows};

TEST(Layout, ControlsScaleWithTheirWindow) {
  // 5730 x 3240 twips of client; the button at 1800 twips, 1335 x 375: worked
  // out by hand, halves away from zero (477.5 -> 478, 133.5 -> 134, 37.5 -> 38).
  const struct {
    unsigned dpi;
    PixelSize client;
    int buttonLeft, buttonWidth, buttonHeight;
  } cases[] = {
      {96, {382, 216}, 120, 89, 25},
      {120, {478, 270}, 150, 111, 31},
      {144, {573, 324}, 180, 134, 38},
      {192, {764, 432}, 240, 178, 50},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClientSize(kWindow, c.dpi), c.client) << c.dpi;
    const PixelRect button = PlaceControl(kWindow, kButton, kButton.rect, c.dpi, 0);
    EXPECT_EQ(button.left, c.buttonLeft) << c.dpi;
    EXPECT_EQ(button.Width(), c.buttonWidth) << c.dpi;
    EXPECT_EQ(button.Height(), c.buttonHeight) << c.dpi;
  }
  EXPECT_EQ(PlaceControl(kWindow, kButton, kButton.rect, 96, 0), (PixelRect{120, 8, 209, 33}));
  // A size the window set since its design wins over the design's.
  const PixelRect resized = PlaceControl(kWindow, kButton, {1800, 120, 2655, 2655}, 192, 0);
  EXPECT_EQ(resized.Width(), 354);
  EXPECT_EQ(resized.Height(), 354);
}

TEST(Layout, AComboBoxReservesRoomForItsOpenList) {
  const PixelRect combo = PlaceControl(kWindow, kCombo, kCombo.rect, 96, 0);
  EXPECT_EQ(combo.Height(), 21 + 200);
  EXPECT_EQ(PlaceControl(kWindow, kCombo, kCombo.rect, 192, 0).Height(), 42 + 400);
}

TEST(Layout, AGrowingLabelTakesItsTextsWidthUpToTheClientEdge) {
  struct Case {
    int textWidth;
    unsigned dpi;
    int width;
  };
  // Design width 83 pixels at 96 DPI, 166 at 192; the client edge is 374 (748) pixels to its right.
  const Case cases[] = {
      {50, 96, 83},     // narrower text: the design width stays
      {83, 96, 84},     // as wide as the design: one pixel to spare
      {100, 96, 101},   // wider: the text and a pixel
      {100, 192, 166},  //
      {200, 192, 202},  // two pixels to spare at 200 %
      {1000, 96, 374},  // never past the client area
      {5000, 192, 748},
  };
  for (const Case& c : cases) {
    const PixelRect rect = PlaceControl(kWindow, kGrowing, kGrowing.rect, c.dpi, c.textWidth);
    EXPECT_EQ(rect.Width(), c.width) << c.textWidth << " at " << c.dpi;
    EXPECT_EQ(rect.Height(), c.dpi == 96 ? 15 : 30);
  }
  EXPECT_EQ(PlaceControl(kWindow, kFixed, kFixed.rect, 96, 1000).Width(), 83) << "only growing labels grow";
}

TEST(Layout, ALineIsAtLeastOnePixelThick) {
  EXPECT_EQ(HorizontalLine(2445, 90, 5654, 1, 96), (PixelRect{6, 163, 377, 164}));
  EXPECT_EQ(HorizontalLine(2460, 105, 5654, 2, 96), (PixelRect{7, 164, 377, 166}));
  EXPECT_EQ(HorizontalLine(2445, 90, 5654, 1, 120).Height(), 1);
  EXPECT_EQ(HorizontalLine(2445, 90, 5654, 1, 192).Height(), 2);
  EXPECT_EQ(HorizontalLine(2445, 90, 5654, 0, 96).Height(), 1);
}

TEST(Design, RowsMustFollowTheirRolesAndCommandsStayClearOfControls) {
  EXPECT_TRUE(RowsFollowRoles(kRows, 4));
  EXPECT_FALSE(RowsFollowRoles(kRows, 5)) << "a role without a row";
  EXPECT_FALSE(RowsFollowRoles(kRows, 3)) << "a row without a role";
  static constexpr ControlDesign swapped[] = {kCombo, kButton};
  EXPECT_FALSE(RowsFollowRoles(swapped, 2));
  static constexpr MenuDesign inner[] = {{.caption = L"x", .command = ControlId(3)}};
  static constexpr MenuDesign nested[] = {{.caption = L"a", .command = 1001},
                                          {.caption = L"b", .items = inner}};
  static constexpr MenuDesign clear[] = {{.caption = L"a", .command = 1001}, {.caption = L"c", .command = 2}};
  EXPECT_FALSE(CommandsClearOfControls(nested));
  EXPECT_TRUE(CommandsClearOfControls(clear));
}

}  // namespace
}  // namespace zorvin::win32

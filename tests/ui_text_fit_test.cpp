// What the user sees at each DPI, measured in the font each control draws with
// and in the room the control gives its text: the font itself, every fixed
// text whole, every item of the open level list whole, no label over the edge
// of a box (and in ui_text_wrap_test.cpp, no more wrapped lines than before).
// These run inside the child processes the DpiScaling tests start at each DPI,
// and print what they measured.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "effects/effects_catalog.h"
#include "settings/level_catalog.h"
#include "ui_text_fit.h"

namespace zorvin::ui::test {
namespace {

TEST_F(TextFit, EveryControlDrawsInTheEightPointDialogFont) {
  OpenAllWindows();
  // "MS Shell Dlg" is Microsoft Sans Serif on Windows; the test prefix stands
  // Liberation Sans in for that face under its name (cmake/wine-session.sh).
  for (HWND window : {Settings().Handle(), Effects().Handle(), About().Handle()}) {
    for (HWND control = GetWindow(window, GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT)) {
      const Face face = FaceOf(control);
      SCOPED_TRACE(ToUtf8(TextOf(window) + L" / " + TextOf(control)));
      EXPECT_EQ(face.family, L"Microsoft Sans Serif") << "drawn in " << ToUtf8(face.full);
      EXPECT_EQ(face.height, -MulDiv(8, static_cast<int>(dpi_), 72)) << "8 points";
    }
  }
  const Face face = FaceOf(Settings().BlockText().Handle());
  std::printf("  %3u dpi  every control: %s (%s), %ld px em\n", dpi_, ToUtf8(face.family).c_str(),
              ToUtf8(face.full).c_str(), -face.height);
}

TEST_F(TextFit, EveryFixedTextIsWhole) {
  OpenAllWindows();
  struct OneLine {
    const char* what;
    HWND control;
  };
  // One-line labels: the caption within the part of the label that shows, as
  // measured and as painted, with a clear column to its right (text cut at the
  // label's edge would reach its last column).
  for (const OneLine& label : {OneLine{"Form1.Label3", Settings().DisplayCaption().Handle()},
                               OneLine{"frmZorvinEfx.Label1", Effects().CategoryCaption().Handle()},
                               OneLine{"frmZorvinEfx.Label2", Effects().ListingCaption().Handle()},
                               OneLine{"frmAbout.lblVersion", About().VersionLabel().Handle()}}) {
    const std::wstring text = TextOf(label.control);
    const SIZE needs = Extent(label.control, text);
    const RECT has = PaintedRect(label.control);
    Report(label.what, text, needs.cx, has.right - has.left);
    EXPECT_LE(needs.cx, has.right - has.left) << label.what;
    EXPECT_LE(needs.cy, has.bottom - has.top) << label.what;
    UpdateWindow(label.control);
    const RECT ink = Ink(label.control, has);
    EXPECT_GE(ink.right, ink.left) << label.what << ": nothing painted";
    EXPECT_LT(ink.right, has.right - 1) << label.what << ": painted to its edge";
  }
  // Buttons: the caption inside the frame and the focus rectangle.
  for (const OneLine& button : {OneLine{"Form1.Command1", Settings().ShowSettingsButton().Handle()},
                                OneLine{"frmAbout.cmdOK", About().OkButton().Handle()}}) {
    const std::wstring text = TextOf(button.control);
    const SIZE needs = Extent(button.control, text);
    RECT client{};
    GetClientRect(button.control, &client);
    const int room = client.right - 2 * Scaled(4);
    Report(button.what, text, needs.cx, room);
    EXPECT_LE(needs.cx, room) << button.what;
    EXPECT_LE(needs.cy, client.bottom - 2 * Scaled(3)) << button.what;
  }
  // The credit wraps at word boundaries inside its box: every line whole, all lines inside.
  {
    HWND credit = About().CreditLabel().Handle();
    const std::wstring text = TextOf(credit);
    RECT client{};
    GetClientRect(credit, &client);
    RECT needs{0, 0, client.right, 0};
    DrawTextW(FontDc(credit).Get(), text.c_str(), -1, &needs, DT_CALCRECT | DT_WORDBREAK);
    Report("frmAbout.Label1 (height)", text, needs.bottom, client.bottom);
    EXPECT_LE(needs.bottom, client.bottom);
    for (std::size_t start = 0; start < text.size();) {
      const std::size_t end = std::min(text.find(L' ', start), text.size());
      EXPECT_LE(Extent(credit, text.substr(start, end - start)).cx, client.right);
      start = end + 1;
    }
  }
  // Menu-bar items: each caption inside its item, all on one row.
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
  HFONT menuFont = CreateFontIndirectW(&metrics.lfMenuFont);
  for (HWND window : {Settings().Handle(), Effects().Handle()}) {
    HMENU menu = GetMenu(window);
    ASSERT_NE(menu, nullptr);
    RECT first{};
    ASSERT_TRUE(GetMenuItemRect(window, menu, 0, &first));
    for (int item = 0; item < GetMenuItemCount(menu); ++item) {
      wchar_t caption[64] = {};
      GetMenuStringW(menu, static_cast<UINT>(item), caption, 64, MF_BYPOSITION);
      RECT place{};
      ASSERT_TRUE(GetMenuItemRect(window, menu, static_cast<UINT>(item), &place));
      const std::wstring shown = WithoutAccessMark(caption);
      const SIZE needs = Extent(FontDc(window, menuFont), shown);
      Report("menu bar", shown, needs.cx, place.right - place.left);
      EXPECT_LE(needs.cx, place.right - place.left) << ToUtf8(shown);
      EXPECT_EQ(place.top, first.top) << ToUtf8(shown) << " on the menu bar's first row";
    }
  }
  DeleteObject(menuFont);
  // The combo box's own field keeps its design width: its design text is
  // reported, not required to fit (the field scrolls).
  COMBOBOXINFO combo{};
  combo.cbSize = sizeof(combo);
  ASSERT_TRUE(GetComboBoxInfo(Settings().LevelCombo().Handle(), &combo));
  RECT field{};
  SendMessageW(combo.hwndItem, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&field));
  Report("Form1.Combo1 (its field)", L"MP/SP_LEVELS", Extent(combo.hwndItem, L"MP/SP_LEVELS").cx,
         field.right - field.left);
  EXPECT_TRUE(errors_.empty());
}

TEST_F(TextFit, OpenLevelListShowsEveryItemWhole) {
  Start();
  DropDown();
  COMBOBOXINFO combo{};
  combo.cbSize = sizeof(combo);
  ASSERT_TRUE(GetComboBoxInfo(Settings().LevelCombo().Handle(), &combo));
  HWND list = combo.hwndList;
  ASSERT_TRUE(IsWindowVisible(list));
  ASSERT_EQ(Settings().LevelCombo().Count(), 42);
  // Each item as painted, scrolled into view: its text must leave the list's
  // last column (beside the scroll bar) clear. Glyphs can reach a pixel or two
  // past the measured width, so the paint is read, not only the measure.
  RECT client{};
  GetClientRect(list, &client);
  std::wstring widest;
  long widestInk = -1;
  std::vector<bool> seen(42);
  // From the top down, a page at a time; the last page ends with the last
  // item. Each page shows at least one item more, so 42 pages are the most.
  for (int top = 0, pages = 0; std::count(seen.begin(), seen.end(), false) > 0; ++pages) {
    ASSERT_LT(pages, 42) << "the list's pages never showed every item";
    SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
    UpdateWindow(list);
    for (int index = 0; index < 42; ++index) {
      RECT item{};
      SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
      if (seen[index] || item.top < 0 || item.bottom > client.bottom) continue;
      seen[index] = true;
      top = index + 1;
      const std::wstring text = Settings().LevelCombo().Item(index);
      const RECT ink = Ink(list, {0, item.top, client.right, item.bottom});
      EXPECT_EQ(ink.right >= ink.left, !text.empty()) << ToUtf8(text);
      EXPECT_LT(ink.right, client.right - 1) << ToUtf8(text) << ": painted to the list's edge";
      if (ink.right > widestInk) {
        widestInk = ink.right;
        widest = text;
      }
    }
  }
  Report("Form1.Combo1 open list", widest, widestInk + 1, client.right);
  const RECT comboPlace = RectInParent(Settings().LevelCombo().Handle());
  EXPECT_EQ(comboPlace.right - comboPlace.left, MulDiv(1455, static_cast<int>(dpi_), 1440))
      << "the combo box keeps its design width";
  SendMessageW(Settings().LevelCombo().Handle(), CB_SHOWDROPDOWN, FALSE, 0);
  Pump();
  EXPECT_TRUE(errors_.empty());
}

// Wrapped lines: the text box's line count against the text's own. Every line
// that wraps costs the user a line that no longer reads as one setting or one
// file; some lines are wider than the boxes in any font of the period, so the
// count is held at what it is, per DPI, and may only fall.

void ExpectNoLabelOver(HWND box, const char* what) {
  std::vector<HWND> labels;
  for (HWND child = GetWindow(GetParent(box), GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    if (CompareStringOrdinal(name, -1, L"Static", -1, TRUE) == CSTR_EQUAL && IsWindowVisible(child))
      labels.push_back(child);
  }
  ASSERT_FALSE(labels.empty()) << what;
  const std::vector<COLORREF> shown = TopRow(box);
  for (HWND label : labels) ShowWindow(label, SW_HIDE);
  const std::vector<COLORREF> alone = TopRow(box);
  for (HWND label : labels) ShowWindow(label, SW_SHOWNA);
  ASSERT_FALSE(alone.empty()) << what;
  EXPECT_EQ(std::count(alone.begin(), alone.end(), CLR_INVALID), 0) << what << ": pixels unreadable";
  std::size_t differ = 0;
  for (std::size_t x = 0; x < alone.size(); ++x) differ += shown[x] != alone[x];
  EXPECT_EQ(differ, 0u) << what << ": a label paints over " << differ << " of the " << alone.size()
                        << " pixels of its top border";
}

TEST_F(TextFit, NoLabelPaintsOverTheEdgeOfABox) {
  Start();
  ExpectNoLabelOver(Settings().BlockText().Handle(), "Form1.Text1");
  Menu(Settings().Handle(), kCmdEffectsList);
  ExpectNoLabelOver(Effects().CategoryList().Handle(), "frmZorvinEfx.List1");
  ExpectNoLabelOver(Effects().ListingText().Handle(), "frmZorvinEfx.Text1");
  EXPECT_TRUE(errors_.empty());
}

}  // namespace
}  // namespace zorvin::ui::test

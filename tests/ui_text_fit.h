// The fixture of the tests that measure text at each DPI (ui_text_fit_test.cpp,
// ui_text_wrap_test.cpp): skipped unless a DpiScaling test started it at a DPI,
// it checks that the session is at that DPI and reports what it measured.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string_view>

#include "win32/text.h"
#include "ui_probes.h"
#include "ui_support.h"

namespace zorvin::ui::test {

class TextFit : public UiTest {
 public:
  void SetUp() override {
    dpi_ = TestDpi();
    if (dpi_ == 0) GTEST_SKIP() << "run by DpiScaling at each DPI";
    UiTest::SetUp();
  }

  // Pixels designed for 96 DPI, at the test's DPI.
  int Scaled(int pixels) const { return MulDiv(pixels, static_cast<int>(dpi_), 96); }

  // One line of the report that the closing figures come from.
  void Report(const char* what, std::wstring_view text, long needs, long has) const {
    std::printf("  %3u dpi  %-26s %-42s needs %3ld px, has %3ld px%s\n", dpi_, what, ToUtf8(text).c_str(),
                needs, has, needs > has ? "  (does not fit)" : "");
  }

  // The program's start-up, in a session whose display is at the test's DPI.
  void Start() {
    UiTest::Start();
    AssertSessionAtDpi({Settings().Handle()}, dpi_);
  }

  void OpenAllWindows() {
    Start();
    Menu(Settings().Handle(), kCmdEffectsList);
    Menu(Effects().Handle(), kCmdWorldspawnSettings);
    Menu(Effects().Handle(), kCmdAbout);
  }

  UINT dpi_ = 0;
};

}  // namespace zorvin::ui::test

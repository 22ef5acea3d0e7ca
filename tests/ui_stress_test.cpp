// Many reloads and hostile input: nothing leaks, nothing breaks.
#include <windows.h>
#include <winternl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "settings/level_catalog.h"
#include "win32/text.h"
#include "ui_support.h"

namespace zorvin::ui::test {
namespace {

// Wine's table of this process's GDI handles: entries of 24 bytes in 32- and
// 64-bit processes alike, the object's address kept as 64 bits.
const BYTE* WineGdiHandleTable() {
#ifdef _WIN64
  PROCESS_BASIC_INFORMATION process{};
  ULONG length = 0;
  if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &process, sizeof(process),
                                &length) != 0) {
    return nullptr;
  }
  const auto* peb = reinterpret_cast<const BYTE*>(process.PebBaseAddress);
  return *reinterpret_cast<const BYTE* const*>(peb + 0xF8);
#else
  // A 32-bit process under Wine's WoW64 also has a 64-bit TEB and PEB; the
  // 32-bit TEB's GdiBatchCount holds the 64-bit TEB's address, and the table's
  // address is in the 64-bit PEB only (the 32-bit PEB's field stays null).
  struct {
    NTSTATUS exitStatus;
    PVOID teb;
    CLIENT_ID clientId;
    ULONG_PTR affinity;
    LONG priority;
    LONG basePriority;
  } thread{};
  ULONG length = 0;
  if (NtQueryInformationThread(GetCurrentThread(), ThreadBasicInformation, &thread, sizeof(thread),
                               &length) != 0) {
    return nullptr;
  }
  const ULONG teb64 = *reinterpret_cast<const ULONG*>(static_cast<const BYTE*>(thread.teb) + 0xF70);
  if (teb64 == 0) return nullptr;
  const auto peb64 = *reinterpret_cast<const ULONG64*>(static_cast<ULONG_PTR>(teb64) + 0x60);
  const auto table = *reinterpret_cast<const ULONG64*>(static_cast<ULONG_PTR>(peb64) + 0xF8);
  return reinterpret_cast<const BYTE*>(static_cast<ULONG_PTR>(table));
#endif
}

// GDI objects of this process. Wine leaves GetGuiResources a stub that answers
// 0, so there the used entries of the process's GDI handle table are counted
// (its owner field is left 0 by Wine; the count includes the stock objects).
std::size_t GdiObjects() {
  if (DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return count;
  constexpr std::size_t kEntrySize = 24, kOwner = 8, kType = 14;
  const BYTE* table = WineGdiHandleTable();
  if (table == nullptr) return 0;
  const auto self = static_cast<USHORT>(GetCurrentProcessId());
  std::size_t count = 0;
  for (std::size_t i = 0; i < 0x10000; ++i) {
    const BYTE* entry = table + kEntrySize * i;
    const USHORT owner = *reinterpret_cast<const USHORT*>(entry + kOwner);
    if (entry[kType] != 0 && (owner == self || owner == 0)) ++count;
  }
  return count;
}

BOOL CALLBACK CountWindow(HWND hwnd, LPARAM count) {
  ++*reinterpret_cast<std::size_t*>(count);
  EnumChildWindows(hwnd, CountWindow, count);
  return TRUE;
}

// USER objects: GetGuiResources where it answers, else this thread's windows.
std::size_t UserObjects() {
  if (DWORD count = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return count;
  std::size_t count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

using HandleTest = UiTest;

TEST_F(HandleTest, CountsStayFlatOverRepeatedCloseAndReloadCyclesOfEachWindow) {
  struct Case {
    const char* window;
    void (*cycle)(HandleTest&);
  };
  const Case cases[] = {
      {"Form1",
       [](HandleTest& t) {
         t.CloseBox(t.Settings().Handle());
         t.TheShell().Show(t.Settings());
         t.SetComboText(L"mp_dawnville");
         t.LookUp();
       }},
      {"frmZorvinEfx",
       [](HandleTest& t) {
         t.CloseBox(t.Effects().Handle());
         t.Menu(t.Settings().Handle(), kCmdEffectsList);
         t.SelectCategory(7);
         t.Menu(t.Effects().Handle(), kCmdWorldspawnSettings);
       }},
      {"frmAbout",
       [](HandleTest& t) {
         t.Menu(t.Effects().Handle(), kCmdAbout);
         t.CloseBox(t.About().Handle());
       }},
      {"a change of DPI",
       [](HandleTest& t) {
         RECT suggested{0, 0, 100, 100};
         for (UINT dpi : {144u, 96u}) {
           SendMessageW(t.Settings().Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                        reinterpret_cast<LPARAM>(&suggested));
         }
       }},
  };
  Start();
  Menu(Settings().Handle(), kCmdEffectsList);
  Menu(Effects().Handle(), kCmdWorldspawnSettings);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.window);
    c.cycle(*this);  // first loads and caches of the system are not leaks
    const std::size_t gdi = GdiObjects();
    const std::size_t user = UserObjects();
    // A leak grows with the cycles; the system may still keep a few objects
    // of its own on the way (Wine 10 keeps two per DPI it has seen). Enough
    // cycles that a leak of one object every fourth cycle outgrows that.
    constexpr std::size_t kSystemsOwn = 5;
    const int cycles = ShortRun() ? 25 : 100;
    for (int i = 0; i < cycles; ++i) c.cycle(*this);
    EXPECT_GT(gdi, 0u);
    EXPECT_LE(GdiObjects(), gdi + kSystemsOwn);
    EXPECT_LE(UserObjects(), user + kSystemsOwn);
    std::printf("%s: %zu GDI and %zu USER objects before and %zu and %zu after %d cycles\n", c.window, gdi,
                user, GdiObjects(), UserObjects(), cycles);
  }
  EXPECT_TRUE(errors_.empty());
}

// Texts no catalog holds: long, non-ASCII, control characters, broken UTF-16.
// Long texts for a word-wrapping text box come as words and lines: Wine's
// edit control takes seconds to wrap one unbroken word of 30,000 characters.
std::vector<std::wstring> HostileTexts(bool wrapping) {
  std::vector<std::wstring> texts = {
      L"",
      L"mp_toujane\t",
      L"mp_toujane\r\n",
      L"\x1b[2J",
      L"\u00e9\u00e8\u4e16\u754c",
      L"\U0001F600mp_toujane",
      std::wstring(1, static_cast<wchar_t>(0xD800)) + L"mp",  // a lone surrogate
      L"mp_toujane\u200b",
  };
  std::vector<std::size_t> lengths = {255, 256, 32767, 32768, 100000};
  if (ShortRun()) lengths = {255, 256, 10000};
  for (std::size_t length : lengths) {
    if (wrapping) {
      std::wstring lines;
      while (lines.size() < length) lines += (lines.size() % 64 < 56) ? L"mp_toujane \u00e9 " : L"\r\n";
      lines.resize(length);
      texts.push_back(lines);
    } else {
      texts.push_back(std::wstring(length, L'x'));
      texts.push_back(L"mp_toujane" + std::wstring(length, L'\u00e9'));
    }
  }
  return texts;
}

void Paste(HWND target, const std::wstring& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  ASSERT_NE(memory, nullptr);
  std::memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
  SendMessageW(target, WM_PASTE, 0, 0);
}

HWND ComboEdit(HWND combo) { return FindWindowExW(combo, nullptr, L"Edit", nullptr); }

using BadInputTest = UiTest;

TEST_F(BadInputTest, HostileTextsInTheComboBoxChangeNothing) {
  Start();
  SetComboText(L"sp_libya");
  LookUp();
  const std::wstring block = Settings().BlockText().Text();
  ASSERT_FALSE(block.empty());
  for (const std::wstring& text : HostileTexts(false)) {
    SCOPED_TRACE(testing::Message() << "length " << text.size());
    SetComboText(text);
    LookUp();
    EXPECT_EQ(Settings().BlockText().Text(), block);
    EXPECT_EQ(Settings().BlockStore().Caption(), block);
    // A one-line field keeps a pasted text up to its first line break, so
    // "mp_toujane" and a line break paste as the level name, which is found.
    SetComboText(L"");
    Paste(ComboEdit(Settings().LevelCombo().Handle()), text);
    Pump();
    const std::wstring pasted = Settings().LevelCombo().Text();
    LookUp();
    const bool level = pasted == L"mp_toujane";
    EXPECT_TRUE(level || FindLevel(ToUtf8(pasted)) == nullptr);
    const std::wstring expected = level ? BlockOf("mp_toujane") : block;
    EXPECT_EQ(Settings().BlockText().Text(), expected);
    EXPECT_EQ(Settings().BlockStore().Caption(), expected);
    SetComboText(L"sp_libya");
    LookUp();
  }
  EXPECT_TRUE(errors_.empty());
  // Still working afterwards.
  SetComboText(L"mp_toujane");
  LookUp();
  EXPECT_NE(Settings().BlockText().Text(), block);
}

TEST_F(BadInputTest, HostileTextsInTheTextBoxesAreReplacedByTheNextResult) {
  Start();
  Menu(Settings().Handle(), kCmdEffectsList);
  Menu(Effects().Handle(), kCmdWorldspawnSettings);
  for (const std::wstring& text : HostileTexts(true)) {
    SCOPED_TRACE(testing::Message() << "length " << text.size());
    Paste(Settings().BlockText().Handle(), text);
    SetComboText(L"mp_leningrad");
    LookUp();
    EXPECT_EQ(Settings().BlockText().Text(), Settings().BlockStore().Caption());
    Paste(Effects().ListingText().Handle(), text);
    SelectCategory(65);
    EXPECT_EQ(Effects().ListingText().Text(), L"wine_bottle.efx");
  }
  EXPECT_TRUE(errors_.empty());
}

TEST_F(BadInputTest, TypedControlAndForeignCharactersChangeNothing) {
  Start();
  SetComboText(L"mp_decoy");
  LookUp();
  const std::wstring block = Settings().BlockText().Text();
  PressKeys({VK_TAB});
  ASSERT_TRUE(PumpUntil([&] { return HasFocus(Settings().LevelCombo().Handle()); }));
  PressKeys({VK_CONTROL, 'A'});
  TypeText(L"mp_d\u00e9coy\u4e16\u00a0\t");
  PressKeys({VK_CONTROL, 'B'});
  PressKeys({VK_CONTROL, 'Z'});
  ASSERT_TRUE(PumpUntilKeysHandled());
  LookUp();
  EXPECT_EQ(Settings().BlockText().Text(), block);
  EXPECT_TRUE(Settings().IsVisible());
  EXPECT_TRUE(errors_.empty());
}

}  // namespace
}  // namespace zorvin::ui::test

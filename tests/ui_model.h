// The reference model of the random walk (ui_model_test.cpp): the user's
// actions, what the user must see after each by the rules of the program,
// and a seeded choice of the next action.
#pragma once

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "effects/effects_catalog.h"
#include "settings/level_catalog.h"
#include "win32/text.h"
#include "ui_support.h"

namespace zorvin::ui::test {

enum class Kind {
  EffectsList,         // Form1: "&Effects List"
  WorldspawnSettings,  // effects window: "Worldspawn Settings"
  Exit,                // effects window: "&Exit"
  About,               // effects window: "&About"
  Ok,                  // About: OK by click (arg 0), Enter (1) or Esc (2)
  CloseBox,            // arg: 0 Form1, 1 effects window, 2 About
  DropDown,            // Form1: open the level list
  Pick,                // Form1: choose item arg of the opened list
  Type,                // Form1: type text arg of kTyped into the combo box
  LookUp,              // Form1: "MP/SPSettings"
  Select,              // effects window: click category arg
  Arrow,               // effects window: arrow key, arg 0 down, 1 up
  Edit,                // type into a text box: arg 0 Form1, 1 effects window
};

struct Action {
  Kind kind;
  int arg;
};

inline const wchar_t* const kTyped[] = {
    L"mp_toujane",    L"sp_hill400_assault", L"MP_TOUJANE",
    L" mp_decoy",     L"mp_decoy ",          L"",
    L"--SP_LEVELS--", L"sp_breakout",        L"mp_downtown",
    L"sp_88ridge",    L"Misc_Effects",       L"mp_matmata\u00e9",
    L"sp_newvillers",
};

inline std::string Describe(const Action& a) {
  const char* names[] = {"EffectsList", "WorldspawnSettings",
                         "Exit",        "About",
                         "Ok",          "CloseBox",
                         "DropDown",    "Pick",
                         "Type",        "LookUp",
                         "Select",      "Arrow",
                         "Edit"};
  std::ostringstream out;
  out << names[static_cast<int>(a.kind)] << "(" << a.arg << ")";
  return out.str();
}

// What the user must see, by the rules of the program.
struct Model {
  struct Window {
    bool slot = false, loaded = false, visible = false;
  };
  Window form1, effects, about;
  std::wstring comboText, text1, label1;
  int comboCount = 0;
  int selection = -1;
  std::wstring listing;
  bool over = false;  // the program ended or closed

  Model() { Show(form1); }

  void Load(Window& w) {
    w.slot = w.loaded = true;
    if (&w == &form1) {
      comboText = L"MP/SP_LEVELS";
      comboCount = 0;
      text1.clear();
      label1.clear();
    } else if (&w == &effects) {
      selection = -1;
      listing.clear();
    }
  }
  void Show(Window& w) {
    if (!w.loaded) Load(w);
    w.visible = true;
  }

  // Whether the action can be done now; a user can only act on what is on screen.
  bool Possible(const Action& a) const {
    switch (a.kind) {
      case Kind::EffectsList:
      case Kind::DropDown:
      case Kind::Type:
      case Kind::LookUp:
        return form1.visible;
      case Kind::Pick:
        return form1.visible && comboCount == 42;
      case Kind::WorldspawnSettings:
      case Kind::Exit:
      case Kind::About:
      case Kind::Select:
        return effects.visible;
      case Kind::Arrow:
        // Only moves that change the selection: from none, Down selects the first entry.
        return effects.visible && (a.arg == 0 ? selection < 65 : selection > 0);
      case Kind::Ok:
        return about.visible;
      case Kind::CloseBox:
        return (a.arg == 0 ? form1 : a.arg == 1 ? effects : about).visible;
      case Kind::Edit:
        return a.arg == 0 ? form1.visible : effects.visible;
    }
    return false;
  }

  void Apply(const Action& a) {
    switch (a.kind) {
      case Kind::EffectsList:
        Show(effects);
        form1.visible = false;
        break;
      case Kind::WorldspawnSettings:
        Show(form1);
        break;
      case Kind::Exit:
        over = true;
        break;
      case Kind::About:
        Show(about);
        break;
      case Kind::Ok:
        Show(effects);
        about.visible = false;
        break;
      case Kind::CloseBox: {
        Window& w = a.arg == 0 ? form1 : a.arg == 1 ? effects : about;
        w.loaded = w.visible = false;
        over = !form1.visible && !effects.visible && !about.visible;
        break;
      }
      case Kind::DropDown:
        comboCount = 42;
        comboText.clear();
        break;
      case Kind::Pick:
        comboText = Widen(LevelListItems()[static_cast<std::size_t>(a.arg)]);
        break;
      case Kind::Type:
        comboText = kTyped[a.arg];
        break;
      case Kind::LookUp:
        if (const LevelEntry* entry = FindLevel(ToUtf8(comboText))) text1 = label1 = BlockOf(entry->Key());
        break;
      case Kind::Select:
        selection = a.arg;
        listing = ListingOf(EffectCategoryNames()[static_cast<std::size_t>(a.arg)]);
        break;
      case Kind::Arrow: {
        const int next = selection < 0 ? 0 : selection + (a.arg == 0 ? 1 : -1);
        selection = next;
        listing = ListingOf(EffectCategoryNames()[static_cast<std::size_t>(next)]);
        break;
      }
      case Kind::Edit:
        (a.arg == 0 ? text1 : listing) = L"typed by the user";
        break;
    }
  }
};

inline Action RandomAction(std::mt19937& random) {
  const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  // Weighted: navigation less often than work inside the windows.
  static const Kind kinds[] = {Kind::EffectsList, Kind::WorldspawnSettings,
                               Kind::About,       Kind::Ok,
                               Kind::CloseBox,    Kind::DropDown,
                               Kind::DropDown,    Kind::Pick,
                               Kind::Pick,        Kind::Type,
                               Kind::LookUp,      Kind::LookUp,
                               Kind::LookUp,      Kind::Select,
                               Kind::Select,      Kind::Arrow,
                               Kind::Edit,        Kind::Exit};
  Kind kind = kinds[pick(static_cast<int>(std::size(kinds)))];
  if (kind == Kind::Exit && pick(8) != 0) kind = Kind::Select;  // ending is rare, or walks would be short
  switch (kind) {
    case Kind::Ok:
    case Kind::CloseBox:
      return {kind, pick(3)};
    case Kind::Pick:
      return {kind, pick(42)};
    case Kind::Type:
      return {kind, pick(static_cast<int>(std::size(kTyped)))};
    case Kind::Select:
      return {kind, pick(66)};
    case Kind::Arrow:
    case Kind::Edit:
      return {kind, pick(2)};
    default:
      return {kind, 0};
  }
}

}  // namespace zorvin::ui::test

#include "settings/level_catalog.h"

namespace zorvin {
namespace {

constexpr std::array<std::string_view, 42> kLevelListItems{
    // multiplayer levels
    "mp_breakout",
    "mp_brecourt",
    "mp_burgundy",
    "mp_carentan",
    "mp_dawnville",
    "mp_decoy",
    "mp_downtown",
    "mp_farmhouse",
    "mp_leningrad",
    "mp_matmata",
    "mp_railyard",
    "mp_toujane",
    "mp_trainstation",
    // separator between the multiplayer and the single-player levels
    "",
    "--SP_LEVELS--",
    "",
    // single-player levels ("sp_hill400_assault" is in the catalog but not offered here)
    "sp_88ridge",
    "sp_beltot",
    "sp_bergstein",
    "sp_breakout",
    "sp_cityhall",
    "sp_crossroads",
    "sp_decoytown",
    "sp_decoytrenches",
    "sp_demolition",
    "sp_downtown_assault",
    "sp_downtown_sniper",
    "sp_duhoc_assault",
    "sp_duhoc_defend",
    "sp_elalamein",
    "sp_eldaba",
    "sp_hill400_defend",
    "sp_libya",
    "sp_matmana",
    "sp_moscow",
    "sp_newvillers",
    "sp_rhine",
    "sp_silotown_assault",
    "sp_tankhunt",
    "sp_toujane",
    "sp_toujane_ride",
    "sp_trainyard",
};

using F = Field;
using std::nullopt;

constexpr std::array<LevelEntry, 40> kCatalog{{
    // 1
    {"mp_breakout",
     {nullopt, Body::Standard, nullopt},
     {{F::northyaw, "90"},
      {F::color, "1 .95 .95"},
      {F::Ambient, "0.05"},
      {F::sundiffusecolor, "0.80 0.82 0.85"},
      {F::diffusefraction, "0.31"},
      {F::classname, "worldspawn"},
      {F::sundirection, "-137.8 305 0"},
      {F::suncolor, "0.9 0.95 1"},
      {F::sunlight, "1.5"}}},
    // 2
    {"mp_brecourt",
     {nullopt, Body::Standard, lines::kSpawnflags},
     {{F::spawnflags, "8"},
      {F::northyaw, "90"},
      {F::color, "0.470588 0.560784 0.627451"},
      {F::Ambient, "0.00"},
      {F::sundiffusecolor, "0.909804 0.952941 1.000000"},
      {F::diffusefraction, "0.35"},
      {F::classname, "worldspawn"},
      {F::sundirection, "-40 44 0"},
      {F::suncolor, "1.000000 1.000000 1"},
      {F::sunlight, ".8"}}},
    // 3
    {"mp_burgundy",
     {nullopt, Body::Standard, nullopt},
     {{F::northyaw, ""},
      {F::color, "0.000000 0.501961 1.000000"},
      {F::Ambient, ".02"},
      {F::sundiffusecolor, ".85 .9 1"},
      {F::diffusefraction, ".3"},
      {F::classname, "worldspawn"},
      {F::sundirection, "-45 210 0"},
      {F::suncolor, "1 .95 .85"},
      {F::sunlight, "1.5"}}},
    // 4
    {"mp_carentan",
     {nullopt, Body::Standard, nullopt},
     {{F::northyaw, ""},
      {F::color, ".85 .9 1"},
      {F::Ambient, ".0"},
      {F::sundiffusecolor, ".85 .9 1"},
      {F::diffusefraction, ".56"},
      {F::classname, "worldspawn"},
      {F::sundirection, "-40 -138 0"},
      {F::suncolor, "1 .95 .85"},
      {F::sunlight, "1.8"}}},
    // 5
    {"mp_dawnville",
     {nullopt, Body::Standard, nullopt},
     {{F::northyaw, "90"},
      {F::color, "0 0 0"},
      {F::Ambient, ".0"},
      {F::sundiffusecolor, ".85 .9 1"},
      {F::diffusefraction, ".6"},
      {F::classname, "worldspawn"},
      {F::sundirection, "-57 169 0"},
      {F::suncolor, "1.2"},
      {F::sunlight, ""}}},
    // 6
    {"mp_decoy",
     {nullopt, Body::Standard, nullopt},
     {{F::northyaw, "180"},
      {F::color, "0 0 0"},
      {F::Ambient, ".0"},
      {F::sundiffusecolor, "0.15 0.21 .6"},
      {F::diffusefraction, "0.4"},
      {F::classname, "worldspawn"},
      {F::sundirection, "-60 245 0"},
      {F::suncolor, ".5 .52 .55"},
      {F::sunlight, ".47"}}},
    // 7
    {"mp_downtown",
     {nullopt, Body::ContrastGain, nullopt},
     {{F::contrastgain, ".4"},
      {F::northyaw, ""},
      {F::color, "1 .96 .98"},
      {F::Ambient, ".0"},
      {F::sundiffusecolor, ".9 .9 .96"},
      {F::diffusefraction, ".40"},
      {F::classname, "worldspawn"},
      {F::sundirection, "-24 -127 0"},
      {F::suncolor, "1 .96 .98"},
      {F::sunlight, "1.5"}}},
    // 8
    {"mp_farmhouse",
     {nullopt, Body::Standard, nullopt},
     {{F::northyaw, ""},
      {F::color, "0.890196 0.733333 0.407843"},
      {F::Ambient, "0"},
      {F::sundiffusecolor, ".58 .59 .71"},
      {F::diffusefraction, ".4"},
      {F::classname, "worldspawn"},
      {F::sundirection, "-19 -70 0"},
      {F::suncolor, ".94 .62 .5"},
      {F::sunlight, "1.3"}}},
    // 9
    {"mp_leningrad",
     {nullopt, Body::Standard, nullopt},
     {{F::northyaw, ""},
      {F::color, "1 .96 .98"},
      {F::Ambient, ".0"},
      {F::sundiffusecolor, ".9 .9 .96"},
      {F::diffusefraction, ".52"},
      {F::classname, "worldspawn"},
      {F::sundirection, "-70 35 0"},
      {F::suncolor, "1 .96 .98"},
      {F::sunlight, "1.15"}}},
    // 10
    {"mp_matmata",
     {lines::kModelCapital, Body::Standard, nullopt},
     {{F::model, "xmodel/dome_04"},
      {F::northyaw, ""},
      {F::color, "1.00 0.781 0.275"},
      {F::Ambient, ".02"},
      {F::sundiffusecolor, "1.00 0.86 .89"},
      {F::diffusefraction, ""},
      {F::classname, "worldspawn"},
      {F::sundirection, "-20 315 0"},
      {F::suncolor, "1.00 0.88 0.85"},
      {F::sunlight, "1.45"}}},
    // 11
    {"mp_railyard",
     {nullopt, Body::Standard, nullopt},
     {{F::northyaw, ""},
      {F::color, "100 100 105"},
      {F::Ambient, ".1"},
      {F::sundiffusecolor, "100 100 100"},
      {F::diffusefraction, ".65"},
      {F::classname, "worldspawn"},
      {F::sundirection, "-40 225 0"},
      {F::suncolor, "100 100 105"},
      {F::sunlight, "1.3"}}},
    // 12
    {"mp_toujane",
     {nullopt, Body::Standard, nullopt},
     {{F::northyaw, ""},
      {F::color, "0.813 0.804 0.706"},
      {F::Ambient, ".02"},
      {F::sundiffusecolor, "0.863 0.922 0.922"},
      {F::diffusefraction, ".4"},
      {F::classname, "worldspawn"},
      {F::sundirection, "-45 135 0"},
      {F::suncolor, "0.98 0.882 0.745"},
      {F::sunlight, "1.3"}}},
    // 13
    {"mp_trainstation",
     {nullopt, Body::Standard, nullopt},
     {{F::northyaw, ""},
      {F::color, ".85 .9 1"},
      {F::Ambient, ".02"},
      {F::sundiffusecolor, ".85 .9 1"},
      {F::diffusefraction, ".3"},
      {F::classname, "worldspawn"},
      {F::sundirection, "-45 210 0"},
      {F::suncolor, "1 .95 .85"},
      {F::sunlight, "1.5"}}},
    // 14; not given, shown empty: northyaw
    {"sp_88ridge",
     {nullopt, Body::Standard, nullopt},
     {{F::suncolor, "1.000000 0.902 0.8274"},
      {F::sundirection, "-12.79 -8.3504 0"},
      {F::sunlight, "1.8"},
      {F::sundiffusecolor, ".5 .6 1"},
      {F::color, ".5 .6 1"},
      {F::diffusefraction, "0.3"},
      {F::Ambient, "0.015"},
      {F::classname, "worldspawn"}}},
    // 15; not given, shown empty: northyaw
    {"sp_beltot",
     {nullopt, Body::Standard, nullopt},
     {{F::diffusefraction, ".27"},
      {F::color, "0.75 0.733333 0.407843"},
      {F::Ambient, "0.05"},
      {F::sundiffusecolor, "0.588235 0.596078 0.713726"},
      {F::sundirection, "-35 110 0"},
      {F::suncolor, ".75 .55 .4"},
      {F::sunlight, "1.4"},
      {F::classname, "worldspawn"}}},
    // 16; not given, shown empty: northyaw, color
    {"sp_bergstein",
     {nullopt, Body::Standard, lines::kOrigin},
     {{F::diffusefraction, ".6"},
      {F::sunlight, ".65"},
      {F::Ambient, ".02"},
      {F::sundirection, "-80 355 0"},
      {F::sundiffusecolor, "100 100 100"},
      {F::suncolor, "100 100 105"},
      {F::classname, "worldspawn"},
      {F::origin, "0 0 0"}}},
    // 17; not given, shown empty: origin
    {"sp_breakout",
     {nullopt, Body::Standard, lines::kOrigin},
     {{F::northyaw, "90"},
      {F::color, "1 .95 .95"},
      {F::Ambient, "0.05"},
      {F::sundiffusecolor, "0.80 0.82 0.85"},
      {F::diffusefraction, "0.31"},
      {F::classname, "worldspawn"},
      {F::sundirection, "-137.8 305 0"},
      {F::suncolor, "0.9 0.95 1"},
      {F::sunlight, "1.5"}}},
    // 18; not given, shown empty: northyaw, origin
    {"sp_cityhall",
     {lines::kModelLower, Body::Standard, lines::kOrigin},
     {{F::model, "xmodel/prop_barrel_silver_snow"},
      {F::color, "1 .96 .98"},
      {F::Ambient, ".0"},
      {F::sunlight, "1.25"},
      {F::sundirection, "-31 -242 0"},
      {F::sundiffusecolor, ".9 .9 .96"},
      {F::suncolor, "1 .96 .98"},
      {F::diffusefraction, ".40"},
      {F::classname, "worldspawn"}}},
    // 19; not given, shown empty: northyaw, color, origin
    {"sp_crossroads",
     {nullopt, Body::Standard, lines::kOrigin},
     {{F::diffusefraction, ".9"},
      {F::sunlight, ".625"},
      {F::Ambient, ".03"},
      {F::sundirection, "340 68 0"},
      {F::sundiffusecolor, "100 100 100"},
      {F::suncolor, "100 100 105"},
      {F::classname, "worldspawn"}}},
    // 20; not given, shown empty: origin
    {"sp_decoytown",
     {lines::kScriptDronelag, Body::Standard, lines::kOrigin},
     {{F::script_dronelag, "1.7"},
      {F::sundiffusecolor, "0.15 0.21 .6"},
      {F::diffusefraction, "0.4"},
      {F::sundirection, "-60 245 0"},
      {F::color, "0 0 0"},
      {F::Ambient, ".0"},
      {F::suncolor, ".5 .52 .55"},
      {F::sunlight, ".47"},
      {F::northyaw, "-220"},
      {F::classname, "worldspawn"}}},
    // 21; not given, shown empty: northyaw, origin
    {"sp_decoytrenches",
     {nullopt, Body::Standard, lines::kOrigin},
     {{F::sundiffusecolor, "0.15 0.21 .6"},
      {F::diffusefraction, "0.4"},
      {F::sundirection, "-60 245 0"},
      {F::color, "0 0 0"},
      {F::Ambient, ".0"},
      {F::suncolor, ".5 .52 .55"},
      {F::sunlight, ".47"},
      {F::classname, "worldspawn"}}},
    // 22; not given, shown empty: northyaw, origin
    {"sp_demolition",
     {lines::kScriptNoteworthy, Body::Standard, lines::kOrigin},
     {{F::script_noteworthy, "has_explosives"},
      {F::Ambient, ".0"},
      {F::color, "1 .96 .98"},
      {F::sunlight, "1.15"},
      {F::sundirection, "-70 0 0"},
      {F::sundiffusecolor, ".9 .9 .96"},
      {F::suncolor, "1 .98 .9"},
      {F::diffusefraction, ".65"},
      {F::classname, "worldspawn"}}},
    // 23; not given, shown empty: northyaw, origin
    {"sp_downtown_assault",
     {nullopt, Body::Standard, lines::kOrigin},
     {{F::color, "1 .96 .98"},
      {F::Ambient, ".0"},
      {F::sunlight, "1.15"},
      {F::sundirection, "-24 -127 0"},
      {F::sundiffusecolor, ".9 .9 .96"},
      {F::suncolor, "1 .96 .98"},
      {F::diffusefraction, ".40"},
      {F::classname, "worldspawn"}}},
    // 24; not given, shown empty: northyaw, origin
    {"sp_downtown_sniper",
     {nullopt, Body::Standard, lines::kOrigin},
     {{F::classname, "worldspawn"},
      {F::color, "1.000000 0.877953 0.740157"},
      {F::Ambient, "0.2"},
      {F::sunlight, "1"},
      {F::sundirection, "-37 -27 0"},
      {F::sundiffusecolor, "0.86 0.86 0.95"},
      {F::suncolor, "1 1 1"},
      {F::diffusefraction, ".33"}}},
    // 25; not given, shown empty: origin
    {"sp_duhoc_assault",
     {nullopt, Body::Standard, lines::kOrigin},
     {{F::northyaw, "-45"},
      {F::sunlight, "1.1"},
      {F::sundirection, "-148 19.4 0"},
      {F::suncolor, ".8 .8 1"},
      {F::sundiffusecolor, "0.909804 0.952941 1.000000"},
      {F::diffusefraction, "0.4"},
      {F::color, ".9 .9 1"},
      {F::Ambient, ".02"},
      {F::classname, "worldspawn"}}},
    // 26; not given, shown empty: origin
    {"sp_duhoc_defend",
     {lines::kScriptWait, Body::Standard, lines::kOrigin},
     {{F::script_wait, "15"},
      {F::northyaw, "-45"},
      {F::sunlight, "1.15"},
      {F::sundirection, "-35 70 0"},
      {F::suncolor, "1 1 1"},
      {F::sundiffusecolor, "0.9 0.94 1"},
      {F::diffusefraction, "0.3"},
      {F::color, "1 1 1"},
      {F::Ambient, ".01"},
      {F::classname, "worldspawn"}}},
    // 27; not given, shown empty: origin
    {"sp_elalamein",
     {nullopt, Body::Standard, lines::kOrigin},
     {{F::northyaw, "80"},
      {F::suncolor, "1.000000 0.902 0.8274"},
      {F::sundirection, "-25 -8.3504 0"},
      {F::sunlight, "1.7"},
      {F::sundiffusecolor, ".5 .7 1"},
      {F::color, ".7 .65 1"},
      {F::diffusefraction, "0.3"},
      {F::Ambient, "0.15"},
      {F::classname, "worldspawn"}}},
    // 28; not given, shown empty: origin
    {"sp_eldaba",
     {nullopt, Body::Standard, lines::kOrigin},
     {{F::northyaw, "90"},
      {F::suncolor, "1.000000 0.99 0.95"},
      {F::sundirection, "-45 315 0"},
      {F::sunlight, "1.8"},
      {F::sundiffusecolor, ".5 .6 1"},
      {F::color, ".5 .6 1"},
      {F::diffusefraction, "0.3"},
      {F::Ambient, "0.015"},
      {F::classname, "worldspawn"}}},
    // 29; not given, shown empty: northyaw, color, Ambient, origin
    {"sp_hill400_assault",
     {lines::kScriptDelay, Body::Standard, lines::kOrigin},
     {{F::script_delay, "2"},
      {F::diffusefraction, ".5"},
      {F::sundiffusecolor, "0.247059 0.282353 0.349020"},
      {F::classname, "worldspawn"},
      {F::suncolor, "0.545098 0.596078 0.631373"},
      {F::sundirection, "-45 200 0"},
      {F::sunlight, "1"}}},
    // 30; not given, shown empty: northyaw, color, Ambient, origin
    {"sp_hill400_defend",
     {nullopt, Body::Standard, lines::kOrigin},
     {{F::diffusefraction, ".5"},
      {F::sundiffusecolor, "0.247059 0.282353 0.349020"},
      {F::classname, "worldspawn"},
      {F::suncolor, "0.545098 0.596078 0.631373"},
      {F::sundirection, "-45 200 0"},
      {F::sunlight, "1"}}},
    // 31; not given, shown empty: northyaw, origin
    {"sp_libya",
     {nullopt, Body::Standard, lines::kOrigin},
     {{F::classname, "worldspawn"},
      {F::Ambient, "0.015"},
      {F::diffusefraction, "0.3"},
      {F::color, ".5 .6 1"},
      {F::sundiffusecolor, ".5 .6 1"},
      {F::sunlight, "2"},
      {F::sundirection, "-12.79 -8.3504 0"},
      {F::suncolor, "1.000000 0.902 0.8274"}}},
    // 32; not given, shown empty: northyaw, color, origin
    {"sp_matmana",
     {nullopt, Body::Standard, lines::kOrigin},
     {{F::classname, "worldspawn"},
      {F::Ambient, "0.02"},
      {F::diffusefraction, ".38"},
      {F::sundiffusecolor, "1.00 0.86 0.89"},
      {F::sunlight, ".85"},
      {F::sundirection, "-20 315 0"},
      {F::suncolor, "1.00 0.88 0.85"}}},
    // 33; not given, shown empty: origin
    {"sp_moscow",
     {nullopt, Body::Standard, lines::kOrigin},
     {{F::classname, "worldspawn"},
      {F::sundiffusecolor, "0.572549 0.600000 0.678431"},
      {F::diffusefraction, ".3"},
      {F::suncolor, "1 1 1"},
      {F::color, "0.9 0.95 0.97"},
      {F::Ambient, ".1"},
      {F::sundirection, "-36 -60 0"},
      {F::sunlight, "1.4"},
      {F::northyaw, "90"}}},
    // 34; not given, shown empty: origin
    {"sp_newvillers",
     {lines::kBouncefraction, Body::Standard, lines::kOrigin},
     {{F::northyaw, "90"},
      {F::color, "0.5 0.5 .62 1"},
      {F::Ambient, ".1"},
      {F::sundiffusecolor, ".55 .75 .8"},
      {F::diffusefraction, ".5"},
      {F::classname, "worldspawn"},
      {F::sundirection, "-145 205 0"},
      {F::suncolor, ".55 .75 .8"},
      {F::sunlight, ".8"},
      {F::bouncefraction, ".4"}}},
    // 35; not given, shown empty: northyaw, origin
    {"sp_rhine",
     {nullopt, Body::Standard, lines::kOrigin},
     {{F::diffusefraction, "0.25"},
      {F::color, "0.90 0.90 1"},
      {F::sunlight, "1.6"},
      {F::sundirection, "-41 135 0"},
      {F::sundiffusecolor, "0.78 0.80 1"},
      {F::suncolor, "1 1 0.95"},
      {F::Ambient, ".1"},
      {F::classname, "worldspawn"}}},
    // 36; not given, shown empty: northyaw, origin
    {"sp_silotown_assault",
     {nullopt, Body::Standard, lines::kOrigin},
     {{F::diffusefraction, "0.4"},
      {F::sundiffusecolor, "0.909804 0.952941 1.000000"},
      {F::color, "0.470588 0.560784 0.627451"},
      {F::sunlight, "1"},
      {F::sundirection, "-41 212 0"},
      {F::suncolor, "1.000000 1.000000 1"},
      {F::Ambient, ".03"},
      {F::classname, "worldspawn"}}},
    // 37; not given, shown empty: northyaw, origin
    {"sp_tankhunt",
     {nullopt, Body::Standard, lines::kOrigin},
     {{F::color, "1 .96 .98"},
      {F::Ambient, ".0"},
      {F::sunlight, "1.15"},
      {F::sundirection, "-42 -43 0"},
      {F::sundiffusecolor, ".9 .9 .96"},
      {F::suncolor, "1 .96 .98"},
      {F::diffusefraction, ".40"},
      {F::classname, "worldspawn"}}},
    // 38; not given, shown empty: northyaw, origin
    {"sp_toujane",
     {nullopt, Body::Standard, lines::kOrigin},
     {{F::color, "0.813 0.804 0.706"},
      {F::Ambient, "0"},
      {F::classname, "worldspawn"},
      {F::sunlight, "1.3"},
      {F::suncolor, "0.98 0.882 0.745"},
      {F::sundirection, "-45 135 0"},
      {F::sundiffusecolor, "0.863 0.9 0.922"},
      {F::diffusefraction, "0.2"}}},
    // 39; not given, shown empty: northyaw, origin
    {"sp_toujane_ride",
     {lines::kBouncefraction, Body::Standard, lines::kOrigin},
     {{F::bouncefraction, ".1"},
      {F::diffusefraction, "0.4"},
      {F::sundiffusecolor, "0.7 0.60 0.62"},
      {F::sundirection, "-9 140 0"},
      {F::suncolor, ".9 .7 .33"},
      {F::sunlight, "1.8"},
      {F::Ambient, "0.03"},
      {F::color, ".25 .5 .5"},
      {F::classname, "worldspawn"}}},
    // 40; not given, shown empty: northyaw, origin
    {"sp_trainyard",
     {nullopt, Body::Standard, lines::kOrigin},
     {{F::color, "1 .96 .98"},
      {F::Ambient, ".0"},
      {F::sunlight, "1"},
      {F::sundirection, "-70 172 0"},
      {F::sundiffusecolor, ".9 .9 .96"},
      {F::suncolor, "1 1 1"},
      {F::diffusefraction, ".65"},
      {F::classname, "worldspawn"}}},

}};

// What must hold of the two tables, checked when the program is built.

constexpr bool KeysAreUnique() {
  for (std::size_t i = 0; i < kCatalog.size(); ++i) {
    for (std::size_t j = i + 1; j < kCatalog.size(); ++j) {
      if (kCatalog[i].Key() == kCatalog[j].Key()) return false;
    }
  }
  return true;
}
static_assert(KeysAreUnique());

// An entry assigns only fields that its layout shows, each at most once, and
// always classname "worldspawn"; its key names its game mode.
constexpr bool EntriesAreWellFormed() {
  for (const LevelEntry& entry : kCatalog) {
    if (!entry.Key().starts_with("mp_") && !entry.Key().starts_with("sp_")) return false;
    bool worldspawn = false;
    const auto values = entry.Values();
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (!entry.Layout().Shows(values[i].field)) return false;
      for (std::size_t j = i + 1; j < values.size(); ++j) {
        if (values[i].field == values[j].field) return false;
      }
      if (values[i].field == F::classname) worldspawn = values[i].value == "worldspawn";
    }
    if (!worldspawn) return false;
  }
  return true;
}
static_assert(EntriesAreWellFormed());

// The catalog holds the list's level names in the list's order, plus the one
// level that is only found by typing its name.
constexpr bool CatalogFollowsList() {
  std::size_t next = 0;
  for (const LevelEntry& entry : kCatalog) {
    if (entry.Key() == "sp_hill400_assault") continue;
    while (next < kLevelListItems.size() && kLevelListItems[next] != entry.Key()) {
      if (!IsSpacerItem(kLevelListItems[next])) return false;
      ++next;
    }
    if (next == kLevelListItems.size()) return false;
    ++next;
  }
  return next == kLevelListItems.size();
}
static_assert(CatalogFollowsList());

constexpr std::size_t DistinctLayouts() {
  std::size_t distinct = 0;
  for (std::size_t i = 0; i < kCatalog.size(); ++i) {
    bool seen = false;
    for (std::size_t j = 0; j < i; ++j) seen = seen || kCatalog[j].Layout() == kCatalog[i].Layout();
    if (!seen) ++distinct;
  }
  return distinct;
}
static_assert(DistinctLayouts() == 11);

}  // namespace

std::span<const std::string_view> LevelListItems() { return kLevelListItems; }

std::span<const LevelEntry> LevelCatalog() { return kCatalog; }

const LevelEntry* FindLevel(std::string_view text) {
  for (const LevelEntry& entry : kCatalog) {
    if (entry.Key() == text) return &entry;
  }
  return nullptr;
}

void FillRecord(SettingsClass& record, const LevelEntry& entry) {
  Clear(record);
  record.oChar = "{";
  for (const FieldValue& value : entry.Values()) FieldOf(record, value.field) = value.value;
  record.oChar2 = "}";
}

std::string LevelBlock(const LevelEntry& entry) {
  SettingsClass record;
  FillRecord(record, entry);
  return RenderBlock(record, entry.Layout());
}

std::optional<std::string> FindLevelBlock(std::string_view text) {
  const LevelEntry* entry = FindLevel(text);
  if (entry == nullptr) return std::nullopt;
  return LevelBlock(*entry);
}

}  // namespace zorvin

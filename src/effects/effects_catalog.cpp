#include "effects/effects_catalog.h"

#include <cstdint>

namespace zorvin {
namespace {

// The table as written, read only while the program is built: what it runs
// with is made of it below.
struct Listed {
  static constexpr std::size_t kMaxFiles = 30;

  template <std::size_t N>
  constexpr Listed(std::string_view name, const std::string_view (&files)[N]) : name_(name), count_(N) {
    static_assert(N >= 1 && N <= kMaxFiles);
    std::copy(files, files + N, files_.begin());
  }

  constexpr std::string_view Name() const { return name_; }
  constexpr std::span<const std::string_view> Files() const { return {files_.data(), count_}; }

  std::string_view name_;
  std::array<std::string_view, kMaxFiles> files_{};
  std::size_t count_;
};

// In display order; each category's files in listing order, which is not
// always alphabetical.
constexpr std::array<Listed, kEffectCategoryCount> kCategories{{
    {"American_Effects", {"american_smoke_grenade.efx", "american_smoke_grenade_night.efx"}},
    {"Ammo_Effects", {"ammo_supply_exp.efx"}},
    {"Appliance_Effects", {"glow_latern.efx", "glow_moroccan_chainlamp.efx"}},
    {"Armored_Effects",
     {"armoredcar_explosion.efx", "armoredcar_fire_turret_large.efx", "armored_car_20mm.efx",
      "armored_car_overheat.efx"}},
    {"Artillery_Effects",
     {"artilleryExp_desert_building.efx", "artilleryExp_desert_yellow.efx", "artilleryExp_dirt_brown.efx",
      "artilleryExp_dirt_brown_nodecal.efx", "artilleryExp_dirt_libya.efx", "artilleryExp_duhoc_cliff.efx",
      "artilleryExp_duhoc_clifftop.efx", "artilleryExp_grass.efx"}},
    {"Atmosphere_Effects",
     {"lightning.efx", "meteor_shower.efx", "meteor_trail.efx", "wind_desert_leaves.efx"}},
    {"Barn_Effects", {"barn_explosion.efx"}},
    {"Barrel_Effects", {"barrelExp.efx", "barrel_fire.efx", "barrel_fire2.efx", "barrel_ignite.efx"}},
    {"Battlefield_Effects", {"battlefield_smokebank_S.efx"}},
    {"Beltot_Effects", {"beltot_wallblast.efx"}},
    {"Boat_Effects",
     {"boat_enginespray_higgins.efx", "boat_explosion.efx", "boat_floorsplash_higgens.efx",
      "boat_splash1_higgins.efx", "boat_splash_small_buffalo.efx", "boat_splash_small_higgins.efx"}},
    {"Brick_Effects",
     {"brick.efx", "brickimpact_em2.efx", "brick_spawn.efx", "brick_spawn_long.efx", "brick_spawn_short.efx",
      "brick_spot.efx"}},
    {"Building_Effects",
     {"building_fire_distant.efx", "building_fire_large.efx", "building_fire_med.efx",
      "building_fire_small.efx"}},
    {"Crate_Effects", {"crateExp_ammo.efx", "crateExp_dust.efx"}},
    {"Decal_Effects", {"decal_mudsplash.efx", "decal_mudsplash_large.efx", "decal_watersplat.efx"}},
    {"Demolition_Effects",
     {"demolition_dust_base.efx", "demolition_dust_base_after.efx", "demolition_dust_column.efx",
      "demolition_dust_puff.efx", "demolition_dust_side.efx", "demolition_windowBlast.efx"}},
    {"Distortion_Effects",
     {"distortion_playereffect_4k_heatwave.efx", "distortion_playereffect_6k_heatwave.efx",
      "distortion_tank_muzzleflash.efx"}},
    {"Dust_Atmosphere_Effects",
     {"dust.efx", "dust_door_ambush.efx", "dust_impact_16ftladder.efx", "dust_impact_med.efx",
      "dust_impact_small.efx", "dust_impact_small_duhoc.efx", "dust_silo_trail.efx",
      "dust_trail_explosion.efx", "dust_wind_brown.efx", "dust_wind_brown_thick.efx",
      "dust_wind_elalamein.efx", "dust_wind_elalamein_low.efx", "dust_wind_eldaba.efx",
      "dust_wind_night.efx"}},
    {"Elalamein_Effects", {"elalamein_trenchdust.efx"}},
    {"Eldaba_Effects",
     {"eldaba_boat_explosion.efx", "eldaba_plane_explosion.efx", "eldaba_tower_explosion.efx"}},
    {"Emitter_Weapons_Effects", {"emitter_panzerfaust.efx", "emitter_panzerschreck.efx"}},
    {"Explosion_Effects", {"dock_explosion.efx", "silo_explode.efx"}},
    {"Fire_Effects",
     {"fireheavysmoke.efx", "fire_airplane_emitter.efx", "fire_airplane_trail.efx", "fire_smoke_trail.efx",
      "flame_small_em.efx"}},
    {"Flak_Effects",
     {"flak88_explosion.efx", "flak_dust_blowback.efx", "flak_flash.efx", "flak_puff.efx",
      "flak_veirling_flash.efx", "flak_veirling_flash_view.efx"}},
    {"Flare_Effects",
     {"flare.efx", "flare_artillery_marker.efx", "flare_artillery_runner.efx", "flare_hill400.efx",
      "flare_smoke.efx", "flare_smoke_9sec.efx"}},
    {"Flesh_Effects", {"flesh_hit.efx", "flesh_hit_noblood.efx"}},
    {"Fog_Effects",
     {"fogbank_hidecliff_duhoc.efx", "fogbank_hidecliff_rhine.efx", "fogbank_large_duhoc.efx",
      "fogbank_small_beltot.efx", "fogbank_small_duhoc.efx"}},
    {"Footsteps_Effects",
     {"footstep_dust_brown.efx", "footstep_dust_credits.efx", "footstep_dust_decoy.efx",
      "footstep_dust_eldaba.efx", "footstep_dust_libya.efx", "footstep_mud.efx", "footstep_mud_beltot.efx",
      "footstep_mud_dark.efx", "footstep_snow.efx", "footstep_water.efx", "footstep_water_dark.efx"}},
    {"Froth_Effects", {"froth.efx", "froth_cargoship.efx"}},
    {"German_Helmet_Effects", {"germanhelmet_bounce.efx"}},
    {"Grenade_Effects",
     {"grenadeExp_blacktop.efx", "grenadeExp_cliffblast.efx", "grenadeExp_concrete.efx",
      "grenadeExp_concrete_night.efx", "grenadeExp_dirt.efx", "grenadeExp_dirt_night.efx",
      "grenadeExp_mud.efx", "grenadeExp_snow.efx", "grenadeExp_water.efx", "grenadeExp_water_rhine.efx",
      "grenadeExp_windowblast.efx", "grenadeExp_wood.efx", "grenade_flash.efx", "grenade_smoke.efx",
      "grenade_smoke_night.efx", "thermite_grenade.efx"}},
    {"Ground_Fire_Effects",
     {"ground_fire_med.efx", "ground_fire_med_nosmoke.efx", "ground_fire_small_oneshot.efx"}},
    {"Halftrack_Effects", {"halftrack_fire.efx"}},
    {"Heavy_Effects", {"heavy.efx", "heavy_view.efx"}},
    {"Human_Effects", {"cold_breath.efx"}},
    {"Impact_Effects", {"impact_em.efx", "impact_em_night.efx"}},
    {"Insects_Effects", {"insects_carcass_flies.efx"}},
    {"Large_Misc_Effects",
     {"large_brick.efx",
      "large_brick_night.efx",
      "large_dirt.efx",
      "large_dirthit_duhoc.efx",
      "large_dirthit_libya.efx",
      "large_dirthit_night.efx",
      "large_glass.efx",
      "large_gravel.efx",
      "large_metalhit.efx",
      "large_mud.efx",
      "large_mud_dark.efx",
      "large_plaster.efx",
      "large_plaster_night.efx",
      "large_rock.efx",
      "large_rock_night.efx",
      "large_smoke_plume.efx",
      "large_snowhit.efx",
      "large_snow_explode1.efx",
      "large_vehicle_explosion.efx",
      "large_waterhit.efx",
      "large_waterhit_rhine.efx",
      "large_woodhit.efx",
      "large_woodhit_higgens.efx",
      "large_woodhit_night.efx"}},
    {"Libya_Effects", {"libya_camera_dust.efx", "libya_tank_impact.efx"}},
    {"Mil_Effects", {"20mil_concrete.efx", "20mil_dirthit_libya.efx"}},
    {"Minefield_Effects", {"minefield.efx"}},
    {"Misc_Effects",
     {"cliff_dust_rocks_duhoc.efx",
      "cloth_hit.efx",
      "cloth_hit_daylight.efx",
      "cloud_finger_trail.efx",
      "bunker_cavein_duhoc.efx",
      "coolaidmanbrick.efx",
      "dark_smoke_trail.efx",
      "cruisader_flash.efx",
      "default_explosion.efx",
      "default_hit.efx",
      "default_hit_night.efx",
      "distant_grain.efx",
      "exp_pack_buildingwindow.efx",
      "exp_pack_doorbreach.efx",
      "exp_pack_hallway.efx",
      "drifting.efx",
      "med_oil_fire.efx",
      "mega_gravel.efx",
      "lighthaze_decoytown.efx",
      "missing_fx.efx",
      "plane_big_flash.efx",
      "pschreck_dirt_crossroads.efx",
      "piano_impact.efx",
      "matmata_plane_explosion.efx",
      "standardflashview.efx",
      "standardflashworld.efx",
      "spitfire_bomb_dirt.efx",
      "nebelwerfer_trail.efx",
      "sandbag_explosion.efx",
      "tincan_bounce.efx"}},
    {"Mm_Effects", {"20mm_metalhit.efx", "20 mm_wallexplode.efx"}},
    {"Mortar_Effects",
     {"mortarExp_beach.efx", "mortarExp_concrete.efx", "mortarExp_dirt.efx", "mortarExp_mud.efx",
      "mortarExp_water.efx", "mortarExp_water_rhine.efx", "mortar_flash.efx"}},
    {"Panzer_Weapons_Effects",
     {"panzer2_fire_turret_small.efx", "panzerfaust_flash.efx", "panzerschreck_flash.efx",
      "panzer_explosion.efx", "panzer_flash.efx"}},
    {"Pipe_Impact_Effects", {"pipe_impact.efx", "pipe_impact_light.efx"}},
    {"Radio_Effects", {"radio_explosion.efx", "radio_sparks_smoke.efx"}},
    {"Rain_Effects",
     {"rain_0.efx", "rain_1.efx", "rain_2.efx", "rain_3.efx", "rain_4.efx", "rain_5.efx", "rain_6.efx",
      "rain_7.efx", "rain_8.efx", "rain_9.efx", "rain_heavy.efx", "rain_heavy_cloudtype.efx",
      "rain_light.efx", "rain_mist.efx", "rain_splash.efx"}},
    {"Small_Effects", {"small_brick.efx",         "small_brick_night.efx",
                       "small_concrete.efx",      "small_concrete_night.efx",
                       "small_dirt.efx",          "small_dirthit_duhoc.efx",
                       "small_dirthit_libya.efx", "small_dirthit_night.efx",
                       "small_foliage.efx",       "small_glass.efx",
                       "small_grass.efx",         "small_gravel.efx",
                       "small_metalhit.efx",      "small_mud.efx",
                       "small_mud_dark.efx",      "small_rock.efx",
                       "small_snowhit.efx",       "small_vehicle_explosion.efx",
                       "small_waterhit.efx",      "small_waterhit_rhine.efx",
                       "small_woodhit.efx"}},
    {"Smoke_Effects",
     {"black_smoke_ball.efx",         "smoke_grenade.efx",           "smoke_grenade_duhoc_40sec.efx",
      "smoke_grenade_night.efx",      "smoke_panzerfaust.efx",       "smoke_panzerscrheck.efx",
      "smoke_panzerscrheck_view.efx", "smoke_plumeBG.efx",           "smoke_plumeBG_toujane.efx",
      "smoke_trail_mortar.efx",       "brit_smoke_grenade.efx",      "credits_smoke_shield.efx",
      "damaged_vehicle_smoke.efx",    "green_smoke_40sec_duhoc.efx", "orange_smoke_20sec.efx",
      "orange_smoke_40sec.efx",       "orange_smoke_grenade.efx",    "thin_black_smoke_M.efx",
      "thin_black_smoke_M_duhoc.efx", "thin_black_smoke_S.efx",      "thin_light_smoke_L.efx",
      "thin_light_smoke_L_duhoc.efx", "thin_light_smoke_M.efx",      "thin_light_smoke_M_duhoc.efx",
      "thin_light_smoke_S.efx"}},
    {"Snow_Effects",
     {"snowmist_em.efx", "snow_heavy.efx", "snow_impact_small.efx", "snow_light.efx",
      "snow_light_mp_downtown.efx", "snow_light_mp_railyard.efx", "snow_wind_cityhall.efx",
      "snow_wind_doorway.efx"}},
    {"Spot_Light_Effects", {"spotlight_credits.efx", "spotlight_decoytown.efx"}},
    {"Tank_Effects",
     {"tank_dust_blowback_libya.efx", "tank_dust_blowback_libya_em.efx", "tank_explosion.efx",
      "tank_explosion_libya.efx", "tank_explosion_libya_view.efx", "tank_fire_engine.efx",
      "tank_fire_libya_distant.efx", "tank_fire_night_distant.efx", "tank_fire_turret_large.efx",
      "tank_fire_turret_small.efx", "tank_impact_dirt.efx", "tank_impact_dirt_crossroads.efx",
      "tank_impact_libya.efx", "tank_impact_libya_nodecal.efx", "tank_impact_night.efx"}},
    {"Tiger_Effects", {"tiger_explosion.efx", "tiger_fire_turret_large.efx", "tiger_flash.efx"}},
    {"Toujane_Effects", {"toujane_tunnel_collapse.efx", "toujane_tunnel_collapse_trail.efx"}},
    {"Tracers_Effects",
     {"antiair_double_tracer.efx", "antiair_single_tracer.efx", "antiair_tracers.efx",
      "antiair_tracers2.efx"}},
    {"Tree_Effects", {"tree_burst.efx"}},
    {"Trench_Effects", {"trenchframe01_break.efx"}},
    {"Tunnel_Effects", {"tunnel_dust.efx", "tunnel_dust_duhoc.efx", "tunnel_dust_impact.efx"}},
    {"Vase_Effects", {"vase_water.efx"}},
    {"Vomit_Effects", {"vomit.efx"}},
    {"Wake_Effects", {"wake_buffalo.efx", "wake_higgins.efx"}},
    {"Wall_Effects",
     {"wallblast_dust_linger_grey.efx", "wall_impact_chimney_dirt.efx", "wall_impact_dirt.efx",
      "wall_impact_small_dirt.efx", "wall_tank_dust.efx"}},
    {"Weapon_Fire_Effects", {"crusader_fire_turret_large.efx"}},
    {"Weapons_Effects",
     {"german_mg.efx", "german_mg_view.efx", "german_smoke_grenade.efx", "pistol.efx", "pistolflash.efx",
      "pistolflash_view.efx", "rifle.efx", "rifleflash.efx", "rocket_launch.efx", "russian_mg.efx",
      "russian_mg_view.efx", "sherman_fire_turret_large.efx", "shotgun.efx", "shotgunflash.efx",
      "thompson.efx", "thompson_view.efx", "mg42hv_far.efx", "mg42hv_view.efx", "mg42hv_view2.efx"}},
    {"Wine_Effects", {"wine_bottle.efx"}},
}};

// What must hold of the table, checked when the program is built.

// Display order: letters without regard to case, the underscore below every letter.
constexpr int DisplayRank(char c) {
  if (c == '_') return 0;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 'a';
  return static_cast<unsigned char>(c);
}

constexpr bool InDisplayOrder(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return DisplayRank(x) < DisplayRank(y); });
}

constexpr bool NamesAreInDisplayOrder() {
  for (std::size_t i = 1; i < kCategories.size(); ++i) {
    const std::string_view before = kCategories[i - 1].Name();
    const std::string_view after = kCategories[i].Name();
    // Strictly ascending also means no name occurs twice; byte order agrees for these names.
    if (!InDisplayOrder(before, after) || !(before < after)) return false;
    if (!after.ends_with("_Effects")) return false;
  }
  return kCategories[0].Name().ends_with("_Effects");
}
static_assert(NamesAreInDisplayOrder());

constexpr std::size_t FileCount() {
  std::size_t count = 0;
  for (const Listed& category : kCategories) count += category.Files().size();
  return count;
}
static_assert(FileCount() == 351);

// Every file name ends in ".efx", and none belongs to two categories or occurs twice.
constexpr bool FilesAreWellFormed() {
  std::array<std::string_view, FileCount()> all{};
  std::size_t n = 0;
  for (const Listed& category : kCategories) {
    for (std::string_view file : category.Files()) {
      if (!file.ends_with(".efx")) return false;
      all[n++] = file;
    }
  }
  std::sort(all.begin(), all.end());
  return std::adjacent_find(all.begin(), all.end()) == all.end();
}
static_assert(FilesAreWellFormed());

// The names and files in one block of text, each a place and a length in it:
// plain bytes, where a table of views would be pointers for the loader to
// rewrite at every start, the commands that use no effect included.
constexpr std::size_t TextSize() {
  std::size_t size = 0;
  for (const Listed& category : kCategories) {
    size += category.Name().size();
    for (std::string_view file : category.Files()) size += file.size();
  }
  return size;
}

struct Place {
  std::uint16_t at;
  std::uint8_t size;
};

struct Packed {
  std::array<char, TextSize()> text{};
  std::array<Place, kEffectCategoryCount> names{};
  std::array<Place, FileCount()> files{};
  std::array<std::uint8_t, kEffectCategoryCount> fileCounts{};
};

constexpr Packed Pack() {
  Packed packed;
  std::size_t at = 0;
  const auto put = [&](std::string_view text) {
    std::copy(text.begin(), text.end(), packed.text.begin() + at);
    const Place place{static_cast<std::uint16_t>(at), static_cast<std::uint8_t>(text.size())};
    at += text.size();
    return place;
  };
  std::size_t file = 0;
  for (std::size_t i = 0; i < kCategories.size(); ++i) {
    packed.names[i] = put(kCategories[i].Name());
    packed.fileCounts[i] = static_cast<std::uint8_t>(kCategories[i].Files().size());
    for (std::string_view name : kCategories[i].Files()) packed.files[file++] = put(name);
  }
  return packed;
}

constexpr Packed kPacked = Pack();
static_assert(TextSize() <= UINT16_MAX);

// The views, made on first use.
struct Views {
  std::array<std::string_view, FileCount()> files;
  std::array<std::string_view, kEffectCategoryCount> names;
  std::array<EffectCategory, kEffectCategoryCount> categories;
};

const Views& TheViews() {
  static const Views views = [] {
    Views made{};
    const auto view = [](Place place) { return std::string_view(kPacked.text.data() + place.at, place.size); };
    for (std::size_t i = 0; i < made.files.size(); ++i) made.files[i] = view(kPacked.files[i]);
    std::size_t first = 0;
    for (std::size_t i = 0; i < made.categories.size(); ++i) {
      made.names[i] = view(kPacked.names[i]);
      made.categories[i] = EffectCategory(made.names[i], std::span(made.files).subspan(first, kPacked.fileCounts[i]));
      first += kPacked.fileCounts[i];
    }
    return made;
  }();
  return views;
}

}  // namespace

std::span<const EffectCategory> EffectCatalog() { return TheViews().categories; }

const std::array<std::string_view, kEffectCategoryCount>& EffectCategoryNames() { return TheViews().names; }

std::optional<std::string> FindEffectsListing(std::string_view text) {
  for (const EffectCategory& category : EffectCatalog()) {
    if (category.Name() != text) continue;
    std::string listing;
    for (std::string_view file : category.Files()) {
      if (!listing.empty()) listing += "\r\n";
      listing += file;
    }
    return listing;
  }
  return std::nullopt;
}

}  // namespace zorvin

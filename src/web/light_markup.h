// The markup of a level's light in the page's reference: its colour swatches
// and the drawing of its sun, as the core reads them, and its fields for the
// page's comparison. The page's script only moves this markup about.
#pragma once

#include <string>

#include "settings/level_catalog.h"

namespace zorvin::web {

// The drawing every sun drawing uses: the horizon, rings at 30 and 60 degrees
// of height, and the yaw's quarters (an SVG group, id "compass", that each
// drawing uses).
std::string CompassSymbol();

// <div class="light">: a swatch per colour field the level has, and its sun.
std::string LightFigure(const LevelEntry& entry);

// <dl class="fields" hidden>: each field the level has (the braces aside),
// its label and value, with its index in the record and its numbers in one
// form (data-field, data-numbers), for comparing two levels.
std::string FieldList(const LevelEntry& entry);

// <div class="map-keys" hidden>: the level's keys as a map source holds
// them (zorvin level NAME --format map), for "Copy as map keys".
std::string MapKeyText(const LevelEntry& entry);

// <ul id="map-keys" hidden>: each worldspawn key a map may hold for a field
// (data-key, in lower case), its field's index (data-field) and the label a
// map's field is shown under, for reading "Your map" in the page.
std::string MapKeyList();

}  // namespace zorvin::web

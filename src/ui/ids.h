// Identifiers shared by the windows, the resources and the tests.
#pragma once

#include "ui/resource_ids.h"

namespace zorvin::ui {

// Resources (see src/app/resources.rc).
inline constexpr int kIconApp = ZORVIN_IDI_APP;
inline constexpr int kPictureSettingsBackground = ZORVIN_IDR_SETTINGS_BACKGROUND;

// Menu commands. Kept clear of IDOK and IDCANCEL, which dialog navigation
// sends for Enter and Esc, and of the control ids.
inline constexpr int kCmdEffectsList = 1001;         // settings window: "&Effects List"
inline constexpr int kCmdWorldspawnSettings = 1101;  // effects window: "Worldspawn Settings"
inline constexpr int kCmdExit = 1102;                // effects window: "&Exit"
inline constexpr int kCmdAbout = 1103;               // effects window: "&About"

}  // namespace zorvin::ui

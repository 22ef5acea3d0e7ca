// Identifiers shared by the windows, the resources and the tests.
#pragma once

#include "ui/resource_ids.h"

namespace zorvin::ui {

// Resources (see src/app/resources.rc).
inline constexpr int kIconApp = ZORVIN_IDI_APP;
inline constexpr int kPictureForm1Background = ZORVIN_IDR_FORM1_BACKGROUND;

// Menu commands. Kept clear of IDOK and IDCANCEL, which dialog navigation
// sends for Enter and Esc.
inline constexpr int kCmdEffectsList = 1001;         // Form1: "&Effects List"
inline constexpr int kCmdWorldspawnSettings = 1101;  // frmZorvinEfx: "Worldspawn Settings"
inline constexpr int kCmdExit = 1102;                // frmZorvinEfx: "&Exit"
inline constexpr int kCmdAbout = 1103;               // frmZorvinEfx: "&About"

}  // namespace zorvin::ui

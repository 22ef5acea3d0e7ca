/* Resource identifiers, shared by the resource script and the code: plain
   macros, since the resource compiler reads this file too. */
#pragma once

#define ZORVIN_IDI_APP 1
#define ZORVIN_IDR_SETTINGS_BACKGROUND 101

// How different two colours look: CIELAB under D65, and CIEDE2000 (Sharma,
// Wu and Dalal, 2005).
#pragma once

#include <cstdint>

namespace zorvin::preview {

struct Lab {
  double l, a, b;
};

// An 8-bit sRGB colour in CIELAB, white point (0.95047, 1, 1.08883).
Lab LabOf(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

double Ciede2000(const Lab& first, const Lab& second);

}  // namespace zorvin::preview

// A picture as a PNG file's bytes: 8-bit RGB, no other chunks.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace zorvin::png {

// width × height pixels, 3 bytes each, row by row from the top. Throws
// std::bad_alloc when memory runs out.
std::string Encode(std::span<const std::uint8_t> rgb, int width, int height);

}  // namespace zorvin::png

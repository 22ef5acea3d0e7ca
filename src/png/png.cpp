// stb_image_write lays out the file; zlib deflates it, ten times faster than
// stb's own deflate, at level 1 (a preview compresses well at any level).
#include "png/png.h"

#include <zlib.h>

#include <cstdlib>
#include <new>

namespace {

unsigned char* Deflate(unsigned char* data, int size, int* written, int /*quality*/) {
  uLongf bound = compressBound(static_cast<uLong>(size));
  auto* out = static_cast<unsigned char*>(std::malloc(bound));
  if (out == nullptr) return nullptr;
  if (compress2(out, &bound, data, static_cast<uLong>(size), 1) != Z_OK) {
    std::free(out);
    return nullptr;
  }
  *written = static_cast<int>(bound);
  return out;
}

}  // namespace

#define STBIW_ZLIB_COMPRESS Deflate
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Weverything"
#elif defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wconversion"
#pragma GCC diagnostic ignored "-Wsign-conversion"
#pragma GCC diagnostic ignored "-Wold-style-cast"
#pragma GCC diagnostic ignored "-Wuseless-cast"
#pragma GCC diagnostic ignored "-Wcast-qual"
#pragma GCC diagnostic ignored "-Wdouble-promotion"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wunused-function"
#endif
#include <stb_image_write.h>
#if defined(__clang__)
#pragma clang diagnostic pop
#elif defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace zorvin::png {

std::string Encode(std::span<const std::uint8_t> rgb, int width, int height) {
  std::string bytes;
  const auto append = [](void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<std::size_t>(size));
  };
  // One filter for every row, each pixel less the one above: a smooth picture
  // compresses about as well as with the best of five tried on each row.
  stbi_write_force_png_filter = 2;
  if (stbi_write_png_to_func(append, &bytes, width, height, 3, rgb.data(), width * 3) == 0) throw std::bad_alloc();
  return bytes;
}

}  // namespace zorvin::png

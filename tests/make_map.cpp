// Writes a map source of about the size asked for, made up here (no game's
// files): a header, a worldspawn with a few keys and many brushes and
// patches, and light entities with their own _color. The same arguments give
// the same bytes.
//   make_map MEGABYTES FILE [--crlf]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: make_map MEGABYTES FILE [--crlf]\n");
    return 2;
  }
  const unsigned long long size = std::strtoull(argv[1], nullptr, 10) << 20;
  const char* eol = argc > 3 && std::strcmp(argv[3], "--crlf") == 0 ? "\r\n" : "\n";
  std::FILE* out = std::fopen(argv[2], "wb");
  if (out == nullptr) {
    std::perror(argv[2]);
    return 1;
  }
  static char buffer[1 << 20];
  std::setvbuf(out, buffer, _IOFBF, sizeof buffer);
  unsigned long long written = 0;
  const auto put = [&](const std::string& line) {
    std::fputs(line.c_str(), out);
    std::fputs(eol, out);
    written += line.size() + std::strlen(eol);
  };
  put("iwmap 4");
  put("// entity 0");
  put("{");
  put("\"classname\" \"worldspawn\"");
  put("\"_color\" \"0.5 0.5 0.5\"");
  put("\"sunlight\" \"1\"");
  put("\"contrastgain\" \".3\"");
  char line[512];
  unsigned brush = 0;
  while (written < size) {
    const int x = static_cast<int>(brush % 4096) * 8, y = static_cast<int>(brush / 4096 % 4096) * 8;
    std::snprintf(line, sizeof line, "// brush %u", brush);
    put(line);
    put("{");
    if (brush % 16 == 15) {
      put(" patchDef2");
      put(" {");
      put("  \"textures/common/caulk\"");
      put("  ( 3 3 0 0 0 )");
      for (int row = 0; row < 3; ++row) {
        std::snprintf(line, sizeof line, "  ( ( %d %d 0 0 0 ) ( %d %d 8 0.5 0 ) ( %d %d 16 1 0 ) )", x, y + row * 8, x + 4,
                      y + row * 8, x + 8, y + row * 8);
        put(line);
      }
      put(" }");
    } else {
      for (int side = 0; side < 6; ++side) {
        std::snprintf(line, sizeof line,
                      " ( %d %d %d ) ( %d %d %d ) ( %d %d %d ) caulk 64 64 0 0 0 0 lightmap_gray 16384 16384 0 0 0 0",
                      x + side, y, 0, x + 8, y + side, 0, x, y + 8, side * 8);
        put(line);
      }
    }
    put("}");
    ++brush;
  }
  put("}");
  for (int light = 0; light < 8; ++light) {
    std::snprintf(line, sizeof line, "// entity %d", light + 1);
    put(line);
    put("{");
    put("\"classname\" \"light\"");
    put("\"_color\" \"1 0.8 0.6\"");
    std::snprintf(line, sizeof line, "\"origin\" \"%d 0 128\"", light * 64);
    put(line);
    put("}");
  }
  if (std::fclose(out) != 0) {
    std::perror(argv[2]);
    return 1;
  }
  return 0;
}

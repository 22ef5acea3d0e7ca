// What reading a map source takes, for map_commands.cpp and apply: its head
// (the bytes up to the worldspawn's first brush), and how a map is named in
// messages and refused.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "cli/outcome.h"
#include "file/user_file.h"
#include "map/map_source.h"

namespace zorvin::cli {

// How much of a map is read at a time past its head.
inline constexpr std::size_t kChunk = std::size_t{1} << 20;

// The map as messages name it.
std::string MapName(std::string_view path);

// A map that cannot be read, or is no map source: status kBadMap, naming it
// (with the line and column a fault was found at).
Failure BadMap(std::string_view path, const std::string& what);
Failure BadMap(std::string_view path, const map::MapError& error);

// The last part of a path: what stands where a level's name would.
std::string FileName(std::string_view path);

// A map read up to its worldspawn's first brush, or whole.
struct Head {
  std::string bytes;
  bool wholeFile = false;
};

// Reads into head until the worldspawn's keys have gone past, and then on
// until lines more lines follow them (for a diff's context), or 1 MB more
// has been read.
void ReadHead(file::Input& input, map::Reader& reader, Head& head, std::size_t lines = 0);

}  // namespace zorvin::cli

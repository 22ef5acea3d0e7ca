// What a path names, and a folder's entries: for zorvin check's walk. Names
// are UTF-8, as every path zorvin is given.
#pragma once

#include <string>
#include <vector>

namespace zorvin::file {

// What stands at a path, links followed: nothing (or a link to nothing), a
// folder, or something else (a file, a device...).
enum class Kind { missing, folder, other };
Kind KindOf(const std::string& path);

struct FolderEntry {
  std::string name;  // the entry's own name, no folder before it
  // A folder reached through a link (a symbolic link, or a junction on
  // Windows) is a link: a walk does not follow it, so a link to a folder
  // above cannot walk it for ever. A link to a file is a file.
  enum class Kind { file, folder, link, other } kind;
};

// The entries of a folder, without "." and "..", in the order the system
// gives them; none when it cannot be read.
std::vector<FolderEntry> ReadFolder(const std::string& path);

}  // namespace zorvin::file

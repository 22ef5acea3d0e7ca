// A folder's entries through opendir and fstatat.
#include "file/folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace zorvin::file {

Kind KindOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return Kind::missing;
  return S_ISDIR(info.st_mode) ? Kind::folder : Kind::other;
}

std::vector<FolderEntry> ReadFolder(const std::string& path) {
  std::vector<FolderEntry> entries;
  DIR* folder = ::opendir(path.c_str());
  if (folder == nullptr) return entries;
  const int descriptor = ::dirfd(folder);
  while (const dirent* entry = ::readdir(folder)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat info {};
    FolderEntry::Kind kind = FolderEntry::Kind::other;
    if (::fstatat(descriptor, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0) {
      if (S_ISLNK(info.st_mode)) {
        struct stat target {};
        const bool reached = ::fstatat(descriptor, entry->d_name, &target, 0) == 0;
        kind = !reached ? FolderEntry::Kind::other
               : S_ISDIR(target.st_mode) ? FolderEntry::Kind::link
               : S_ISREG(target.st_mode) ? FolderEntry::Kind::file
                                         : FolderEntry::Kind::other;
      } else {
        kind = S_ISDIR(info.st_mode) ? FolderEntry::Kind::folder
               : S_ISREG(info.st_mode) ? FolderEntry::Kind::file
                                       : FolderEntry::Kind::other;
      }
    }
    entries.push_back({name, kind});
  }
  ::closedir(folder);
  return entries;
}

}  // namespace zorvin::file

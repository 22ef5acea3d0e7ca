// zorvin check's reading: the files a PATH names (a folder walked in name
// order, its hidden files, backups and binary files skipped), each read in
// chunks, line by line, for the effect names it refers to; and the
// designer's own effects under --effects folders.
#pragma once

#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

#include "cli/outcome.h"
#include "file/user_file.h"
#include "references/effect_names.h"

namespace zorvin::cli {

// A problem found, small: its file's name and its name and verdict are
// held once, in the scan.
struct Problem {
  const std::string* file;  // as the path was given, a folder's files under it with '/'
  std::uint64_t line;
  std::size_t column, endColumn;
  std::uint64_t begin, end;  // the name's bytes in the file
  const std::string* name;
  const references::Verdict* verdict;
};

// Names looked up as they stand in a line, without a copy.
struct NameHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
};

struct Scan {
  std::deque<std::string> fileNames;  // of the files with problems
  std::unordered_map<std::string, references::Verdict, NameHash, std::equal_to<>> judged;  // each name met, judged once
  std::vector<Problem> problems;  // in the files' order, then the lines'
  std::unordered_map<const std::string*, file::Input::Stamp> stamps;  // of each file with problems, as it was read
  std::size_t files = 0;          // checked
  std::size_t references = 0;
  std::size_t skipped = 0;        // in folders: hidden, backups, not text
  Lines unreadable;               // "PATH cannot be read: ..."
};

// Each PATH's files checked; a PATH that does not exist is a usage error.
std::variant<Scan, Failure> ScanPaths(std::span<const std::string> paths, const references::EffectNames& names);

// The file names ending in .efx under each folder, at any depth, in name order.
std::variant<std::vector<std::string>, Failure> OwnEffects(std::span<const std::string> folders);

}  // namespace zorvin::cli

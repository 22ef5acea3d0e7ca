// Setting keys in a map source's worldspawn, every other byte kept: a key
// the worldspawn has (in any case) keeps its spelling, its place and its
// line's spacing, and only its value changes; a key it lacks gets a line of
// its own after its last key line, with the file's line ending. Standard C++
// only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "map/map_source.h"

namespace zorvin::map {

// A key to set, spelt as it is added where the worldspawn lacks it.
struct Setting {
  std::string key;
  std::string value;
};

// Bytes [begin, end) of the file replaced by text (an insertion where begin == end).
struct Edit {
  std::uint64_t begin, end;
  std::string text;
};

enum class Done { set, added, same };

struct KeyDone {
  std::string key;
  std::string value;
  Done done;
  std::string old;  // the value it replaced (the first it replaced, where the key stands twice)
};

struct Plan {
  std::vector<Edit> edits;  // in the file's order
  std::vector<KeyDone> keys;
  bool Changes() const { return !edits.empty(); }
};

// The edits that set each key in the worldspawn the reader has read, head
// being the file's bytes from its start to at least the reader's HeadEnd.
Plan PlanSettings(const Reader& reader, std::string_view head, const std::vector<Setting>& settings);

// bytes, which start at the file's offset `at`, with the edits that fall in
// them made.
std::string Edited(std::string_view bytes, std::uint64_t at, const std::vector<Edit>& edits);

// The edits as a unified diff with three lines of context ("--- name",
// "+++ name", "@@ -a,b +c,d @@"), one line each without its line end. head
// holds the file's start with at least three lines past the last edit, or
// the whole file (wholeFile).
std::vector<std::string> UnifiedDiff(std::string_view name, std::string_view head, bool wholeFile,
                                     const std::vector<Edit>& edits);

}  // namespace zorvin::map

// The stock levels: the texts of the level drop-down, and the catalog of each
// level's worldspawn settings and block layout.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "settings/settings_record.h"

namespace zorvin {

struct FieldValue {
  Field field;
  FixedText<31> value;
};

// One stock level: its name, the layout of its block, and the values it
// assigns, in assignment order. Fields its layout shows but that it does not
// assign stay empty.
class LevelEntry {
 public:
  static constexpr std::size_t kMaxValues = 10;

  template <std::size_t K, std::size_t N>
  constexpr LevelEntry(const char (&key)[K], BlockLayout layout, const FieldValue (&values)[N])
      : key_(key), layout_(layout), count_(N) {
    static_assert(N <= kMaxValues);
    std::copy(values, values + N, values_.begin());
  }

  constexpr std::string_view Key() const { return key_; }
  constexpr const BlockLayout& Layout() const { return layout_; }
  constexpr std::span<const FieldValue> Values() const { return {values_.data(), count_}; }

 private:
  // Held in place, so that the catalog is plain bytes (see fixed_text.h).
  FixedText<23> key_;
  BlockLayout layout_;
  std::array<FieldValue, kMaxValues> values_{};
  unsigned char count_;
};

// The item of the level drop-down that heads the single-player levels.
inline constexpr std::string_view kSinglePlayerHeading = "--SP_LEVELS--";

// Whether an item of the level drop-down names no level: its two empty items
// and the heading.
constexpr bool IsSpacerItem(std::string_view item) { return item.empty() || item == kSinglePlayerHeading; }

// The 42 texts of the level drop-down, in display order, including the two
// empty items and the kSinglePlayerHeading separator.
std::span<const std::string_view> LevelListItems();

// All 40 catalog entries, in catalog order.
std::span<const LevelEntry> LevelCatalog();

// The entry whose key equals text exactly (same length, same characters, case
// counts, no trimming), or nullptr.
const LevelEntry* FindLevel(std::string_view text);

// Clears the record, then assigns "{", the entry's values in its order, and "}".
void FillRecord(SettingsClass& record, const LevelEntry& entry);

// The entry's block, from a record of its own filled and rendered with the
// entry's layout: what the settings window shows after finding the entry.
std::string LevelBlock(const LevelEntry& entry);

// The block of the level whose key equals text exactly (as FindLevel), or
// std::nullopt when there is none. For every caller but the settings window,
// which keeps its own record.
std::optional<std::string> FindLevelBlock(std::string_view text);

}  // namespace zorvin

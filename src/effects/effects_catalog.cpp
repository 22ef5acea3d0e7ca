#include "effects/effects_catalog.h"

#include <cstdint>

#include "effects/effects_table.h"

namespace zorvin {
namespace {

// What must hold of the table, checked when the program is built.

// Display order: letters without regard to case, the underscore below every letter.
constexpr int DisplayRank(char c) {
  if (c == '_') return 0;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 'a';
  return static_cast<unsigned char>(c);
}

constexpr bool InDisplayOrder(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return DisplayRank(x) < DisplayRank(y); });
}

constexpr bool NamesAreInDisplayOrder() {
  for (std::size_t i = 1; i < kCategories.size(); ++i) {
    const std::string_view before = kCategories[i - 1].Name();
    const std::string_view after = kCategories[i].Name();
    // Strictly ascending also means no name occurs twice; byte order agrees for these names.
    if (!InDisplayOrder(before, after) || !(before < after)) return false;
    if (!after.ends_with("_Effects")) return false;
  }
  return kCategories[0].Name().ends_with("_Effects");
}
static_assert(NamesAreInDisplayOrder());

constexpr std::size_t FileCount() {
  std::size_t count = 0;
  for (const Listed& category : kCategories) count += category.Files().size();
  return count;
}
static_assert(FileCount() == 351);

// Every file name ends in ".efx", and none belongs to two categories or occurs twice.
constexpr bool FilesAreWellFormed() {
  std::array<std::string_view, FileCount()> all{};
  std::size_t n = 0;
  for (const Listed& category : kCategories) {
    for (std::string_view file : category.Files()) {
      if (!file.ends_with(".efx")) return false;
      all[n++] = file;
    }
  }
  std::sort(all.begin(), all.end());
  return std::adjacent_find(all.begin(), all.end()) == all.end();
}
static_assert(FilesAreWellFormed());

// The names and files in one block of text, each a place and a length in it:
// plain bytes, where a table of views would be pointers for the loader to
// rewrite at every start, the commands that use no effect included.
constexpr std::size_t TextSize() {
  std::size_t size = 0;
  for (const Listed& category : kCategories) {
    size += category.Name().size();
    for (std::string_view file : category.Files()) size += file.size();
  }
  return size;
}

struct Place {
  std::uint16_t at;
  std::uint8_t size;
};

struct Packed {
  std::array<char, TextSize()> text{};
  std::array<Place, kEffectCategoryCount> names{};
  std::array<Place, FileCount()> files{};
  std::array<std::uint8_t, kEffectCategoryCount> fileCounts{};
};

constexpr Packed Pack() {
  Packed packed;
  std::size_t at = 0;
  const auto put = [&](std::string_view text) {
    std::copy(text.begin(), text.end(), packed.text.begin() + at);
    const Place place{static_cast<std::uint16_t>(at), static_cast<std::uint8_t>(text.size())};
    at += text.size();
    return place;
  };
  std::size_t file = 0;
  for (std::size_t i = 0; i < kCategories.size(); ++i) {
    packed.names[i] = put(kCategories[i].Name());
    packed.fileCounts[i] = static_cast<std::uint8_t>(kCategories[i].Files().size());
    for (std::string_view name : kCategories[i].Files()) packed.files[file++] = put(name);
  }
  return packed;
}

constexpr Packed kPacked = Pack();
static_assert(TextSize() <= UINT16_MAX);

// The views, made on first use.
struct Views {
  std::array<std::string_view, FileCount()> files;
  std::array<std::string_view, kEffectCategoryCount> names;
  std::array<EffectCategory, kEffectCategoryCount> categories;
};

const Views& TheViews() {
  static const Views views = [] {
    Views made{};
    const auto view = [](Place place) { return std::string_view(kPacked.text.data() + place.at, place.size); };
    for (std::size_t i = 0; i < made.files.size(); ++i) made.files[i] = view(kPacked.files[i]);
    std::size_t first = 0;
    for (std::size_t i = 0; i < made.categories.size(); ++i) {
      made.names[i] = view(kPacked.names[i]);
      made.categories[i] = EffectCategory(made.names[i], std::span(made.files).subspan(first, kPacked.fileCounts[i]));
      first += kPacked.fileCounts[i];
    }
    return made;
  }();
  return views;
}

}  // namespace

std::span<const EffectCategory> EffectCatalog() { return TheViews().categories; }

const std::array<std::string_view, kEffectCategoryCount>& EffectCategoryNames() { return TheViews().names; }

std::optional<std::string> FindEffectsListing(std::string_view text) {
  for (const EffectCategory& category : EffectCatalog()) {
    if (category.Name() != text) continue;
    std::string listing;
    for (std::string_view file : category.Files()) {
      if (!listing.empty()) listing += "\r\n";
      listing += file;
    }
    return listing;
  }
  return std::nullopt;
}

}  // namespace zorvin

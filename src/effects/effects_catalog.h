// The stock effects: 66 effect categories, each with the names of its ".efx" files.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zorvin {

// One category: its name and its effect file names in listing order.
class EffectCategory {
 public:
  constexpr EffectCategory() = default;
  constexpr EffectCategory(std::string_view name, std::span<const std::string_view> files)
      : name_(name), files_(files) {}

  constexpr std::string_view Name() const { return name_; }
  constexpr std::span<const std::string_view> Files() const { return files_; }

 private:
  std::string_view name_;
  std::span<const std::string_view> files_;
};

inline constexpr std::size_t kEffectCategoryCount = 66;

// All categories, in display order.
std::span<const EffectCategory> EffectCatalog();

// The 66 category names in display order: ascending, letters compared without
// regard to case, the underscore ranking below every letter.
const std::array<std::string_view, kEffectCategoryCount>& EffectCategoryNames();

// The listing of the category whose name equals text exactly: its file names
// joined by CR LF, none after the last. No category of that name gives
// std::nullopt, which is not the same as an empty listing.
std::optional<std::string> FindEffectsListing(std::string_view text);

}  // namespace zorvin

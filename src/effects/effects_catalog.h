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
  static constexpr std::size_t kMaxFiles = 30;

  template <std::size_t N>
  constexpr EffectCategory(std::string_view name, const std::string_view (&files)[N])
      : name_(name), count_(N) {
    static_assert(N >= 1 && N <= kMaxFiles);
    std::copy(files, files + N, files_.begin());
  }

  constexpr std::string_view Name() const { return name_; }
  constexpr std::span<const std::string_view> Files() const { return {files_.data(), count_}; }

 private:
  std::string_view name_;
  std::array<std::string_view, kMaxFiles> files_{};
  std::size_t count_;
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

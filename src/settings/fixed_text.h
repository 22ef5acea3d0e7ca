// A short text held in the object itself, not pointed to: a table of them is
// plain bytes, which the program maps read-only from its file as it stands,
// where a table of pointers is rewritten by the loader at every start (a
// page copied for each page of pointers).
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>
#include <type_traits>

namespace zorvin {

template <std::size_t N>
class FixedText {
  static_assert(N < 256, "the length is kept in one byte");

 public:
  constexpr FixedText() = default;

  // A literal longer than N does not compile.
  template <std::size_t M>
  constexpr FixedText(const char (&text)[M]) : FixedText(std::string_view(text, M - 1)) {  // NOLINT: a literal converts
    static_assert(M - 1 <= N, "the text is longer than its room");
  }

  constexpr std::string_view View() const { return {chars_.data(), size_}; }
  constexpr operator std::string_view() const { return View(); }  // NOLINT: read wherever a view is
  constexpr bool empty() const { return size_ == 0; }
  constexpr std::size_t size() const { return size_; }

  friend constexpr bool operator==(const FixedText& a, const FixedText& b) { return a.View() == b.View(); }
  // A view or a literal, compared as it stands (a literal not made a FixedText first).
  template <typename Text>
    requires(std::is_convertible_v<const Text&, std::string_view> && !std::is_same_v<Text, FixedText>)
  friend constexpr bool operator==(const FixedText& a, const Text& b) {
    return a.View() == std::string_view(b);
  }

 private:
  constexpr explicit FixedText(std::string_view text) : size_(static_cast<unsigned char>(text.size())) {
    std::copy(text.begin(), text.end(), chars_.begin());
  }

  std::array<char, N> chars_{};
  unsigned char size_ = 0;
};

}  // namespace zorvin

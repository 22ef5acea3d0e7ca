// The effects a reference may name: the stock effects, exactly as the
// catalog has them, and the designer's own (--effects); and what a name that
// is none of them is: another's in the wrong case, or unknown, with the
// nearest names. Standard C++ only.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace zorvin::references {

struct Verdict {
  enum class Kind { known, wrongCase, unknown } kind = Kind::known;
  // wrongCase: the one name as it is written; unknown: up to three, nearest first.
  std::vector<std::string> suggestions;
  bool stock = true;     // wrongCase: whether the name as written is a stock effect's
  bool mendable = false; // wrongCase, or unknown with one suggestion nearer than the next
};

class EffectNames {
 public:
  // The stock effects in catalog order, then the designer's in the order found.
  explicit EffectNames(std::vector<std::string> own = {});

  Verdict Judge(std::string_view name) const;
  std::size_t StockCount() const { return stockCount_; }

 private:
  std::vector<std::string> names_;  // stock, then own; each once
  std::size_t stockCount_ = 0;
  std::unordered_set<std::string> exact_;
  std::unordered_map<std::string, std::vector<std::size_t>> folded_;  // lower case -> names_
};

// The restricted Damerau-Levenshtein distance (adjacent letters swapped cost
// 1) of two texts, case ignored, in code points.
std::size_t EditDistance(std::string_view a, std::string_view b);

}  // namespace zorvin::references

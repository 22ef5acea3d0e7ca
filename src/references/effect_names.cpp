#include "references/effect_names.h"

#include <algorithm>
#include <numeric>

#include "effects/effects_catalog.h"

namespace zorvin::references {
namespace {

std::string Folded(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  }
  return folded;
}

// The code points of UTF-8 text, ASCII letters folded; a byte that starts
// no well-formed sequence counts as one.
std::u32string CodePointsOf(std::string_view text) {
  std::u32string points;
  for (std::size_t at = 0; at < text.size();) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    char32_t point = length == 1 ? lead : lead & (0x3F >> (length - 1));
    std::size_t taken = 1;
    for (; taken < length && at + taken < text.size(); ++taken) {
      const auto next = static_cast<unsigned char>(text[at + taken]);
      if ((next & 0xC0) != 0x80) break;
      point = (point << 6) | (next & 0x3F);
    }
    if (taken < length) point = lead, taken = 1;
    if (point >= 'A' && point <= 'Z') point += 'a' - 'A';
    points.push_back(point);
    at += taken;
  }
  return points;
}

std::string_view Stem(std::string_view name) { return name.size() >= 4 ? name.substr(0, name.size() - 4) : name; }

}  // namespace

std::size_t EditDistance(std::string_view first, std::string_view second) {
  const std::u32string a = CodePointsOf(first), b = CodePointsOf(second);
  // Three rows of the table: two back, one back, this one.
  std::vector<std::size_t> before(b.size() + 1), last(b.size() + 1), row(b.size() + 1);
  std::iota(last.begin(), last.end(), std::size_t{0});
  for (std::size_t i = 1; i <= a.size(); ++i) {
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
      row[j] = std::min({last[j] + 1, row[j - 1] + 1, last[j - 1] + cost});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) row[j] = std::min(row[j], before[j - 2] + 1);
    }
    std::swap(before, last);
    std::swap(last, row);
  }
  return last[b.size()];
}

EffectNames::EffectNames(std::vector<std::string> own) {
  const auto add = [&](std::string name) {
    if (!exact_.insert(name).second) return;
    folded_[Folded(name)].push_back(names_.size());
    names_.push_back(std::move(name));
  };
  for (const EffectCategory& category : EffectCatalog()) {
    for (const std::string_view file : category.Files()) add(std::string(file));
  }
  stockCount_ = names_.size();
  for (std::string& name : own) add(std::move(name));
}

Verdict EffectNames::Judge(std::string_view name) const {
  if (exact_.contains(std::string(name))) return {};
  const auto same = folded_.find(Folded(name));
  if (same != folded_.end() && same->second.size() == 1) {
    const std::size_t known = same->second.front();
    return {Verdict::Kind::wrongCase, {names_[known]}, known < stockCount_, true};
  }
  // The nearest within max(2, a quarter of the typed stem's length), ties in the names' order.
  const std::string_view stem = Stem(name);
  const std::size_t reach = std::max<std::size_t>(2, CodePointsOf(stem).size() / 4);
  std::vector<std::pair<std::size_t, std::size_t>> near;  // distance, index
  for (std::size_t i = 0; i < names_.size(); ++i) {
    const std::size_t distance = EditDistance(stem, Stem(names_[i]));
    if (distance <= reach) near.emplace_back(distance, i);
  }
  std::stable_sort(near.begin(), near.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
  Verdict verdict{Verdict::Kind::unknown, {}, true, !near.empty() && (near.size() == 1 || near[0].first < near[1].first)};
  for (std::size_t k = 0; k < near.size() && k < 3; ++k) verdict.suggestions.push_back(names_[near[k].second]);
  return verdict;
}

}  // namespace zorvin::references

#include "cli/text.h"

#include <algorithm>
#include <utility>

namespace zorvin::cli {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringCase(char x, char y) { return Lower(x) == Lower(y); }

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), SameIgnoringCase);
}

}  // namespace

bool IsUtf8(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size()) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    char32_t code = 0;
    if (lead < 0x80) {
      ++at;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, code = lead & 0x07;
    } else {
      return false;
    }
    if (text.size() - at < length) return false;
    for (std::size_t i = 1; i < length; ++i) {
      const auto next = static_cast<unsigned char>(text[at + i]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < least[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return false;
    at += length;
  }
  return true;
}

bool ContainsIgnoringCase(std::string_view text, std::string_view part) {
  return std::search(text.begin(), text.end(), part.begin(), part.end(), SameIgnoringCase) != text.end();
}

std::size_t EditDistance(std::string_view a, std::string_view b) {
  // One row of the distance table at a time: row[j] is the distance from
  // a's first i characters to b's first j.
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (SameIgnoringCase(a[i - 1], b[j - 1]) ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

std::vector<std::string_view> Nearest(std::string_view text, std::span<const std::string_view> names) {
  constexpr std::size_t kLongestText = 64;
  constexpr std::size_t kMostSuggested = 3;
  if (text.empty() || text.size() > kLongestText) return {};
  // A name that differs only in case is the one meant.
  for (std::string_view name : names) {
    if (EqualIgnoringCase(name, text)) return {name};
  }
  // The names that hold the text, in their order; then the near misses.
  std::vector<std::string_view> suggested;
  for (std::string_view name : names) {
    if (!name.empty() && ContainsIgnoringCase(name, text)) suggested.push_back(name);
  }
  const std::size_t reach = std::max<std::size_t>(2, text.size() / 4);
  std::vector<std::pair<std::size_t, std::string_view>> near;
  for (std::string_view name : names) {
    if (name.empty() || std::find(suggested.begin(), suggested.end(), name) != suggested.end()) continue;
    const std::size_t distance = EditDistance(text, name);
    if (distance <= reach) near.emplace_back(distance, name);
  }
  std::stable_sort(near.begin(), near.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [distance, name] : near) suggested.push_back(name);
  if (suggested.size() > kMostSuggested) suggested.resize(kMostSuggested);
  return suggested;
}

std::string DidYouMean(std::string_view text, std::span<const std::string_view> names) {
  const std::vector<std::string_view> nearest = Nearest(text, names);
  std::string said;
  for (std::size_t i = 0; i < nearest.size(); ++i) {
    said += i == 0 ? "; did you mean " : (i + 1 == nearest.size() ? " or " : ", ");
    said += "'" + std::string(nearest[i]) + "'";
  }
  return nearest.empty() ? said : said + "?";
}

std::string Escaped(std::string_view text, std::size_t longest) {
  constexpr char kHex[] = "0123456789abcdef";
  std::string escaped;
  std::size_t characters = 0;
  for (std::size_t at = 0; at < text.size();) {
    if (characters++ == longest) return escaped + "...";
    // One character: its UTF-8 sequence when well-formed, else one byte.
    std::size_t length = 1;
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead >= 0x80) {
      length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
      if (at + length > text.size() || !IsUtf8(text.substr(at, length))) length = 1;
    }
    const std::string_view character = text.substr(at, length);
    at += length;
    const bool control = lead < 0x20 || lead == 0x7F || (lead == 0xC2 && length == 2 &&
                                                         static_cast<unsigned char>(character[1]) < 0xA0);
    if (!control && (lead < 0x80 || length > 1)) {
      escaped += character;
      continue;
    }
    for (const char c : character) {
      const auto byte = static_cast<unsigned char>(c);
      escaped += {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
    }
  }
  return escaped;
}

std::string Shown(std::string_view text) { return "'" + Escaped(text, 60) + "'"; }

Lines SplitLines(std::string_view text, std::string_view separator) {
  Lines lines;
  for (;;) {
    const std::size_t end = text.find(separator);
    lines.emplace_back(text.substr(0, end));
    if (end == std::string_view::npos) return lines;
    text.remove_prefix(end + separator.size());
  }
}

std::string JoinLines(const Lines& lines, std::string_view lineEnd) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += lineEnd;
  }
  return text;
}

}  // namespace zorvin::cli

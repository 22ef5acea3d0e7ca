#include "references/effect_references.h"

#include <cstring>


namespace zorvin::references {
namespace {

bool IsRunByte(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
         c == '.' || c == '/' || c == '\\';
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

// Code points in bytes: every byte that does not continue a UTF-8 sequence.
std::size_t CodePoints(std::string_view bytes) {
  std::size_t count = 0;
  for (const char c : bytes) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

}  // namespace

bool EndsInEfx(std::string_view text) {
  if (text.size() < 4) return false;
  const std::string_view tail = text.substr(text.size() - 4);
  return tail[0] == '.' && Lower(tail[1]) == 'e' && Lower(tail[2]) == 'f' && Lower(tail[3]) == 'x';
}

std::size_t EfxFinder::Seek(char x, std::size_t from) const {
  if (from >= bytes_.size()) return std::string_view::npos;
  const void* found = std::memchr(bytes_.data() + from, x, bytes_.size() - from);
  return found == nullptr ? std::string_view::npos : static_cast<std::size_t>(static_cast<const char*>(found) - bytes_.data());
}

std::size_t EfxFinder::Next(std::size_t from) {
  constexpr std::size_t none = std::string_view::npos;
  const std::size_t least = from + 2;  // where the 'x' of an "efx" from `from` stands at the soonest
  if (!started_ || (lower_ != none && lower_ < least)) lower_ = Seek('x', least);
  if (!started_ || (upper_ != none && upper_ < least)) upper_ = Seek('X', least);
  started_ = true;
  for (;;) {
    std::size_t& next = lower_ < upper_ ? lower_ : upper_;
    if (next == none) return none;
    const std::size_t at = next;
    next = Seek(bytes_[at], at + 1);
    if (Lower(bytes_[at - 1]) == 'f' && Lower(bytes_[at - 2]) == 'e') return at - 2;
  }
}

bool MayHoldReference(std::string_view bytes) { return EfxFinder(bytes).Next(0) != std::string_view::npos; }

std::vector<Reference> FindReferences(std::string_view line) {
  std::vector<Reference> found;
  std::size_t counted = 0, countedTo = 0;  // code points in line[0, countedTo)
  const auto add = [&](std::size_t begin, std::size_t end) {
    const std::string_view text = line.substr(begin, end - begin);
    if (!EndsInEfx(text)) return;
    const std::size_t slash = text.find_last_of("/\\");
    const std::size_t name = slash == std::string_view::npos ? begin : begin + slash + 1;
    if (end - name <= 4) return;  // ".efx" alone names nothing
    counted += CodePoints(line.substr(countedTo, name - countedTo));
    countedTo = name;
    const std::size_t column = counted + 1;
    found.push_back({name, end, column, column + CodePoints(line.substr(name, end - name))});
  };
  for (std::size_t at = 0; at < line.size();) {
    const char c = line[at];
    if (c == '"' || c == '\'') {
      const std::size_t close = line.find(c, at + 1);
      if (close != std::string_view::npos) {
        add(at + 1, close);
        at = close + 1;
        continue;
      }
      ++at;  // a quote that does not close on its line quotes nothing
    } else if (IsRunByte(static_cast<unsigned char>(c))) {
      std::size_t end = at;
      while (end < line.size() && IsRunByte(static_cast<unsigned char>(line[end]))) ++end;
      add(at, end);
      at = end;
    } else {
      ++at;
    }
  }
  return found;
}

}  // namespace zorvin::references

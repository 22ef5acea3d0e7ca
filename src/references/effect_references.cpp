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

bool MayHoldReference(std::string_view bytes) {
  if (bytes.size() < 3) return false;
  // Each 'x' or 'X' after "ef" in any case; memchr finds the candidates fast.
  for (const char x : {'x', 'X'}) {
    const char* at = bytes.data() + 2;
    const char* const end = bytes.data() + bytes.size();
    while (at < end) {
      at = static_cast<const char*>(std::memchr(at, x, static_cast<std::size_t>(end - at)));
      if (at == nullptr) break;
      if (Lower(at[-2]) == 'e' && Lower(at[-1]) == 'f') return true;
      ++at;
    }
  }
  return false;
}

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

// Where a line of a designer's file names an effect: a string in double or
// single quotes on one line that ends in ".efx" (in any case), or, outside
// quotes, a run of letters, digits, '_', '-', '.', '/' and '\' that does. The
// effect's name is what follows the last '/' or '\'; it needs a character
// before ".efx". Standard C++ only.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace zorvin::references {

struct Reference {
  std::size_t begin, end;        // the name's bytes in the line
  std::size_t column, endColumn; // 1-based, in code points; endColumn one past the name
};

// The references of one line, its line end (LF or CR LF) taken off, in their order.
std::vector<Reference> FindReferences(std::string_view line);

// Whether text ends in ".efx", in any case.
bool EndsInEfx(std::string_view text);

// Whether a chunk of bytes holds "efx" in any case: a line without it holds no reference.
bool MayHoldReference(std::string_view bytes);

// Each "efx", in any case, in bytes, in their order: Next(from) gives where
// the first at or after from starts, or npos. Each 'x' and 'X' is looked
// for once, however many times it is asked.
class EfxFinder {
 public:
  explicit EfxFinder(std::string_view bytes) : bytes_(bytes) {}
  std::size_t Next(std::size_t from);

 private:
  std::size_t Seek(char x, std::size_t from) const;
  std::string_view bytes_;
  std::size_t lower_ = 0, upper_ = 0;  // the next 'x' and 'X' found so far (npos: none after)
  bool started_ = false;
};

}  // namespace zorvin::references

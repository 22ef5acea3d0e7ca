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

}  // namespace zorvin::references

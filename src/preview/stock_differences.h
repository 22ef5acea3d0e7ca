// The differences among the stock levels' previews: they never change, so
// they are worked out once and kept (in tenths, to one decimal), the upper
// triangle of the catalog's 40×40 row by row. tests/make_stock_differences.cpp
// writes stock_differences.cpp, and a test holds it to the model.
#pragma once

#include <cstdint>

namespace zorvin::preview {

extern const std::uint16_t kStockDifferences[780];

}  // namespace zorvin::preview

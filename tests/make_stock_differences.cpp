// Writes src/preview/stock_differences.cpp: the differences among the stock
// levels' previews, as the model gives them. Run when the catalog or the
// model changes (the preview tests say when):
//   build/native/bin/make_stock_differences > src/preview/stock_differences.cpp
#include <cmath>
#include <cstdio>

#include "preview/preview.h"

int main() {
  using namespace zorvin::preview;
  const auto pictures = StockPictures();
  std::printf("// Written by tests/make_stock_differences.cpp: the stock levels' differences\n"
              "// in tenths, the upper triangle of the catalog row by row.\n"
              "#include \"preview/stock_differences.h\"\n\n"
              "namespace zorvin::preview {\n\nconst std::uint16_t kStockDifferences[780] = {\n");
  int column = 0;
  for (std::size_t a = 0; a < pictures.size(); ++a) {
    for (std::size_t b = a + 1; b < pictures.size(); ++b) {
      const long tenths = std::lround(ShownDifference(Difference(pictures[a], pictures[b])) * 10);
      std::printf("%s%ld,", column == 0 ? "    " : " ", tenths);
      if (++column == 16) std::printf("\n"), column = 0;
    }
  }
  std::printf("%s};\n\n}  // namespace zorvin::preview\n", column == 0 ? "" : "\n");
}

// How alike two previews look: the mean CIEDE2000 difference of their
// pixels, and the stock levels ranked by it.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "preview/color_difference.h"
#include "preview/preview.h"
#include "preview/stock_differences.h"
#include "settings/level_catalog.h"

namespace zorvin::preview {
namespace {

// Each pixel's Lab: neighbouring pixels are mostly one colour (the ground),
// worked out once a run.
std::vector<Lab> LabsOf(const Image& image) {
  std::vector<Lab> labs(image.rgb.size() / 3);
  const std::uint8_t* p = image.rgb.data();
  for (std::size_t i = 0; i < labs.size(); ++i, p += 3) {
    labs[i] = i > 0 && p[0] == p[-3] && p[1] == p[-2] && p[2] == p[-1] ? labs[i - 1] : LabOf(p[0], p[1], p[2]);
  }
  return labs;
}

// The mean over the pixels, each run of the same pair of colours worked out once.
double MeanDifference(const Image& a, const std::vector<Lab>& labsA, const Image& b, const std::vector<Lab>& labsB) {
  const std::size_t pixels = labsA.size();
  if (pixels == 0 || a.rgb.size() != b.rgb.size()) return 0;
  double sum = 0, last = 0;
  const std::uint8_t* pa = a.rgb.data();
  const std::uint8_t* pb = b.rgb.data();
  for (std::size_t i = 0; i < pixels; ++i, pa += 3, pb += 3) {
    const bool same = i > 0 && pa[0] == pa[-3] && pa[1] == pa[-2] && pa[2] == pa[-1] && pb[0] == pb[-3] &&
                      pb[1] == pb[-2] && pb[2] == pb[-1];
    if (!same) last = Ciede2000(labsA[i], labsB[i]);
    sum += last;
  }
  return sum / static_cast<double>(pixels);
}

// The pixels of the ground, off the ball, at the size lights are compared at.
const std::vector<std::size_t>& GroundPixels() {
  static const std::vector<std::size_t> pixels = [] {
    std::vector<std::size_t> ground;
    const Image mask = RenderGround(Light{.sun = std::nullopt, .ambient = 1}, kCompareSize);  // the ground white
    for (std::size_t i = 0; i < mask.rgb.size() / 3; ++i) {
      if (mask.rgb[i * 3] != 0) ground.push_back(i);
    }
    return ground;
  }();
  return pixels;
}

// The ground's part of the mean difference of two pictures at kCompareSize.
// Each ground is a colour or two (lit and in the shadow): each pair of
// colours met is worked out once.
double GroundShare(const Image& a, const std::vector<Lab>& labsA, const Image& b) {
  struct Pair {
    std::uint64_t colours;  // a's three bytes, then b's
    double difference;
  };
  std::array<Pair, 8> known{};
  std::size_t count = 0;
  double sum = 0;
  for (const std::size_t i : GroundPixels()) {
    const std::uint8_t* pa = &a.rgb[i * 3];
    const std::uint8_t* pb = &b.rgb[i * 3];
    const std::uint64_t colours = std::uint64_t{pa[0]} | std::uint64_t{pa[1]} << 8 | std::uint64_t{pa[2]} << 16 |
                                  std::uint64_t{pb[0]} << 24 | std::uint64_t{pb[1]} << 32 | std::uint64_t{pb[2]} << 40;
    std::size_t k = 0;
    while (k < count && known[k].colours != colours) ++k;
    if (k < count) {
      sum += known[k].difference;
      continue;
    }
    const double difference = Ciede2000(labsA[i], LabOf(pb[0], pb[1], pb[2]));
    if (count < known.size()) known[count++] = {colours, difference};
    sum += difference;
  }
  return sum / static_cast<double>(labsA.size());
}

}  // namespace

double Difference(const Image& a, const Image& b) { return MeanDifference(a, LabsOf(a), b, LabsOf(b)); }

double ShownDifference(double difference) { return std::round(difference * 10) / 10; }

std::span<const Image> StockPictures() {
  static const std::vector<Image> pictures = [] {
    std::vector<Image> made;
    for (const LevelEntry& entry : LevelCatalog()) {
      made.push_back(Render(ReadPreviewLight(light::LevelWorldspawn(entry)).light, kCompareSize));
    }
    return made;
  }();
  return pictures;
}

namespace {

std::vector<Alike> Ranked(std::vector<Alike> alike) {
  std::stable_sort(alike.begin(), alike.end(), [](const Alike& x, const Alike& y) { return x.difference < y.difference; });
  return alike;
}

}  // namespace

std::vector<Alike> MostAlike(const Image& of, std::size_t top) {
  const std::vector<Lab> labs = LabsOf(of);  // once for all forty
  const auto catalog = LevelCatalog();
  // The ball covers the same pixels in every picture; the rest, the ground, is
  // two colours in each, cheap to compare, and its share of the mean is a
  // floor under the whole. The levels are taken lowest floor first, and one
  // whose floor is shown above the last of the nearest so far cannot be among
  // them: it is not compared whole.
  struct Candidate {
    std::size_t level;
    Light light;
    double floor;
  };
  std::vector<Candidate> candidates;
  for (std::size_t i = 0; i < catalog.size(); ++i) {
    const Light stock = ReadPreviewLight(light::LevelWorldspawn(catalog[i])).light;
    candidates.push_back({i, stock, GroundShare(of, labs, RenderGround(stock, kCompareSize))});
  }
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const Candidate& x, const Candidate& y) { return x.floor < y.floor; });
  std::vector<Alike> alike;
  for (const Candidate& candidate : candidates) {
    if (alike.size() >= top) {
      const std::vector<Alike> nearest = Ranked(alike);
      // A bound that rounds to the same tenth may still tie, and ties go in catalog order.
      if (ShownDifference(candidate.floor - 1e-9) > nearest[top - 1].difference) break;
    }
    const Image picture = Render(candidate.light, kCompareSize);
    alike.push_back({candidate.level, ShownDifference(MeanDifference(of, labs, picture, LabsOf(picture)))});
  }
  std::sort(alike.begin(), alike.end(), [](const Alike& x, const Alike& y) { return x.level < y.level; });
  alike = Ranked(std::move(alike));
  alike.resize(std::min(alike.size(), top));
  return alike;
}

std::vector<Alike> MostAlikeStock(std::size_t level) {
  std::vector<Alike> alike;
  for (std::size_t i = 0; i < LevelCatalog().size(); ++i) {
    if (i != level) alike.push_back({i, StockDifference(level, i)});
  }
  return Ranked(std::move(alike));
}

double StockDifference(std::size_t first, std::size_t second) {
  if (first == second) return 0;
  const std::size_t a = std::min(first, second), b = std::max(first, second);
  const std::size_t n = LevelCatalog().size();
  // Row a of the upper triangle starts after the rows above it.
  const std::size_t at = a * n - a * (a + 1) / 2 + (b - a - 1);
  return kStockDifferences[at] / 10.0;
}

}  // namespace zorvin::preview

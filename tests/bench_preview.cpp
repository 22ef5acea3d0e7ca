// The core's preview, timed in-process: a 256×256 picture of a level's light,
// its PNG, and the ranking zorvin similar makes, each the best of many runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

#include "light/level_light.h"
#include "png/png.h"
#include "preview/preview.h"
#include "settings/level_catalog.h"

namespace {

double BestMilliseconds(int runs, const std::function<void()>& work) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    best = std::min(best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

}  // namespace

int main() {
  using namespace zorvin;
  const auto light = preview::ReadPreviewLight(light::LevelWorldspawn(*FindLevel("mp_toujane"))).light;
  preview::Image image;
  const double render = BestMilliseconds(50, [&] { image = preview::Render(light, 256); });
  std::size_t bytes = 0;
  const double encode = BestMilliseconds(50, [&] { bytes = png::Encode(image.rgb, 256, 256).size(); });
  const double first = BestMilliseconds(1, [] { (void)preview::StockPictures(); });
  const preview::Image small = preview::Render(light, preview::kCompareSize);
  const double rank = BestMilliseconds(20, [&] { (void)preview::MostAlike(small, 5); });
  std::printf("the core's 256x256 preview: %.2f ms (at most 2 ms)\n", render);
  std::printf("its PNG (%zu bytes): %.2f ms\n", bytes, encode);
  std::printf("the 40 stock pictures at 64x64, made once: %.2f ms\n", first);
  std::printf("the 5 stock levels most like a map: %.2f ms\n", rank);
}

#include "golden.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "golden_files.h"  // kGoldenLevels, kGoldenCategories: written by the build from the folder

namespace zorvin::test {
namespace {

std::string Read(std::string_view folder, std::string_view file) {
  std::string path = std::string(ZORVIN_GOLDEN_DIR) + "/" + std::string(folder) + "/" + std::string(file);
#ifdef _WIN32
  // Under Wine the source tree is reached through drive Z:.
  if (path.starts_with('/')) path = "Z:" + path;
#endif
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    ADD_FAILURE() << "no expected file " << path;
    return "<no file>";
  }
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

std::span<const std::string_view> GoldenLevels() { return kGoldenLevels; }
std::span<const std::string_view> GoldenCategories() { return kGoldenCategories; }
std::string GoldenBlock(std::string_view level) { return Read("levels", std::string(level) + ".txt"); }
std::string GoldenListing(std::string_view category) { return Read("effects", std::string(category) + ".txt"); }
std::string GoldenOutput(std::string_view file) { return Read("commands", file); }

}  // namespace zorvin::test

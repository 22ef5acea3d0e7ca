// What the tests of zorvin's command lines share: the expected files, a
// command line run in-process, files read and written whole, and a golden
// text as zorvin prints it.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.h"
#include "golden.h"

namespace zorvin::cli {

using test::GoldenBlock;
using test::GoldenCategories;
using test::GoldenLevels;
using test::GoldenListing;

// The shared map fixtures' folder.
inline std::string MapsDir() {
  std::string dir = ZORVIN_MAPS_DIR;
#ifdef _WIN32
  if (dir.starts_with('/')) dir = "Z:" + dir;  // the source tree under Wine
#endif
  return dir;
}

inline Result RunArgs(std::vector<std::string> args, LineEnd end = LineEnd::Lf) { return Run(args, end); }

inline Result Zorvin(std::vector<std::string> args) { return Run(args, LineEnd::Lf); }

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string Utf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// A golden text (CR LF between lines, none at the end) as zorvin prints it.
inline std::string AsPrinted(std::string text, LineEnd end) {
  if (end == LineEnd::Lf) {
    std::string lf;
    for (char c : text) {
      if (c != '\r') lf += c;
    }
    text = lf;
  }
  return text + (end == LineEnd::Lf ? "\n" : "\r\n");
}

}  // namespace zorvin::cli

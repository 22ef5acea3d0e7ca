// What the tests of zorvin's command lines share: the expected files, a
// command line run in-process, and a golden text as zorvin prints it.
#pragma once

#include <string>
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

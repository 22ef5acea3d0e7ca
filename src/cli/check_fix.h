// zorvin check --fix: each name that has one mend (a wrong case, or one
// suggestion nearer than the next) written so in its file, every other byte
// kept; the file replaced as apply replaces a map, or the change shown as a
// unified diff (--dry-run).
#pragma once

#include <vector>

#include "cli/check_scan.h"

namespace zorvin::cli {

struct Mending {
  Lines diff;              // --dry-run: the change
  Lines said;              // what was written, a line a file
  Lines failed;            // files that could not be replaced, each named
  std::vector<bool> mended;  // for each of the scan's problems
};

Mending Mend(const Scan& scan, bool dryRun, bool backup);

}  // namespace zorvin::cli

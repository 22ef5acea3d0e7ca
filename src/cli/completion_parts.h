// What the completion scripts of the three shells share (completion.cpp,
// completion_fish.cpp).
#pragma once

#include <string>
#include <vector>

#include "cli/completion.h"

namespace zorvin::cli {

// The words, each quoted, a blank apart.
template <typename Quote>
std::string Words(const std::vector<std::string>& words, Quote quote) {
  std::string joined;
  for (const std::string& word : words) joined += (joined.empty() ? "" : " ") + quote(word);
  return joined;
}

// The options after which the next word is their value, not an operand.
std::vector<std::string> ValuedOptionNames(const CompletionModel& model);

// The fish script.
Lines FishScript(const CompletionModel& model);

}  // namespace zorvin::cli

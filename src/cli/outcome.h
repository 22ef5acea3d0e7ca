// What a command gives back: the lines of its result, or a failure with its
// exit status and message. A name not found is an ordinary outcome, not an
// exception.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace zorvin::cli {

// Exit statuses.
inline constexpr int kFound = 0;
inline constexpr int kNotFound = 1;
inline constexpr int kBadUsage = 2;
inline constexpr int kCannotWrite = 3;    // standard output refused the result (closed pipe, full disk)
inline constexpr int kInternalError = 4;  // out of memory, or a fault of zorvin's own
inline constexpr int kBadMap = 5;         // a map that cannot be read, is no map source, or cannot be replaced

// Lines of a result; written out each ended by the chosen line end.
using Lines = std::vector<std::string>;

struct Failure {
  int status;
  std::string message;  // without "zorvin: " and the line end
};

// A success that says more than its lines: notes on standard error beside
// them, or bytes written as they are (a picture) in their place.
struct Written {
  Lines lines;
  std::optional<std::string> bytes;
  Lines notes;    // each said as "zorvin: NOTE"
  Lines summary;  // said after the notes, as they are
  int status = kFound;
};

using Outcome = std::variant<Lines, Failure, Written>;

}  // namespace zorvin::cli

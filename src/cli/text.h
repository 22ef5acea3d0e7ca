// Text helpers of zorvin: checking its arguments, matching names the way its
// commands do, suggesting near names, and quoting a text in a message.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/outcome.h"
#include "settings/settings_record.h"

namespace zorvin::cli {

// Whether text is well-formed UTF-8: no overlong forms, surrogates, or values
// past U+10FFFF.
bool IsUtf8(std::string_view text);

// Whether part is in text, ASCII letters compared without regard to case and
// every other byte as it is.
bool ContainsIgnoringCase(std::string_view text, std::string_view part);

// The number of single-character insertions, deletions and substitutions
// (ASCII case ignored) that turn a into b.
std::size_t EditDistance(std::string_view a, std::string_view b);

// The names worth suggesting for a text that named none: the one name that
// differs from it only in case; or else the names that contain it (ASCII case
// ignored), in the names' order, then those within a quarter of its length in
// edits (at least two), nearest first, ties in the names' order; three at
// most. Empty names are never suggested, and a text of over 64 bytes gets none.
std::vector<std::string_view> Nearest(std::string_view text, std::span<const std::string_view> names);
// "; did you mean 'a', 'b' or 'c'?" for the names nearest to text, or
// nothing when none is near.
std::string DidYouMean(std::string_view text, std::span<const std::string_view> names);

// text as a message shows it: letters as themselves, control characters
// (C0, DEL, C1) and bytes that are not UTF-8 as \xNN, and cut after longest
// characters (never inside one) with "...".
std::string Escaped(std::string_view text, std::size_t longest);

// text in single quotes for a message, Escaped and cut after 60 characters.
std::string Shown(std::string_view text);

// The parts of text between separators (by default the CR LF the core joins
// lines with); a text without one is one line.
Lines SplitLines(std::string_view text, std::string_view separator = kLineBreak);

// Every line followed by the line end.
std::string JoinLines(const Lines& lines, std::string_view lineEnd);

}  // namespace zorvin::cli

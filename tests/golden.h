// The expected settings blocks and effects listings, exactly as a user pastes
// them: one file per level under tests/golden/levels/ and one per category
// under tests/golden/effects/, written from the reference tables, never
// produced by the program. Under tests/golden/commands/, what zorvin light
// and zorvin compare print (with --lf), computed from the tables' values on
// their own.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace zorvin::test {

// The names of the files there (a level or a category each), sorted.
std::span<const std::string_view> GoldenLevels();
std::span<const std::string_view> GoldenCategories();

// A file's bytes; a missing file is a test failure and gives "<no file>".
std::string GoldenBlock(std::string_view level);
std::string GoldenListing(std::string_view category);
std::string GoldenOutput(std::string_view file);

}  // namespace zorvin::test

// The page: one self-contained HTML file that carries both tables as plain
// markup, readable without a script, and the tool on top of them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zorvin::web {

// The page's lines (without line ends): the template (page.html) with its
// places filled from the core's tables, the style sheet and the script
// inline, and a Content-Security-Policy that lets only those two run, by hash.
std::vector<std::string> PageLines();

}  // namespace zorvin::web

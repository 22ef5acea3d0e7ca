// Text made safe for the page's markup.
#pragma once

#include <string>
#include <string_view>

namespace zorvin::web {

// text for HTML content or a quoted attribute value: & < > " ' as entities.
std::string HtmlEscaped(std::string_view text);

}  // namespace zorvin::web

#pragma once

#include <string>
#include <string_view>

namespace qn {

// `text` made safe to put into an HTML page as element content or inside a quoted
// attribute: "&", "<", ">", the double and the single quote become references.
std::string HtmlEscape(std::string_view text);

}  // namespace qn

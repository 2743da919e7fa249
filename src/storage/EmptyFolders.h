#pragma once

#include <string>
#include <vector>

namespace qn {

// After `deleted` files were deleted: removes each folder that held one of them and
// is empty now, then its parent when that is empty too, and so on up to `top`
// (included), never above it. Other empty folders stay: they are the user's own, not
// left empty by this deletion. A link is never removed or followed.
void RemoveFoldersLeftEmpty(const std::vector<std::string>& deleted, const std::string& top);

}  // namespace qn

#pragma once

#include <string>

namespace qn {

// Removes every empty folder below `folder`, deepest first, and then `folder` itself
// when it has become empty. Links to folders are neither followed nor removed; a
// folder that cannot be listed is left alone.
void RemoveEmptyFolders(const std::string& folder);

}  // namespace qn

#pragma once

// Where a new address lies relative to the start address, and how deep it is.

#include <string_view>

#include "records/DocTree.h"

namespace qn {

// Site position of `address` against the current start directory `startDir` (which
// ends with a separator): separators below the start directory, minus the steps
// above or beside it on the same server, kOffsiteBase minus the path depth on another
// server, and kOffsiteBase when a server name is missing.
int SitePosition(std::string_view address, std::string_view startDir);

// Level of a link found on `page`: it restarts at 0 with the first page on another
// server and with a page that has no level; a FRAME source keeps its page's level.
int FoundLinkLevel(const CQNDocNode& page, int newSitePos, bool fromFrame);

}  // namespace qn

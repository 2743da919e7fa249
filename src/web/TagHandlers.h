#pragma once

// The handlers of the tag table: each reads the link values of one kind of tag.

#include <cstddef>
#include <string_view>

#include "settings/ProjectSettings.h"
#include "web/ScanText.h"
#include "web/ValueRules.h"

namespace qn {

// What every handler may read besides the tag text.
struct QNHandlerContext {
  const CQNSettings& settings;
  std::string_view documentAddress;  // the page that holds the tags
};

// Runs the handler of tag `row` on [from, to) of `text`: the tag text after its
// start token, up to its end token.
QNTagValues RunTagHandler(int row, QNScanText& text, std::size_t from, std::size_t to,
                          const QNHandlerContext& context);

}  // namespace qn

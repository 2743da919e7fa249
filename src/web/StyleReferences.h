#pragma once

// The references of style sheet text: url(...), the address of an @import (a
// string or url(...)), and the strings and url(...) of an image-set(...). They are
// read in style blocks and .css files as tags of the tag table, and inside the
// style attribute of an element. Every value is placed (QNTagValues::Place).

#include <cstddef>

#include "web/ScanText.h"
#include "web/ValueRules.h"

namespace qn {

// The address of an @import, read from just after "@import" up to `to`.
void ReadCssImport(QNScanText& text, std::size_t from, std::size_t to, QNTagValues& out);

// The strings and url(...) values of an image-set, read from just after its "("
// up to `to` (its closing ")"); the string of a type(...) is no address.
void ReadImageSet(QNScanText& text, std::size_t from, std::size_t to, QNTagValues& out);

// Every reference of style text [from, to): url(...), image-set(...) and @import.
void ReadStyleReferences(QNScanText& text, std::size_t from, std::size_t to, QNTagValues& out);

// The references in the style attributes of an element's start tag, which ends at
// `to` or at the first "<" after `from`, where a nested element would begin.
void ReadStyleAttributes(QNScanText& text, std::size_t from, std::size_t to, QNTagValues& out);

}  // namespace qn

#pragma once

namespace qn {

// The built-in English text of a string id, or "" for an unknown id. Only the one
// lookup (QNTexts, Texts.h) reads it: everything else asks the lookup, so that a
// language table can replace the text.
const char* BuiltinString(int id);

}  // namespace qn

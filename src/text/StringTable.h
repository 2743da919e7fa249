#pragma once

#include <vector>

namespace qn {

// The built-in English text of a string id, or "" for an unknown id. Only the one
// lookup (QNTexts, Texts.h) reads it: everything else asks the lookup, so that a
// language table can replace the text.
const char* BuiltinString(int id);

// Every id the built-in table has, ascending: what a translation can translate.
std::vector<int> BuiltinStringIds();

}  // namespace qn

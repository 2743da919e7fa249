#pragma once

// Address syntax: addresses, link texts and local paths are plain 8-bit strings,
// and every question about them is answered by these free functions. Slash and
// backslash are both separators; "?" and "^" start a query, "#" a fragment.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "project/FileTypes.h"
#include "text/NoCase.h"

namespace qn {

// Addresses and paths handled in fixed buffers hold at most this many characters;
// longer values are cut.
constexpr std::size_t kMaxAddressLength = 1039;

// The local path separator of this platform.
constexpr char kNativeSeparator = '/';

inline bool IsSeparator(char c) { return c == '/' || c == '\\'; }
// Index of the first / last separator of either kind, or npos.
std::size_t FindFirstSeparator(std::string_view s, std::size_t from = 0);
std::size_t FindLastSeparator(std::string_view s);
// `s` cut to kMaxAddressLength characters.
std::string CutToBuffer(std::string_view s);

// Scheme and parts of an address.
bool IsAbsoluteAddress(std::string_view address);
std::string GetSchemePrefix(std::string_view address);
std::string StripScheme(std::string_view address);
std::string DropBareScheme(std::string_view address);
std::optional<std::string> GetServerName(std::string_view address);
std::optional<std::string> GetSiteRoot(std::string_view address);
// Index in the full address of the first separator after the server, the index of
// the last character when a scheme was removed but no separator follows, else -1.
int GetPathStart(std::string_view address);
bool IsNetworkPathReference(std::string_view link);
std::string AddDefaultScheme(std::string_view address);
std::optional<std::string> FileAddressToPath(std::string_view address);
std::string GetFileName(std::string_view address);

struct Classification {
  int category = kCatNone;
  bool enabled = true;
};
Classification ClassifyAddress(std::string_view address, const ExtLists& lists, bool strict);
// The form used for strings found in script text (tries the text before a query too).
Classification ClassifyScriptString(std::string_view text, const ExtLists& lists, bool strict);

// Resolution of links.
std::string GetBaseDirectory(std::string_view documentAddress);
std::string ResolveLink(std::string_view link, std::string_view baseDirectory,
                        std::string_view documentAddress);
// The simpler rules used for local addresses by the contents tree and the report.
std::string ResolveLocalLink(std::string_view link, std::string_view baseDirectory);
bool IsFetchableLink(std::string_view link);

// Relative references between addresses and between local files.
std::string MakeRelativeAddress(std::string_view target, std::string_view base);
std::string MakeRelativePath(std::string_view target, std::string_view baseDirectory);
std::string JoinLocalPath(std::string_view relative, std::string_view baseDirectory);

// Decodes percent escapes in place; true when any "%" was met.
bool PercentDecode(std::string& s);
std::string NormalizeForCompare(std::string_view address);
bool SamePathOrDirectory(std::string_view a, std::string_view b);

// Expands "{:start-end|step}" patterns. At the top-level call (`firstCall`) every
// value is appended to `result` and `address` becomes the first expansion.
void ExpandRangePattern(std::string& address, std::vector<std::string>& result, bool firstCall);

// Separator helpers. SlashesToBackslashes also turns a blank before a backslash
// into "_"; ToNativeSeparators is its counterpart for local paths on this platform.
void SlashesToBackslashes(std::string& s);
void BackslashesToSlashes(std::string& s);
void ReplaceSeparators(std::string& s, char with);
void ToNativeSeparators(std::string& s);

}  // namespace qn

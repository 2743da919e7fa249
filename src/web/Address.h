#pragma once

// Address syntax: addresses, link texts and local paths are plain 8-bit strings,
// and every question about them is answered by these free functions. Slash and
// backslash are both separators; "?" and "^" start a query, "#" a fragment.
//
// Every operation reads at most kMaxAddressLength characters of each input and
// returns at most kMaxAddressLength characters: longer values are cut, as the
// fixed address buffers of the program cut them.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/FileTypes.h"
#include "text/AddressChars.h"
#include "text/NoCase.h"

namespace qn {

// The local path separator of this platform.
constexpr char kNativeSeparator = '/';

// A start address never expands to more addresses than the contents tree can hold.
constexpr std::size_t kMaxRangeExpansions = 100000;

// Index of the first / last separator of either kind, or npos.
std::size_t FindFirstSeparator(std::string_view s, std::size_t from = 0);
std::size_t FindLastSeparator(std::string_view s);
// `s` cut to kMaxAddressLength characters.
std::string CutToBuffer(std::string_view s);

// Scheme and parts of an address. The scheme ("http://", "https://", "ftp://",
// "file://", any case) is the one that occurs first in the address before its
// query or fragment, so an address handed on in a query ("go.asp?to=http://x")
// never lends its scheme to the address that carries it.
bool IsAbsoluteAddress(std::string_view address);
// The scheme the address starts with, as written there; empty when none.
std::string GetSchemePrefix(std::string_view address);
std::string StripScheme(std::string_view address);
// "http:page.htm" becomes "page.htm"; likewise for "https:", "ftp:" and "file:".
std::string DropBareScheme(std::string_view address);
std::optional<std::string> GetServerName(std::string_view address);
std::optional<std::string> GetSiteRoot(std::string_view address);
// Index in the full address of the first separator after the server, the index of
// the last character when a scheme was removed but no separator follows, else -1.
int GetPathStart(std::string_view address);
bool IsNetworkPathReference(std::string_view link);
// "C:\x.htm" becomes "file://C|\x.htm", the local path "/home/a/x.htm" becomes
// "file:///home/a/x.htm", anything else gets "http://".
std::string AddDefaultScheme(std::string_view address);
// The local path of a "file://" address, with native separators.
std::optional<std::string> FileAddressToPath(std::string_view address);
// The last path segment when it holds a "."; empty otherwise.
std::string GetFileName(std::string_view address);

struct Classification {
  int category = kCatNone;
  bool enabled = true;
};
Classification ClassifyAddress(std::string_view address, const ExtLists& lists, bool strict);
// The form used for strings found in script text (tries the text before a query too).
Classification ClassifyScriptString(std::string_view text, const ExtLists& lists, bool strict);
// True when the extension entry `name` matches `extension`: it occurs in it, without
// regard to case, followed by the end or by a line feed, carriage return, space,
// ";" or "?". An empty name matches nothing.
bool ExtensionMatches(std::string_view extension, std::string_view name);

// Resolution of links.
std::string GetBaseDirectory(std::string_view documentAddress);
// The absolute address of a link found in a document; never holds a backslash.
std::string ResolveLink(std::string_view link, std::string_view baseDirectory,
                        std::string_view documentAddress);
// The simpler rules used for local addresses by the contents tree and the report:
// the counterpart of MakeRelativeAddress when node addresses are read back.
std::string ResolveLocalLink(std::string_view link, std::string_view baseDirectory);
bool IsFetchableLink(std::string_view link);

// Relative references between addresses and between local files.
std::string MakeRelativeAddress(std::string_view target, std::string_view base);
// A path starting with "/" lies on the one drive of this platform; the relative
// path uses native separators. Paths on different drives, or a target holding "..",
// give the target unchanged.
std::string MakeRelativePath(std::string_view target, std::string_view baseDirectory);
// The combined path uses native separators throughout.
std::string JoinLocalPath(std::string_view relative, std::string_view baseDirectory);
// Whether the local path lies below `folder` once "." and ".." steps are resolved
// (the folder itself does not count); relative paths are taken from the current
// folder. Paths read from files are held to their folders with it.
bool IsPathInside(std::string_view path, std::string_view folder);

// Decodes percent escapes in place; true when any "%" was met. An escape that
// decodes to a zero byte gives "_".
bool PercentDecode(std::string& s);
std::string NormalizeForCompare(std::string_view address);
bool SamePathOrDirectory(std::string_view a, std::string_view b);

// Expands "{:start-end|step}" patterns. At the top-level call (`firstCall`) every
// value is appended to `result` and `address` becomes the first expansion. A further
// pattern in an expansion is expanded before that expansion is appended, and in
// place: for "{:1-2}{:a-b}" the list is "1b", "1a", "2b", "2a" and the address "1a".
// One call appends at most kMaxRangeExpansions addresses.
void ExpandRangePattern(std::string& address, std::vector<std::string>& result, bool firstCall);
// True when the address holds a pattern that ExpandRangePattern would expand.
bool HasRangePattern(std::string_view address);

// Separator helpers. SlashesToBackslashes also turns a blank before a backslash
// into "_"; ToNativeSeparators is its counterpart for local paths on this platform.
void SlashesToBackslashes(std::string& s);
void BackslashesToSlashes(std::string& s);
void ReplaceSeparators(std::string& s, char with);
void ToNativeSeparators(std::string& s);

}  // namespace qn

#include <algorithm>

#include "web/Address.h"
#include "web/AddressText.h"

namespace qn {

using address_text::AppendBounded;
using address_text::Bounded;
using address_text::CountOccurrences;
using address_text::IsAsciiLetter;
using address_text::TrimWhite;

namespace {

constexpr std::size_t npos = std::string_view::npos;

// True when the separator at `sep` belongs to the path, not to the scheme's "//".
bool InPath(std::size_t sep, int pathStart) {
  return sep != npos && static_cast<long>(sep) >= static_cast<long>(pathStart);
}

// "../" or "..\" at the front: the form that is counted, else empty.
std::string_view ClimbForm(std::string_view link) {
  if (link.starts_with("../")) return "../";
  if (link.starts_with("..\\")) return "..\\";
  return {};
}

bool StartsWithDotSeparator(std::string_view link) {
  return link.size() > 1 && link[0] == '.' && IsSeparator(link[1]);
}

// `dir` without its final separator and then without `levels` trailing segments;
// climbing stops at a separator that stands before `floor`.
std::string Climb(std::string_view dir, std::size_t levels, int floor) {
  std::string result(dir);
  if (!result.empty() && IsSeparator(result.back())) result.pop_back();
  for (std::size_t i = 0; i < levels; ++i) {
    const std::size_t sep = FindLastSeparator(result);
    if (!InPath(sep, floor)) break;
    result.resize(sep);
  }
  return result;
}

// Rule for a link of the form "../rest": every occurrence of the leading form
// counts, and the text after the last one is appended.
std::string ClimbAndAppend(std::string_view link, std::string_view base, int floor) {
  const std::string_view form = ClimbForm(link);
  std::size_t restStart = 0;
  const std::size_t levels = CountOccurrences(link, form, restStart);
  std::string result = Climb(base, levels, floor);
  AppendBounded(result, "/");
  AppendBounded(result, link.substr(restStart));
  return result;
}

std::string Joined(std::string_view a, std::string_view b) {
  std::string result(Bounded(a));
  AppendBounded(result, b);
  return result;
}

// A "#" right after a separator: "page.htm/#top" loses the separator, and a link
// that is only a fragment gets the containing document's file name.
void RepairFragment(std::string& result, bool fragmentOnly, std::string_view documentAddress) {
  const std::size_t f = result.find('#');
  if (f == npos) return;
  if (f > 0) {
    if (!IsSeparator(result[f - 1])) return;
    const std::string_view before = std::string_view(result).substr(0, f - 1);
    const std::size_t dot = before.rfind('.');
    const std::size_t sep = FindLastSeparator(before);
    if (dot != npos && (sep == npos || dot > sep)) {
      result.erase(f - 1, 1);
      return;
    }
  }
  // An absolute or path link that ends in "/#x" names that directory, not this page.
  if (!fragmentOnly) return;
  const std::string_view doc = Bounded(documentAddress);
  const std::size_t docSep = FindLastSeparator(doc);
  const std::string_view name = docSep == npos ? doc : doc.substr(docSep + 1);
  std::string repaired = result.substr(0, f);
  AppendBounded(repaired, name);
  AppendBounded(repaired, std::string_view(result).substr(f));
  result = std::move(repaired);
}

std::string Finished(std::string_view result) {
  std::string s(TrimWhite(result));
  BackslashesToSlashes(s);
  return s;
}

}  // namespace

std::string GetBaseDirectory(std::string_view documentAddress) {
  std::string s(Bounded(documentAddress));
  // The earlier of the last "?" and the last "^" starts the query.
  const std::size_t cut = std::min(s.rfind('?'), s.rfind('^'));
  if (cut != npos) {
    s.resize(cut);
    const std::size_t sep = FindLastSeparator(s);
    // "http://host?x" keeps its server: the scheme's "//" is not a directory.
    if (InPath(sep, GetPathStart(s))) s.resize(sep + 1);
  }
  s = std::string(TrimWhite(s));
  const std::size_t sep = FindLastSeparator(s);
  if (InPath(sep, GetPathStart(s))) {
    const std::size_t dot = s.rfind('.');
    if (dot != npos && dot > sep) s.resize(sep + 1);
  }
  if (s.empty() || !IsSeparator(s.back())) AppendBounded(s, "/");
  if (!IsAbsoluteAddress(s)) s = AddDefaultScheme(s);
  return s;
}

std::string ResolveLink(std::string_view link, std::string_view baseDirectory,
                        std::string_view documentAddress) {
  const std::string_view base = Bounded(baseDirectory);
  const std::string_view raw = Bounded(link);
  if (raw.empty() || raw == "#") return Finished(base);

  const std::string l = DropBareScheme(raw);
  std::string result;
  if (FindFirstSeparator(l) == npos) {
    result = Joined(base, l);
  } else if (IsSeparator(l[0]) && !IsNetworkPathReference(l)) {
    result = GetSiteRoot(base).value_or(std::string(base));
    AppendBounded(result, l);
  } else if (!ClimbForm(l).empty()) {
    result = ClimbAndAppend(l, base, GetPathStart(base));
  } else if (StartsWithDotSeparator(l)) {
    result = Joined(base, std::string_view(l).substr(2));
  } else if (IsAbsoluteAddress(l)) {
    result = l;
  } else if (IsNetworkPathReference(l)) {
    result = Joined(GetSchemePrefix(base), std::string_view(l).substr(2));
  } else {
    // Inner "." and ".." segments are left as written.
    result = Joined(base, l);
  }
  RepairFragment(result, !l.empty() && l[0] == '#', documentAddress);
  return Finished(result);
}

std::string ResolveLocalLink(std::string_view link, std::string_view baseDirectory) {
  const std::string_view t = Bounded(link);
  const std::string_view base = Bounded(baseDirectory);
  if (t.empty()) return std::string(base);
  if (FindFirstSeparator(t) == npos) return Joined(base, t);
  if (IsSeparator(t[0])) return Joined(base, t.substr(1));
  if (!ClimbForm(t).empty()) return ClimbAndAppend(t, base, -1);
  if (StartsWithDotSeparator(t)) return Joined(base, t.substr(2));
  // Whatever MakeRelativeAddress left absolute has a scheme; a relative text such
  // as "v1.2/page.htm" joins the base even though a "." precedes its first separator.
  if (IsAbsoluteAddress(t)) return std::string(t);
  return Joined(base, t);
}

bool IsFetchableLink(std::string_view link) {
  static constexpr std::string_view kSchemeWords[] = {"http", "https", "ftp", "file"};
  const std::string_view s = Bounded(link);
  const std::size_t colon = s.find(':');
  if (colon == npos) return true;
  if (colon == 1) return IsAsciiLetter(s[0]);  // a drive letter
  const std::string_view before = s.substr(0, colon);
  for (const std::string_view word : kSchemeWords)
    if (FindNoCase(before, word) != npos) return true;
  // "page.asp?time=10:30" is a page; "mailto:", "javascript:" and "news:" are not.
  return before.find('?') != npos;
}

}  // namespace qn

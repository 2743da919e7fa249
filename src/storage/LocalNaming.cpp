#include "storage/LocalNaming.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "settings/FileTypes.h"
#include "settings/ProjectSettings.h"
#include "storage/AddressHash.h"
#include "storage/DownloadFolder.h"
#include "text/NoCase.h"
#include "web/Address.h"

namespace qn {
namespace {

constexpr std::string_view kFolderPageName = "default.";
constexpr std::size_t kLongNameThreshold = 240;
constexpr std::size_t kFolderLengthLimit = 260;
constexpr std::array<std::string_view, 5> kStandardHtml = {"htm", "html", "shtm", "shtml", "css"};

// `s` begins with `prefix`, letters compared without regard to case and the two
// separators counted equal.
bool StartsWithLoosely(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    const char a = s[i];
    const char b = prefix[i];
    if (IsSeparator(a) && IsSeparator(b)) continue;
    if (ToLowerChar(a) != ToLowerChar(b)) return false;
  }
  return true;
}

bool EndsWithNoCase(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && EqualNoCase(s.substr(s.size() - suffix.size()), suffix);
}

// Extension `ext` matches list entry `entry` when the first occurrence of the entry
// (any case) is followed by the end or by a newline, carriage return, blank, ";" or
// "?": "xhtml" matches "html", "asp^id" does not match "asp".
bool MatchesEntry(std::string_view ext, std::string_view entry) {
  if (entry.empty()) return false;
  const std::size_t at = FindNoCase(ext, entry);
  if (at == std::string_view::npos) return false;
  const std::size_t end = at + entry.size();
  if (end == ext.size()) return true;
  const char next = ext[end];
  return next == '\n' || next == '\r' || next == ' ' || next == ';' || next == '?';
}

template <typename List>
bool MatchesAny(std::string_view ext, const List& list) {
  return std::any_of(list.begin(), list.end(),
                     [&](const auto& entry) { return MatchesEntry(ext, entry); });
}

bool LastSegmentHasDot(std::string_view s) {
  const std::size_t sep = FindLastSeparator(s);
  return s.find('.', sep == std::string_view::npos ? 0 : sep + 1) != std::string_view::npos;
}

// Step 3: the raw part of the path below the root. Completes `address` where a folder
// address lacks its final "/".
std::string RawTail(std::string& address, bool complete, std::string_view name,
                    const QNNamingContext& c) {
  const std::string& start = c.startFolder;
  if (FindFirstSeparator(address) == std::string::npos) return std::string(name);

  if (address == start)
    return c.dirStr == 1 ? StripScheme(address) + std::string(name) : std::string(name);
  if (address + '/' == start || address + '\\' == start) {
    if (complete) address += '/';
    // The start folder itself stands for the folder, with or without the completion.
    return c.dirStr == 1 ? StripScheme(start) + std::string(name) : std::string(name);
  }
  if (!start.empty() && StartsWithLoosely(address, start)) {
    if (c.dirStr == 1) return StripScheme(address);
    std::string below = address.substr(start.size());
    if (c.dirStr == 2) ReplaceSeparators(below, '_');
    return below;
  }
  if (!start.empty() && StartsWithLoosely(start, address)) {
    if (c.dirStr == 1) return StripScheme(address);
    std::string between = start.substr(address.size());
    if (between.empty() || !IsSeparator(between.front())) between.insert(0, 1, '/');
    if (IsSeparator(between.back())) between.pop_back();
    const auto levels = std::count_if(between.begin(), between.end(), IsSeparator);
    char buf[32];
    std::snprintf(buf, sizeof buf, "Upper%d", static_cast<int>(levels));
    return buf;
  }

  std::string bare = StripScheme(address);
  const bool named = FindLastSeparator(bare) != std::string::npos && LastSegmentHasDot(bare);
  if (c.dirStr == 2) ReplaceSeparators(bare, '_');
  if (named) return bare;
  if (IsSeparator(address.back())) return bare + std::string(name);
  if (complete) address += '/';
  return bare + (c.dirStr == 2 ? "_" : "/") + std::string(name);
}

// Steps 5 and 6: a folder gets the default name; a fragment leaves the file name.
void SetFileName(std::string& path, std::size_t rootLength, std::string_view name) {
  if (path.size() == rootLength || IsSeparator(path.back())) {
    path += name;
  } else if (!LastSegmentHasDot(std::string_view(path).substr(rootLength))) {
    path += kNativeSeparator;
    path += name;
  }
  const std::size_t sep = FindLastSeparator(path);
  const std::size_t hash = path.find('#', sep == std::string::npos ? rootLength : sep + 1);
  if (hash == std::string::npos) return;
  path.erase(hash);
  // A name made only of a fragment would leave a folder: it gets the default name.
  if (path.size() == rootLength || IsSeparator(path.back())) path += name;
}

// Step 9: dynamic pages get ".htm" so that a browser opens them as pages.
void RenameDynamicPage(std::string& path, std::size_t rootLength, bool html,
                       const QNNamingContext& c) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < rootLength) {
    if (html) path += ".htm";
    return;
  }
  const std::string_view ext = std::string_view(path).substr(dot + 1);
  if (c.renameHtml && MatchesAny(ext, c.htmlExtensions) && !MatchesAny(ext, kStandardHtml) &&
      !EndsWithNoCase(path, ".htm"))
    path += ".htm";
}

// Step 10: long paths and paths with a query get a name made from the address.
void HashLongName(std::string& path, std::size_t rootLength, std::string_view address,
                  const QNNamingContext& c) {
  if (path.size() <= kLongNameThreshold && path.find('^', rootLength) == std::string::npos) return;
  std::string ext;
  const std::size_t dot = path.rfind('.');
  if (dot != std::string::npos && dot >= rootLength) {
    ext = path.substr(dot + 1);
    ext = ext.substr(0, ext.find('^'));
    // A dot in a folder name gives no extension: the name stays in its folder.
    if (FindFirstSeparator(ext) != std::string::npos) ext.clear();
  }
  std::string folder = path.substr(0, std::min(FindLastSeparator(path), path.size()));
  while (folder.size() >= kFolderLengthLimit && FindLastSeparator(folder) != std::string::npos)
    folder.erase(FindLastSeparator(folder));
  if (folder.empty() || !folder.starts_with(c.root)) folder = c.root;
  if (folder.empty() || folder.back() != kNativeSeparator) folder += kNativeSeparator;
  path = folder + HashedNameStem(address) + "." + (ext.empty() ? std::string("htm") : ext);
}

}  // namespace

QNNamingContext QNNamingContext::From(const CQNSettings& settings, std::string startFolder,
                                      std::string_view programDir) {
  QNNamingContext c;
  c.root = DownloadRoot(settings, programDir);
  c.startFolder = std::move(startFolder);
  c.dirStr = settings.QN_DIRSTR;
  c.defaultName = settings.QN_DEFFNAME;
  c.renameHtml = settings.QN_RENAMEHTML != 0;
  for (const CQNExtEntry& e : settings.QN_FILE_EXT[CategoryIndex(kCatHtml)])
    c.htmlExtensions.push_back(e.extension);
  return c;
}

void ReplaceLocalPathChars(std::string& path, std::size_t from) {
  for (std::size_t i = from; i < path.size(); ++i) {
    char& ch = path[i];
    switch (ch) {
      case '?':
        ch = '^';
        break;
      case '"':
      case '*':
      case '<':
      case '>':
      case '|':
        ch = '_';
        break;
      case ':':
        if (i != 1) ch = '_';
        break;
      case kNativeSeparator:
        if (i > 1 && path[i - 1] == kNativeSeparator) ch = '_';
        break;
      default:
        // Control characters (from "%0A" and the like) are no more welcome in a
        // file name than the characters above.
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F) ch = '_';
        break;
    }
  }
}

void NeutraliseDotSegments(std::string& path, std::size_t from) {
  std::size_t begin = from;
  while (begin <= path.size()) {
    std::size_t end = FindFirstSeparator(path, begin);
    if (end == std::string::npos) end = path.size();
    const std::string_view segment = std::string_view(path).substr(begin, end - begin);
    if (segment == "." || segment == "..") std::fill(path.begin() + begin, path.begin() + end, '_');
    begin = end + 1;
  }
}

std::string LocalPathForAddress(std::string& address, bool complete, bool html,
                                const QNNamingContext& c) {
  const std::string_view name = html ? std::string_view(c.defaultName) : kFolderPageName;
  if (address.find('?') != std::string::npos) complete = false;

  // The root is the user's folder: it is taken as it is, and every rule below works on
  // the part that comes from the address.
  std::string tail = RawTail(address, complete, name, c);
  ToNativeSeparators(tail);
  std::string path = c.root + tail;
  const std::size_t rootLength = c.root.size();
  SetFileName(path, rootLength, name);

  tail = path.substr(rootLength);
  PercentDecode(tail);
  // A decoded backslash is a separator too, as it would be on any system.
  ToNativeSeparators(tail);
  path.resize(rootLength);
  path += tail;
  ReplaceLocalPathChars(path, rootLength);
  NeutraliseDotSegments(path, rootLength);

  RenameDynamicPage(path, rootLength, html, c);
  HashLongName(path, rootLength, address, c);
  return path;
}

}  // namespace qn

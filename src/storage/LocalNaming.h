#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qn {

struct CQNSettings;

// What naming reads from the project: fixed once per start address so that every
// address of a run, and every link the converter recomputes, gets the same path.
struct QNNamingContext {
  std::string root;         // download root, ending with the native separator
  std::string startFolder;  // base directory of the start address in use, ending with "/"
  int dirStr = 0;           // QN_DIRSTR: 0 relative folders, 1 full folders, 2 flat names
  std::string defaultName = "default.htm";  // QN_DEFFNAME
  bool renameHtml = true;                   // QN_RENAMEHTML
  std::vector<std::string> htmlExtensions;  // the project's HTML extension list

  static QNNamingContext From(const CQNSettings& settings, std::string startFolder,
                              std::string_view programDir);
};

// The local path of `address`. With `complete`, an address that looks like a folder
// without its final "/" gains one (the caller stores the completed address); `html`
// says the content is, or is expected to be, an HTML page. Pure string work: the disk
// is never consulted, so the same address always yields the same path, and no
// address yields a path outside the root.
std::string LocalPathForAddress(std::string& address, bool complete, bool html,
                                const QNNamingContext& context);

// Makes a formed local path acceptable to the file system, from index `from` on:
// "?" becomes "^"; the double quote, "*", "<", ">", "|" and control characters (NUL
// among them) become "_"; ":" becomes "_" unless it is the second character; a
// separator that follows another becomes "_" unless it is the first or second one.
void ReplaceLocalPathChars(std::string& path, std::size_t from = 0);

// Turns every path segment that consists of "." or ".." (from index `from` on) into
// underscores, so that no part of an address can climb out of the download folder.
void NeutraliseDotSegments(std::string& path, std::size_t from = 0);

}  // namespace qn

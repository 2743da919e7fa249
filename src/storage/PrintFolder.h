#pragma once

// The single page that "Print Folder" prints: every page of a folder of the
// contents tree, converted to absolute local addresses and put one after another.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qn {

class CQNDocNode;
struct CQNSettings;

// Literals put before the pages when QN_PAGEBREAK is on: the style sheet before the
// first page and the break before every later one.
inline constexpr std::string_view kPageBreakStyle =
    "<STYLE>\nP.page { page-break-before: always }\n</STYLE>\n";
inline constexpr std::string_view kPageBreak = "<P CLASS=page>\n";

// One page to print: its address and the file it was saved in.
struct QNPrintPage {
  std::string url;
  std::string localFile;
};

// The HTML pages of `folder` and everything below it, in pre-order. Copied so that
// the pages can be put together while the tree goes on changing.
std::vector<QNPrintPage> PrintPagesOf(const CQNDocNode& folder);

// Puts `pages` into a new temporary ".htm" file, one after another. `startAddress`
// gives the start folder of local naming. A page that cannot be converted for
// printing (a frame set, a file that cannot be opened) is left out. After each page
// `keepGoing` is asked; a refusal ends the work and the file is removed. Nothing when
// the work was stopped or no file could be made.
std::optional<std::filesystem::path> BuildPrintFile(const std::vector<QNPrintPage>& pages,
                                                    const CQNSettings& settings,
                                                    std::string_view programDir,
                                                    std::string_view startAddress,
                                                    const std::function<bool()>& keepGoing = {});

}  // namespace qn

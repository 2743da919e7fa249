#pragma once

// Rewriting the links of saved pages so that the copy browses offline: the
// replacement of one link value, and the conversion of one saved file.

#include <filesystem>
#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "storage/LocalNaming.h"
#include "web/HtmlConverter.h"

namespace qn {

class CQNDocNode;
struct CQNSettings;

// What every link of one conversion pass is measured against.
struct QNLinkRules {
  QNNamingContext naming;  // the download root and the start folder in use
  int updLinks = 1;        // QN_UPDLINKS: 1 keeps links whose target was not saved
};

// The replacement of one link value found in the page at `pageAddress`, or nothing
// when the link stays as written. The relative form gives the path of the target's
// local file from the page's folder with "/" separators and the link's fragment; a
// target on another drive (or a path holding "..") gives its absolute path. The
// absolute form gives the local path itself.
std::optional<std::string> ConvertLinkValue(const QNLinkToConvert& link,
                                            std::string_view pageAddress, const QNLinkRules& rules);

// Whether one of the first 1000 lines of a script (read in pieces of at most 4159
// characters, as a fixed line buffer reads them) holds "function" in any case. Only
// such scripts build addresses worth converting.
bool ScriptMentionsFunction(const std::filesystem::path& script);

// Writes `convert`'s output for the file at `path` into a temporary file beside it
// and puts that file in its place only when the whole copy was read, written and
// closed; the page keeps its modification time and permissions. False, with the
// page untouched, when a file cannot be opened, reading or writing fails, or
// `convert` returns false.
bool ReplaceWithConverted(const std::filesystem::path& path,
                          const std::function<bool(std::istream&, std::ostream&)>& convert);

// Converts the saved file of a downloaded HTML page or script node (relative form).
// A node without a local file, and a script that is no module and never mentions
// "function", are left alone with success. A script's links are written relative to
// the page it was found in, a module's relative to itself. False when the file could
// not be converted; it is then unchanged.
bool ConvertSavedFile(const CQNDocNode& node, const CQNSettings& settings,
                      const QNLinkRules& rules);

}  // namespace qn

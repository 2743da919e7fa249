#pragma once

// The filters that decide which known addresses a download fetches and which
// fetched files it keeps.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "records/DocTree.h"
#include "seams/RunControl.h"
#include "settings/ProjectSettings.h"
#include "web/SizeTests.h"

namespace qn {

// What the filters need to know about the run besides the settings.
struct QNFilterScope {
  int downloadKind = kKindNew;
  bool preview = false;
  std::string startServer;  // server of the current start address; empty when unknown
  bool localStart = false;  // the current start address is a "file://" address
};

// URL filters. Patterns compare without regard to case; "*" stands for any run of
// characters, "^" for exactly one, and a pattern always covers the whole part.
bool PatternMatches(std::string_view part, std::string_view pattern);

// An address split the way the filters see it.
struct QNUrlParts {
  int protocol = 0;       // 1 http, 2 https, 4 ftp, 8 file, 0 none of them
  std::string server;     // empty when the address has none
  std::string directory;  // path after the server without file name or final separator
  std::string file;       // last path segment when it holds a "."
};
QNUrlParts SplitForFilter(std::string_view address);

enum class UrlVerdict { NoMatch, Load, Skip };
UrlVerdict UrlFilterDecision(const std::vector<CQNUrlFilter>& filters, std::string_view address);

// Whether the node may be fetched at all; an including URL filter that admits it
// gives it mark 2. A "file://" address is fetched only in a run that starts from
// one: a page from a server must not make the program copy the user's own files.
bool PassesEligibility(CQNDocNode& node, const CQNSettings& settings, const QNFilterScope& scope);
// Whether the node's link level is within the limits.
bool PassesLevel(const CQNDocNode& node, const CQNSettings& settings, const QNFilterScope& scope);

// After an HTML page was fetched and scanned: whether its file is kept. A rejected
// page loses its file (and the folder the file leaves empty) and its local file name;
// its links stay in the tree.
bool KeepHtmlAfterDownload(CQNDocNode& node, std::int64_t size, const CQNSettings& settings);

}  // namespace qn

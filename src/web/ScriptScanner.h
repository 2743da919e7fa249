#pragma once

// Discovery in script files: every line, after line preparation, is searched for
// quoted strings that look like addresses; they are reported together at the end.

#include <filesystem>
#include <istream>
#include <string_view>

#include "settings/ProjectSettings.h"
#include "web/LinkSink.h"

namespace qn {

// Links of a script resolve against the page that referred to it when there is
// one (`referrerAddress` not empty), otherwise against the script's own address.
bool ScanScriptFile(std::string_view fileAddress, std::string_view referrerAddress,
                    const std::filesystem::path& localFile, const CQNSettings& settings,
                    const QNScanControl& control, IQNLinkSink& sink);
// The same over an open text, resolving against `address`.
bool ScanScript(std::istream& in, std::string_view address, const CQNSettings& settings,
                const QNScanControl& control, IQNLinkSink& sink);

}  // namespace qn

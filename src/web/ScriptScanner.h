#pragma once

// Discovery in script files: every line, after line preparation, is searched for
// quoted strings that look like addresses; they are reported together at the end.

#include <filesystem>
#include <istream>
#include <string_view>

#include "settings/ProjectSettings.h"
#include "web/LinkSink.h"

namespace qn {

// Whether a script file is a module ("mjs", or a line that begins with an import or
// export statement). A module's imports resolve against its own address, as a
// browser resolves them, not against the page that loads it.
bool IsModuleScript(const std::filesystem::path& file);

// Links of a script resolve against the page that referred to it when there is
// one (`referrerAddress` not empty) and the script is no module, otherwise against
// the script's own address.
bool ScanScriptFile(std::string_view fileAddress, std::string_view referrerAddress,
                    const std::filesystem::path& localFile, const CQNSettings& settings,
                    const QNScanControl& control, IQNLinkSink& sink);
// The same over an open text, resolving against `address`.
bool ScanScript(std::istream& in, std::string_view address, const CQNSettings& settings,
                const QNScanControl& control, IQNLinkSink& sink);

}  // namespace qn

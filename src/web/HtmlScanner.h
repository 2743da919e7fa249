#pragma once

// Discovery: finds the links of a downloaded HTML page, script or binary movie
// and hands them to the link table through a sink. The caller skips the scan when
// the contents tree already holds more than 99999 nodes besides the root.

#include <filesystem>
#include <istream>
#include <string_view>

#include "settings/ProjectSettings.h"
#include "web/LinkSink.h"

namespace qn {

enum class QNScanKind { None, Html, Script, Binary };

// How a downloaded file is scanned: a node of category HTML as HTML; otherwise
// "js" files as script and "class" or "swf" files as binary (extension of the
// local file, matched as ClassifyAddress matches extensions).
QNScanKind ScanKindFor(int category, std::string_view localFile);

// Scans the page saved at `localFile` for address `address` (base directory:
// GetBaseDirectory of the address). Tells the sink when the analysis starts and
// ends. False when the file cannot be opened or the stop flag ended the scan.
bool ScanHtmlFile(std::string_view address, const std::filesystem::path& localFile,
                  const CQNSettings& settings, const QNScanControl& control, IQNLinkSink& sink);
// The same over an open text.
bool ScanHtml(std::istream& in, std::string_view address, const CQNSettings& settings,
              const QNScanControl& control, IQNLinkSink& sink);

}  // namespace qn

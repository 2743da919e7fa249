#include "web/ScriptScanner.h"

#include <fstream>
#include <string>
#include <vector>

#include "web/Address.h"
#include "web/LineReader.h"
#include "web/LinkReporter.h"
#include "web/ScanText.h"
#include "web/ValueRules.h"

namespace qn {

bool ScanScript(std::istream& in, std::string_view address, const CQNSettings& settings,
                const QNScanControl& control, IQNLinkSink& sink) {
  sink.OnAnalyzing();
  QNLineReader reader(in, true);
  QNTagValues found;
  std::string line;
  bool complete = true;
  for (std::uint64_t lines = 1;; ++lines) {
    if (control.StopRequested()) {
      complete = false;
      break;
    }
    if (!reader.Next(line)) break;
    PrepareLine(line);
    if (lines % 100 == 0) control.Throttle();
    QNScanText text(line);
    ReadScriptStrings(text, 0, text.Size(), settings.QN_FILE_EXT, found);
  }
  if (complete) {
    QNLinkReporter reporter(address, GetBaseDirectory(address), sink);
    for (const std::string& value : found.values) reporter.Report(value, -1);
  }
  sink.OnAnalysed();
  return complete;
}

bool ScanScriptFile(std::string_view fileAddress, std::string_view referrerAddress,
                    const std::filesystem::path& localFile, const CQNSettings& settings,
                    const QNScanControl& control, IQNLinkSink& sink) {
  std::ifstream in(localFile, std::ios::binary);
  if (!in) return false;
  return ScanScript(in, referrerAddress.empty() ? fileAddress : referrerAddress, settings, control,
                    sink);
}

}  // namespace qn

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
namespace {

// Lines read to tell a module by its statements; they stand at the top.
constexpr int kModuleLinesLooked = 200;

}  // namespace

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

bool IsModuleScript(const std::filesystem::path& file) {
  if (ExtensionMatches(file.extension().string(), ".mjs")) return true;
  std::ifstream in(file, std::ios::binary);
  QNLineReader reader(in, true);
  std::string line;
  for (int lines = 0; lines < kModuleLinesLooked && reader.Next(line); ++lines) {
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos) continue;
    const std::string_view text = std::string_view(line).substr(first);
    for (std::string_view keyword : {"import", "export"})
      if (text.starts_with(keyword) && text.size() > keyword.size() &&
          std::string_view(" {*\"'").find(text[keyword.size()]) != std::string_view::npos)
        return true;
  }
  return false;
}

bool ScanScriptFile(std::string_view fileAddress, std::string_view referrerAddress,
                    const std::filesystem::path& localFile, const CQNSettings& settings,
                    const QNScanControl& control, IQNLinkSink& sink) {
  std::ifstream in(localFile, std::ios::binary);
  if (!in) return false;
  const bool ownBase = referrerAddress.empty() || IsModuleScript(localFile);
  return ScanScript(in, ownBase ? fileAddress : referrerAddress, settings, control, sink);
}

}  // namespace qn

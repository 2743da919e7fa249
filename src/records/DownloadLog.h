#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "seams/LogSink.h"

namespace qn {

class IQNObserver;
class QNTexts;

// A project title as part of a file name: its separators become "_", so that no
// title names a file outside the folder it is meant for, nor makes folders.
std::string TitleInFileName(std::string title);

// The log path of a project: the project file with "log" after its last ".", or,
// for a project without a file, the working folder followed by the title (as
// TitleInFileName gives it) and ".log".
std::string LogPathFor(const std::string& projectFile, const std::string& workingFolder,
                       const std::string& title);

// Characters the log pane shows at most.
constexpr std::size_t kLogPaneLimit = 30720;

// The plain-text log of a project's last download. Lines end in "\r\n"; one entry
// is appended under the log lock (open, write, close) so lines of different
// threads never interleave. A log that cannot be written never stops a download.
class CQNDownloadLog : public IQNLogSink {
 public:
  explicit CQNDownloadLog(IQNObserver* observer = nullptr) : observer_(observer) {}

  void SetPath(std::string path);
  std::string Path() const;

  // Truncates the log at the start of a download; false when it cannot be created.
  bool Reset();

  // Appends an entry. For the started, completed and stopped kinds `text` is the
  // line itself (see the Make... helpers); the log adds the line ends of the kind.
  void WriteLine(LogKind kind, const std::string& text) override;
  // The same, telling whether the entry reached the file.
  bool Append(LogKind kind, const std::string& text);

  // The beginning of the log for the log pane, cut with a note when too long.
  std::string LoadForDisplay(const QNTexts& texts) const;

  // When a project is saved under a file name for the first time, its log moves
  // from the working folder to sit beside the project file.
  bool MoveTo(const std::string& newPath);

 private:
  IQNObserver* observer_;
  mutable std::mutex lock_;
  std::string path_;
};

// Texts of the entries that open and close a run.
std::string MakeStartedText(const QNTexts& texts, bool preview, const std::string& timeText);
std::string MakeCompletedText(const QNTexts& texts, bool preview, const std::string& timeText);
// `stopReason`: 0 none, 1 number of files, 2 total time, 3 total disk space.
std::string MakeStoppedText(const QNTexts& texts, bool preview, const std::string& timeText,
                            int stopReason);
std::string MakeSummaryText(const QNTexts& texts, int files, std::uint64_t bytes);

}  // namespace qn

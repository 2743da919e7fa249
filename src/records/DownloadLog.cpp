#include "records/DownloadLog.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "seams/Observer.h"
#include "text/MessageIds.h"
#include "text/SizeText.h"
#include "text/Texts.h"

namespace qn {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

std::string Entry(LogKind kind, const std::string& text) {
  switch (kind) {
    case LogKind::Started:
      return text + "\r\n\r\n";
    case LogKind::Completed:
    case LogKind::Stopped:
    case LogKind::Summary:
      return "\r\n" + text + "\r\n";
    case LogKind::Text:
      break;
  }
  return text + "\r\n";
}

}  // namespace

std::string TitleInFileName(std::string title) {
  for (char& c : title)
    if (c == '/' || c == '\\' || c == ':') c = '_';
  return title;
}

std::string LogPathFor(const std::string& projectFile, const std::string& workingFolder,
                       const std::string& title) {
  if (!projectFile.empty()) {
    const auto dot = projectFile.find_last_of('.');
    const auto sep = projectFile.find_last_of('/');
    if (dot != std::string::npos && (sep == std::string::npos || dot > sep))
      return projectFile.substr(0, dot + 1) + "log";
    return projectFile + ".log";
  }
  if (workingFolder.empty()) return {};
  std::string folder = workingFolder;
  if (folder.back() != '/') folder += '/';
  return folder + TitleInFileName(title) + ".log";
}

void CQNDownloadLog::SetPath(std::string path) {
  std::lock_guard guard(lock_);
  path_ = std::move(path);
}

std::string CQNDownloadLog::Path() const {
  std::lock_guard guard(lock_);
  return path_;
}

bool CQNDownloadLog::Reset() {
  {
    std::lock_guard guard(lock_);
    if (path_.empty()) return false;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), ec);
    if (!FilePtr(std::fopen(path_.c_str(), "wb"))) return false;
  }
  if (observer_) observer_->OnLogText({});
  return true;
}

void CQNDownloadLog::WriteLine(LogKind kind, const std::string& text) {
  Append(kind, text);
}

bool CQNDownloadLog::Append(LogKind kind, const std::string& text) {
  std::lock_guard guard(lock_);
  if (path_.empty()) return false;
  FilePtr file(std::fopen(path_.c_str(), "ab"));
  if (!file) return false;
  const std::string entry = Entry(kind, text);
  if (std::fwrite(entry.data(), 1, entry.size(), file.get()) != entry.size()) return false;
  file.reset();
  // The pane is told under the lock so that it sees the entries in file order.
  if (observer_) observer_->OnLogText(entry);
  return true;
}

std::string CQNDownloadLog::LoadForDisplay(const QNTexts& texts) const {
  const std::string path = Path();
  FilePtr file(std::fopen(path.c_str(), "rb"));
  if (!file) return {};
  const std::string note = texts.Text(kMsgLogTooBig);
  const std::size_t limit = kLogPaneLimit - note.size() - 2;
  std::string text(limit + 1, '\0');
  const std::size_t got = std::fread(text.data(), 1, text.size(), file.get());
  text.resize(got);
  if (got > limit) {
    text.resize(limit);
    text += "\r\n" + note;
  }
  return text;
}

bool CQNDownloadLog::MoveTo(const std::string& newPath) {
  std::lock_guard guard(lock_);
  std::error_code ec;
  if (!path_.empty() && path_ != newPath && std::filesystem::exists(path_, ec)) {
    std::filesystem::rename(path_, newPath, ec);
    if (ec) {
      // Across file systems a rename fails; copy, then remove the old log.
      std::filesystem::copy_file(path_, newPath, std::filesystem::copy_options::overwrite_existing,
                                 ec);
      if (ec) return false;
      std::filesystem::remove(path_, ec);
    }
  }
  path_ = newPath;
  return true;
}

std::string MakeStartedText(const QNTexts& texts, bool preview, const std::string& timeText) {
  return texts.Format(preview ? kMsgPreviewStarted : kMsgDownloadStarted, timeText);
}

std::string MakeCompletedText(const QNTexts& texts, bool preview, const std::string& timeText) {
  return texts.Format(preview ? kMsgPreviewCompleted : kMsgDownloadCompleted, timeText);
}

std::string MakeStoppedText(const QNTexts& texts, bool preview, const std::string& timeText,
                            int stopReason) {
  std::string text = texts.Format(preview ? kMsgPreviewStopped : kMsgDownloadStopped, timeText);
  static constexpr int kReasonIds[] = {0, kMsgFileLimit, kMsgTimeLimit, kMsgDiskSpaceLimit};
  if (stopReason >= 1 && stopReason <= 3) text += texts.Text(kReasonIds[stopReason]);
  return text;
}

std::string MakeSummaryText(const QNTexts& texts, int files, std::uint64_t bytes) {
  return texts.Format(kMsgSummary, files, FormatSizeText(texts, bytes));
}

}  // namespace qn

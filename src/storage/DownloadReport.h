#pragma once

// The HTML report of a download: a header when the run starts, one table row per
// file as the workers finish it, and the closing tags at the end, each appended on
// its own so that the report of an interrupted run reads up to its last row.

#include <ctime>
#include <mutex>
#include <string>
#include <vector>

#include "storage/ReportEntry.h"
#include "text/Texts.h"

namespace qn {

struct CQNSettings;

// What the header tells about the project.
struct QNReportHeader {
  std::string projectFile;
  std::string title;
  std::vector<std::string> startAddresses;  // those in use
  std::string projectDir;                   // as entered, placeholders kept
  std::string started;                      // time text of the start
};

// The report's path: the project folder with its date and time placeholders filled
// from `now`, "_QNReport/", the title and "_Report.htm". Empty for an empty folder.
// Separators and other characters a file name cannot hold are replaced in the
// title, so that a title never names a file outside the report folder.
std::string ReportPathFor(const std::string& projectDir, const std::string& title,
                          const std::tm& now);

// The header of a project's report: the start addresses in use and the other values.
QNReportHeader MakeReportHeader(const CQNSettings& settings, const std::string& projectFile,
                                std::string started);

class CQNDownloadReport {
 public:
  explicit CQNDownloadReport(QNTexts texts);

  // With QN_REPORT on: fixes the path from the settings and `now` (and takes the
  // login password that rows are to hide), makes the missing
  // folders, truncates the report and writes the logo beside it. False when the path
  // is empty or the file cannot be made; every later append then does nothing. True
  // without doing anything when the setting is off.
  bool Start(const CQNSettings& settings, const std::tm& now);
  // The same for a given path (QN_REPORT on).
  bool StartAt(const std::string& path);

  void WriteHeader(const QNReportHeader& header);
  void WriteRow(const QNReportEntry& entry);
  void WriteEnd();

  // Whether the report file can be opened for reading.
  bool Exists() const;
  std::string Path() const;

  // The fragments, as the appends write them.
  std::string HeaderText(const QNReportHeader& header) const;
  std::string RowText(const QNReportEntry& entry) const;
  static std::string EndText();

 private:
  // Opens the existing report without truncating it, appends and closes, under the
  // report lock; quietly nothing when the file is missing or a write fails.
  void Append(const std::string& fragment);

  const QNTexts texts_;
  mutable std::mutex lock_;
  std::string path_;
  std::string password_;  // the login password, which no row shows
};

}  // namespace qn

#include "app/ProjectSession.h"

#include <ctime>

#include "project/ProjectFile.h"
#include "project/ProjectOpen.h"
#include "storage/ProjectArchives.h"
#include "text/MessageIds.h"
#include "text/TimeText.h"

namespace qn {

QNProjectSession::QNProjectSession(IQNObserver& observer, QNTexts texts)
    : log(&observer),
      report(texts),
      doc(settings, observer, log, texts),
      observer_(observer),
      texts_(std::move(texts)) {}

void QNProjectSession::Close() {
  doc.ForcedStop();
  doc.ClearTree();
}

void QNProjectSession::NewProject(const std::string& lastFilesDir, const std::string& programDir) {
  Close();
  settings.ResetToDefaults(lastFilesDir, programDir);
  doc.CreateRoot();
  path_.clear();
  doc.TreeReplaced();
}

bool QNProjectSession::Open(const std::string& path, const std::string& programDir, bool unattended,
                            const QNOpenExtras& extras) {
  Close();
  std::string opened = path;
  log.SetPath(LogPathFor(opened, {}, {}));
  QNOpenContext context;
  context.programDir = programDir;
  context.lastFilesDir = extras.lastFilesDir;
  context.addRecent = extras.addRecent;
  context.showWait = [this](bool shown) {
    observer_.ShowWait(texts_.Text(kMsgOpeningWait), shown);
  };
  context.messages.observer = &observer_;
  context.messages.texts = texts_;
  if (unattended) context.messages.unattendedLog = &log;
  context.decryptProject = ProjectDecryptor(settings, Messenger());
  context.decryptDownloads = DownloadsDecryptor(Messenger());
  if (!OpenDocumentFile(opened, settings, doc.Tree(), context)) return false;
  path_ = opened;
  log.SetPath(LogPathFor(path_, {}, {}));
  doc.TreeReplaced();
  return true;
}

void QNProjectSession::SetPath(const std::string& path) {
  path_ = path;
  log.MoveTo(LogPathFor(path_, {}, {}));
}

bool QNProjectSession::Save(std::string& error) {
  if (path_.empty()) {
    error = "the project has no file name";
    return false;
  }
  auto tree = doc.Locks().Hold(DocLock::Tree);
  auto queue = doc.Locks().Hold(DocLock::Queue);
  if (!WriteProjectFile(path_, settings, doc.Tree(), error)) return false;
  doc.modified = doc.run.running.load();
  return true;
}

QNProjectFiles QNProjectSession::Files() {
  QNProjectFiles files{path_, log.Path(), report.Path(), {}};
  auto tree = doc.Locks().Hold(DocLock::Tree);
  files.downloadFolder = DownloadFolderOf(settings);
  // Before any run of this session the report is where a run today would put it.
  if (files.report.empty() && settings.QN_REPORT) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    files.report = ReportPathFor(settings.QN_PROJECT_DIR, settings.QN_TITLE, local);
  }
  return files;
}

bool QNProjectSession::EncryptOnClose() {
  return qn::EncryptOnClose(Files(), settings, doc.Tree(), Messenger());
}

std::string QNProjectSession::LastRunSaveError() {
  std::lock_guard lock(errorMutex_);
  return runSaveError_;
}

void QNProjectSession::ResetLog() {
  std::string folder;
  std::string title;
  {
    auto tree = doc.Locks().Hold(DocLock::Tree);
    folder = settings.DownloadDir;
    title = settings.QN_TITLE;
  }
  log.SetPath(LogPathFor(path_, folder, title));
  log.Reset();
}

QNConversionResult QNProjectSession::ConvertLinks(const std::string& programDir,
                                                  const QNConversionProgress& goOn) {
  const CQNSettings current = doc.SettingsCopy();
  QNConversionProgress status = StatusLineProgress(observer_, texts_.Text(kMsgConverting));
  // A stop asked for while the links of a run are converted ends the conversion
  // between two files (each file is replaced whole or not at all); a stop that ended
  // the download itself does not keep its pages from being converted.
  const bool stoppedBefore = doc.run.stopRequest;
  return ConvertProject(doc.Tree(), current, programDir, [&](int percent) {
    return status(percent) && (stoppedBefore || !doc.run.stopRequest) && (!goOn || goOn(percent));
  });
}

void QNProjectSession::InstallRunHooks(QNRunEnvironment& environment) {
  environment.hooks.resetLog = [this] { ResetLog(); };
  environment.hooks.createReport = [this] {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    report.Start(doc.SettingsCopy(), local);
  };
  environment.hooks.reportHeader = [this] {
    report.WriteHeader(MakeReportHeader(doc.SettingsCopy(), path_, CurrentTimeText(texts_)));
  };
  environment.hooks.reportRow = [this](const QNReportEntry& entry) { report.WriteRow(entry); };
  environment.hooks.reportFooter = [this] { report.WriteEnd(); };
  // The environment is handed on to the document after this, so what the conversion
  // needs of it is copied.
  environment.hooks.convertLinks = [this, programDir = environment.programDir] {
    ConvertLinks(programDir);
  };
  environment.hooks.saveProject = [this] {
    if (path_.empty()) return;
    std::string error;
    if (Save(error)) return;
    std::lock_guard lock(errorMutex_);
    runSaveError_ = error;
  };
}

}  // namespace qn

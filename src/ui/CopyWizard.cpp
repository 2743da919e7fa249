#include "ui/CopyWizard.h"

#include <QApplication>
#include <QProgressDialog>

#include "app/Application.h"
#include "text/MessageIds.h"
#include "ui/CopyJob.h"
#include "ui/DialogTexts.h"
#include "ui/MessageBox.h"
#include "ui/SheetButtons.h"
#include "ui/StopProgress.h"
#include "ui/WaitCursor.h"
#include "ui/WizardIds.h"

namespace qn {

CQNCopyWiz::CQNCopyWiz(const std::string& projectFile, const std::string& lastCopyDir,
                       const QNTexts& texts, QNWarn warn, QWidget* parent)
    : QWizard(parent) {
  setWindowTitle(tr("Copy Project"));
  TagDialog(this, kDlgCopyWiz);
  setWizardStyle(QWizard::ClassicStyle);
  setOption(QWizard::NoBackButtonOnStartPage);
  const std::vector<QWizardPage*> pages = {new QNCopyWizTargetPage(texts),
                                           new QNCopyWizFilesPage(request_, std::move(warn)),
                                           new QNCopyWizFolderPage(request_, lastCopyDir, texts),
                                           new QNCopyWizReadyPage(request_, projectFile, texts)};
  for (QWizardPage* page : pages) {
    addPage(page);
    TranslateDialog(page, texts);
  }
  TranslateDialog(this, texts);
  TranslateSheetButtons(*this, texts);
}

bool RunCopyProject(CQNApp& app, QWidget* parent) {
  QNProjectSession& session = app.Session();
  const QNTexts& texts = app.Texts();
  QNWarn warn = [parent, &texts](int id) {
    AskUser(parent, QMessageBox::Warning, QApplication::applicationDisplayName(),
            QString::fromStdString(texts.Text(id)), QMessageBox::Ok, QMessageBox::Ok, texts);
  };
  CQNCopyWiz wizard(session.Path(), app.Options().options.LastCopyDir, texts, warn, parent);
  if (wizard.exec() != QDialog::Accepted) return false;
  app.Options().options.LastCopyDir = wizard.Request().destination;

  const std::unique_ptr<QProgressDialog> shown = MakeStopProgress(
      QNStopTask::kCopyProject, QString::fromStdString(texts.Text(kMsgCopying)), texts, parent);
  QProgressDialog& progress = *shown;
  progress.setRange(0, 100);
  progress.setMinimumDuration(0);
  progress.setAutoClose(false);
  progress.setAutoReset(false);
  QNCopyJob job;
  bool copied = false;
  QObject::connect(&job, &QNCopyJob::Progress, &progress, &QProgressDialog::setValue);
  QObject::connect(&progress, &QProgressDialog::canceled, &job, &QNCopyJob::Stop);
  QObject::connect(&job, &QNCopyJob::Finished, &progress, [&](bool result) {
    copied = result;
    progress.done(QDialog::Accepted);
  });
  const QNWaitCursor busy;
  job.Start(session.Files(), session.doc.Tree(), wizard.Request(), session.Messenger());
  progress.exec();
  return copied;
}

}  // namespace qn

// The main window's "Browser" and "Help" commands: the page view's navigation, the
// download report, finding the page shown in the tree, working offline.
#include <QAction>
#include <QApplication>
#include <QStatusBar>
#include <cstdlib>

#include "app/Application.h"
#include "app/ExternalBrowser.h"
#include "text/MessageIds.h"
#include "ui/CommandIds.h"
#include "ui/DialogTextTable.h"
#include "ui/GoToDialog.h"
#include "ui/MainFrame.h"
#include "ui/MessageBox.h"
#include "ui/PageView.h"
#include "ui/TreeCommands.h"
#include "web/Address.h"
#include "web/OfflineState.h"

namespace qn {

void CQNMainFrame::ConnectBrowserCommands() {
  connect(Command(kCmdGoTo), &QAction::triggered, this, &CQNMainFrame::GoTo);
  connect(Command(kCmdGoBack), &QAction::triggered, page_, &QWebEngineView::back);
  connect(Command(kCmdGoForward), &QAction::triggered, page_, &QWebEngineView::forward);
  connect(Command(kCmdStopBrowsing), &QAction::triggered, page_, &QWebEngineView::stop);
  connect(Command(kCmdRefreshView), &QAction::triggered, page_, &QWebEngineView::reload);
  for (int id = kCmdFontLargest; id <= kCmdFontSmallest; ++id)
    connect(Command(id), &QAction::triggered, this,
            [this, step = id - kCmdFontLargest] { page_->SetFontStep(step); });
  connect(Command(kCmdShowReport), &QAction::triggered, this, &CQNMainFrame::ShowDownloadReport);
  connect(Command(kCmdFindInContents), &QAction::triggered, this, &CQNMainFrame::FindInContents);
  connect(Command(kCmdWorkOffline), &QAction::toggled, this, &CQNMainFrame::WorkOffline);

  connect(page_->page(), &QWebEnginePage::linkHovered, this,
          [this](const QString& url) { statusBar()->showMessage(url); });
  connect(page_, &QNPageView::RefusedOffline, this, [this](const QUrl& url) {
    statusBar()->showMessage(DialogText(app_.Texts(), kTxtMainOffline).arg(url.toString()));
  });
}

void CQNMainFrame::GoTo() {
  QNOptionSections& options = app_.Options();
  QStringList history;
  for (const std::string& address : options.urlHistory.Entries())
    history.push_back(QString::fromStdString(address));
  QNGoToDialog dialog(history, app_.Texts(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  page_->ShowAddress(AddDefaultScheme(dialog.Address().toStdString()));
}

void CQNMainFrame::ShowDownloadReport() {
  QNProjectSession& session = app_.Session();
  const std::string report = session.Files().report;
  if (report.empty()) return;
  if (session.doc.SettingsCopy().QN_TR_EXTBR)
    OpenInBrowser(report);
  else
    page_->ShowAddress(report);
}

void CQNMainFrame::FindInContents() {
  const std::string file = page_->LocalFile();
  tree_->Find(file.empty() ? page_->url().toString().toStdString() : file, kFindLocalFiles, true,
              true);
}

void CQNMainFrame::WorkOffline(bool offline) {
  SetOffline(offline);
  UpdateCommands();
}

void CQNMainFrame::OpenInBrowser(const std::string& target) {
  QNBrowserLaunch launch{&desktop_, StartDetached, std::getenv, app_.Folders().current};
  if (!OpenInExternalBrowser(target, launch))
    ShowMessage(app_.Texts().Format(kMsgNoBrowser, target));
}

void CQNMainFrame::ContactMaker() {
  const QNTexts& texts = app_.Texts();
  if (const int message = ComposeContactMail(desktop_, texts.Text(kMsgMailSubject)))
    ShowMessage(texts.Text(message));
}

void CQNMainFrame::OpenWebSite() {
  OpenInBrowser(kMakerWebSite);
}

void CQNMainFrame::About() {
  MakeAboutBox(this, app_.Texts())->exec();
}

}  // namespace qn

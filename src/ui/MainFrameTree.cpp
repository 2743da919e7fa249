// The main window's commands on the contents tree: adding, deleting, marking and
// finding nodes, their properties, and the tree display's own commands.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>

#include "app/Application.h"
#include "ui/CommandIds.h"
#include "ui/ContentsPane.h"
#include "ui/FindDialog.h"
#include "ui/LogPane.h"
#include "ui/MainFrame.h"
#include "ui/MenuTexts.h"
#include "ui/PageView.h"
#include "ui/TreeCommands.h"

namespace qn {
namespace {

QStringList ToQStrings(const std::vector<std::string>& texts) {
  QStringList list;
  for (const std::string& text : texts) list.push_back(QString::fromStdString(text));
  return list;
}

}  // namespace

void CQNMainFrame::ConnectTreeCommands() {
  connect(Command(kCmdAddFolder), &QAction::triggered, this,
          [this] { tree_->AddNode(kNodeFolder); });
  connect(Command(kCmdAddLink), &QAction::triggered, this, [this] { tree_->AddNode(kNodeLink); });
  connect(Command(kCmdDeleteNode), &QAction::triggered, this, [this] {
    tree_->DeleteSelected();
    UpdateCommands();
  });
  connect(Command(kCmdSelectForDownload), &QAction::triggered, this,
          [this] { tree_->ToggleMarks(); });
  connect(Command(kCmdNodeProperties), &QAction::triggered, this,
          [this] { tree_->ShowProperties(); });
  connect(Command(kCmdFind), &QAction::triggered, this, &CQNMainFrame::ShowFindDialog);
  connect(Command(kCmdExpandTree), &QAction::triggered, contents_, &QNContentsPane::ExpandAll);
  connect(Command(kCmdCollapseTree), &QAction::triggered, contents_, &QNContentsPane::CollapseAll);
  connect(Command(kCmdTreeRoot), &QAction::triggered, contents_, &QNContentsPane::GoToRoot);
  connect(Command(kCmdUpdateTree), &QAction::triggered, contents_, &QNContentsPane::Rebuild);
  connect(Command(kCmdDeleteTree), &QAction::triggered, contents_, &QNContentsPane::ClearDisplay);
  connect(contents_, &QNContentsPane::NodeActivated, this, &CQNMainFrame::ShowNode);

  // The Delete key deletes nodes only where the nodes are; elsewhere it is the
  // field's own.
  Command(kCmdDeleteNode)->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  contents_->addAction(Command(kCmdDeleteNode));

  contents_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(contents_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    QMenu menu(this);
    FillContentsMenu(menu);
    menu.exec(contents_->viewport()->mapToGlobal(at));
  });

  // The clipboard commands act on the pane that has the focus.
  connect(Command(kCmdCopy), &QAction::triggered, this, [this] {
    if (page_->hasFocus() || page_->isAncestorOf(QApplication::focusWidget()))
      page_->triggerPageAction(QWebEnginePage::Copy);
    else if (log_->hasFocus())
      log_->copy();
    else if (contents_->hasFocus())
      QGuiApplication::clipboard()->setText(tree_->SelectedAddresses());
  });
  connect(Command(kCmdCut), &QAction::triggered, this,
          [this] { page_->triggerPageAction(QWebEnginePage::Cut); });
  connect(Command(kCmdPaste), &QAction::triggered, this,
          [this] { page_->triggerPageAction(QWebEnginePage::Paste); });
}

void CQNMainFrame::FillContentsMenu(QMenu& menu) {
  for (int id : std::initializer_list<int>{
           kCmdNodeProperties, 0, kCmdAddFolder, kCmdAddLink, kCmdDeleteNode, 0,
           kCmdSelectForDownload, kCmdDownloadBranch, kCmdAddUrlFilter, 0, kCmdPrintFolder}) {
    if (id == 0)
      menu.addSeparator();
    else
      menu.addAction(MirrorCommand(*Command(id), &menu));
  }
  TranslateMenu(&menu, kMenuContents, app_.Texts());
}

void CQNMainFrame::ShowFindDialog() {
  QNOptionSections& options = app_.Options();
  if (!find_) {
    find_ = new QNFindDialog(ToQStrings(options.findHistory.Entries()), app_.Texts(), this);
    connect(find_, &QNFindDialog::FindNext, this, [this] {
      QNOptionSections& sections = app_.Options();
      const std::string text = find_->Text().toStdString();
      if (sections.options.RemFind) {
        sections.findHistory.Add(text);
        find_->SetHistory(ToQStrings(sections.findHistory.Entries()));
      }
      tree_->Find(text, find_->Flags(), find_->Forward());
    });
  }
  find_->show();
  find_->raise();
  find_->activateWindow();
}

void CQNMainFrame::ShowNode(const QNNodeId& node) {
  const std::string address = tree_->AddressToShow(node);
  if (address.empty()) return;
  if (app_.Session().doc.SettingsCopy().QN_TR_EXTBR)
    OpenInBrowser(address);
  else
    page_->ShowAddress(address);
}

}  // namespace qn

#include "ui/TreeCommands.h"

#include <QStringList>
#include <algorithm>

#include "engine/Doc.h"
#include "text/MessageIds.h"
#include "ui/ContentsPane.h"
#include "ui/MessageBox.h"
#include "ui/NodeDialog.h"

namespace qn {
namespace {

QNNodeFacts FactsOf(const CQNDocNode& node) {
  return {node.title,
          node.url,
          node.localFile,
          QNNodeLook{node.kind, node.type, node.state.load(), node.mark.load(), Depth(&node)},
          node.size.load(),
          node.level};
}

// The start page a node was found under: its ancestor just below the root.
const CQNDocNode* StartPageOf(const CQNDocNode* node) {
  while (node && node->parent && node->parent->parent) node = node->parent;
  return node && node->parent ? node : nullptr;
}

}  // namespace

QNTreeCommands::QNTreeCommands(CQNDoc& doc, QNContentsPane& pane, QWidget& parent)
    : doc_(doc), pane_(pane), parent_(parent) {}

CQNDocNode* QNTreeCommands::ResolveCurrent() const {
  const auto current = pane_.CurrentNode();
  if (!current || !pane_.Usable()) return nullptr;
  return doc_.Tree().Resolve(*current);
}

bool QNTreeCommands::Ask(int id, bool preselectYes) const {
  const auto answer =
      AskUser(&parent_, QMessageBox::Question, parent_.windowTitle(),
              QString::fromStdString(doc_.Texts().Text(id)), QMessageBox::Yes | QMessageBox::No,
              preselectYes ? QMessageBox::Yes : QMessageBox::No, doc_.Texts());
  return answer == QMessageBox::Yes;
}

void QNTreeCommands::Tell(const std::string& text) const {
  AskUser(&parent_, QMessageBox::Information, parent_.windowTitle(), QString::fromStdString(text),
          QMessageBox::Ok, QMessageBox::Ok, doc_.Texts());
}

void QNTreeCommands::AddNode(int kind) {
  if (doc_.run.running || !pane_.CurrentNode()) return;
  QNNodeDialog dialog(kind, doc_.Texts(), &parent_);
  if (dialog.exec() != QDialog::Accepted) return;
  const QNNodeEdit edit = dialog.Edit();
  // The node the dialog was opened for, as it is now that the dialog has closed. No
  // run goes on, so only this thread changes the tree while the nodes go in.
  CQNDocNode* ref = nullptr;
  bool into = false;
  {
    auto lock = doc_.Locks().Hold(DocLock::Tree);
    ref = ResolveCurrent();
    if (!ref) return;
    // Into a folder that shows its children or has none; next to anything else.
    into = ref->kind == kNodeRoot ||
           (ref->kind == kNodeFolder && (!ref->firstChild || pane_.IsExpanded(NodeIdOf(*ref))));
  }
  std::vector<std::string> urls = edit.urls;
  if (urls.empty()) urls.emplace_back();
  // Every node goes next to the same reference node, so all get the same level;
  // put in behind it one by one, the last address goes in first.
  if (!into) std::reverse(urls.begin(), urls.end());
  std::vector<QNNodeId> added;
  for (const std::string& url : urls) {
    CQNDocNode* node = kind == kNodeFolder ? doc_.AddFolder(ref, into) : doc_.AddLink(ref, into);
    if (!node) break;
    {
      auto lock = doc_.Locks().Hold(DocLock::Tree);
      node->title = urls.size() > 1 || edit.title.empty() ? url : edit.title;
      node->SetUrl(url);
      node->type = edit.type;
      added.push_back(NodeIdOf(*node));
    }
    doc_.NodeChanged(node);
  }
  if (added.empty()) return;
  // The display takes the new nodes in now, so the first can be shown at once.
  pane_.Drain();
  pane_.ShowNode(into ? added.front() : added.back());
}

void QNTreeCommands::DeleteSelected() {
  if (doc_.run.running || !pane_.Usable()) return;
  std::vector<QNNodeId> nodes;
  int kind = 0;
  {
    auto lock = doc_.Locks().Hold(DocLock::Tree);
    for (const QNNodeId& id : pane_.SelectedNodes()) {
      const CQNDocNode* node = doc_.Tree().Resolve(id);
      if (!node || node == doc_.Tree().root) continue;
      nodes.push_back(id);
      kind = node->kind;
    }
  }
  if (nodes.empty()) return;
  const int question = nodes.size() > 1      ? kMsgDeleteLinks
                       : kind == kNodeFolder ? kMsgDeleteFolder
                                             : kMsgDeleteLink;
  if (!Ask(question, true)) return;
  const bool withFiles = Ask(kMsgDeleteDownloadedToo, false);
  std::vector<QNNodeId> deleted;
  for (const QNNodeId& id : nodes) {
    // A node below another selected one went with it already.
    CQNDocNode* node = nullptr;
    {
      auto lock = doc_.Locks().Hold(DocLock::Tree);
      node = doc_.Tree().Resolve(id);
    }
    if (node && doc_.DeleteNode(node, withFiles)) deleted.push_back(id);
  }
  pane_.RemoveNodes(deleted);
}

void QNTreeCommands::ToggleMarks() {
  if (doc_.run.running || !pane_.Usable()) return;
  std::vector<const CQNDocNode*> changed;
  {
    auto lock = doc_.Locks().Hold(DocLock::Tree);
    for (const QNNodeId& id : pane_.SelectedNodes()) {
      CQNDocNode* node = doc_.Tree().Resolve(id);
      if (!node || node == doc_.Tree().root) continue;
      node->mark = node->mark == kMarkSelected ? kMarkNone : kMarkSelected;
      changed.push_back(node);
    }
  }
  // Told after the tree lock is let go: the notification takes a lock of its own.
  for (const CQNDocNode* node : changed) doc_.NodeChanged(node);
}

void QNTreeCommands::ShowProperties() {
  QNNodeFacts facts;
  {
    auto lock = doc_.Locks().Hold(DocLock::Tree);
    const CQNDocNode* node = ResolveCurrent();
    if (!node) return;
    facts = FactsOf(*node);
  }
  // A run's threads write the nodes they work on: the properties are then only shown.
  const bool editable = !doc_.run.running;
  QNNodeDialog dialog(facts, editable, doc_.Texts(), &parent_);
  if (dialog.exec() != QDialog::Accepted || !editable || doc_.run.running) return;
  const QNNodeEdit edit = dialog.Edit();
  CQNDocNode* node = nullptr;
  {
    auto lock = doc_.Locks().Hold(DocLock::Tree);
    node = ResolveCurrent();
    if (!node) return;
    if (edit.title == node->title && edit.urls.front() == node->url && edit.type == node->type)
      return;
    node->title = edit.title;
    node->SetUrl(edit.urls.front());
    node->type = edit.type;
  }
  doc_.modified = true;
  doc_.NodeChanged(node);
}

bool QNTreeCommands::Find(const std::string& text, int flags, bool forward, bool fromRoot) {
  if (!pane_.Usable() || text.empty()) return false;
  std::optional<QNNodeId> found;
  {
    auto lock = doc_.Locks().Hold(DocLock::Tree);
    const CQNDocTree& tree = doc_.Tree();
    const CQNDocNode* start = fromRoot ? nullptr : ResolveCurrent();
    if (!start) start = tree.root;
    if (const CQNDocNode* node = start ? tree.FindText(start, text, flags, forward) : nullptr)
      found = NodeIdOf(*node);
  }
  if (found && pane_.ShowNode(*found)) return true;
  const int miss = flags == kFindLocalFiles ? kMsgFileNotFound : kMsgStringNotFound;
  Tell(doc_.Texts().Format(miss, text));
  return false;
}

QString QNTreeCommands::SelectedAddresses() const {
  QStringList addresses;
  auto lock = doc_.Locks().Hold(DocLock::Tree);
  for (const QNNodeId& id : pane_.SelectedNodes())
    if (const CQNDocNode* node = doc_.Tree().Resolve(id); node && !node->url.empty())
      addresses.push_back(QString::fromStdString(node->url));
  return addresses.join('\n');
}

std::string QNTreeCommands::AddressToShow(const QNNodeId& id) const {
  auto lock = doc_.Locks().Hold(DocLock::Tree);
  const CQNDocNode* node = doc_.Tree().Resolve(id);
  if (!node) return {};
  return node->localFile.empty() ? node->url : node->localFile;
}

QNTreeCommands::PagesToPrint QNTreeCommands::FolderPages() const {
  const CQNSettings settings = doc_.SettingsCopy();
  auto lock = doc_.Locks().Hold(DocLock::Tree);
  const CQNDocNode* node = ResolveCurrent();
  if (!node) return {};
  const CQNDocNode* start = StartPageOf(node);
  return {PrintPagesOf(*node), start ? start->url : settings.QN_START_URL[0]};
}

}  // namespace qn

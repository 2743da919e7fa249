#include "engine/Doc.h"

#include "text/NoCase.h"
#include "web/Address.h"

namespace qn {

CQNDoc::CQNDoc(CQNSettings& settings, IQNObserver& observer, IQNLogSink& log, QNTexts texts)
    : settings_(settings), observer_(observer), log_(log), texts_(std::move(texts)) {}

void CQNDoc::SetCurrentStart(int index, std::string_view startAddress) {
  auto tree = locks_.Hold(DocLock::Tree);
  auto queue = locks_.Hold(DocLock::Queue);
  startIndex_ = index;
  startDir_ = startAddress.empty() ? std::string() : GetBaseDirectory(startAddress);
  scope_.startServer = GetServerName(startAddress).value_or("");
  // A start address without a scheme is completed as the primary worker completes it.
  const std::string start(startAddress);
  scope_.localStart =
      StartsWithNoCase(IsAbsoluteAddress(start) ? start : AddDefaultScheme(start), "file:");
}

std::string CQNDoc::StartDirectory() const {
  auto tree = locks_.Hold(DocLock::Tree);
  return startDir_;
}

void CQNDoc::SetDownloadKind(int kind) {
  auto tree = locks_.Hold(DocLock::Tree);
  auto queue = locks_.Hold(DocLock::Queue);
  scope_.downloadKind = kind;
}

void CQNDoc::SetPreview(bool preview) {
  auto tree = locks_.Hold(DocLock::Tree);
  auto queue = locks_.Hold(DocLock::Queue);
  scope_.preview = preview;
}

void CQNDoc::SetBranch(CQNDocNode* node) {
  auto tree = locks_.Hold(DocLock::Tree);
  auto queue = locks_.Hold(DocLock::Queue);
  branch_ = node == tree_.root ? nullptr : node;
}

QNFilterScope CQNDoc::FilterScope() const {
  auto tree = locks_.Hold(DocLock::Tree);
  return scope_;
}

CQNDocNode* CQNDoc::CreateRoot() {
  // A new root discards the nodes there were; nothing may keep one.
  DropUrlMap();
  auto tree = locks_.Hold(DocLock::Tree);
  auto queue = locks_.Hold(DocLock::Queue);
  branch_ = nullptr;
  return tree_.CreateRoot(RootTitle(texts_, settings_.QN_TITLE));
}

void CQNDoc::ClearTree() {
  {
    auto view = locks_.Hold(DocLock::ViewReset);
    observer_.OnTreeUsable(false);
    observer_.OnTreeCleared();
  }
  DropUrlMap();
  auto tree = locks_.Hold(DocLock::Tree);
  auto queue = locks_.Hold(DocLock::Queue);
  branch_ = nullptr;
  tree_.Clear();
}

CQNDocNode* CQNDoc::AddFolder(CQNDocNode* ref, bool into) {
  return AddUserNode(kNodeFolder, ref, into, {});
}

CQNDocNode* CQNDoc::AddLink(CQNDocNode* ref, bool into, std::string_view localFile) {
  return AddUserNode(kNodeLink, ref, into, localFile);
}

CQNDocNode* CQNDoc::AddUserNode(int kind, CQNDocNode* ref, bool into, std::string_view localFile) {
  CQNDocNode* node = nullptr;
  {
    auto tree = locks_.Hold(DocLock::Tree);
    if (!tree_.root || tree_.IsFull()) return nullptr;
    node = tree_.NewNode();
    node->kind = kind;
    node->localFile = localFile;
    if (!ref || ref == tree_.root) {
      node->level = 0;
    } else if (ref->level < kUnset - 1) {
      node->level = ref->level + 1;
    }
    InsertPrepared(node, ref, into);
  }
  NotifyAdded(node);
  return node;
}

CQNDocNode* CQNDoc::InsertPrepared(CQNDocNode* node, CQNDocNode* ref, bool into) {
  auto queue = locks_.Hold(DocLock::Queue);
  const std::uint64_t before = tree_.Changes();
  tree_.Insert(node, ref, into);
  queue_.Inserted(node, tree_, before);
  modified = true;
  return node;
}

bool CQNDoc::DeleteNode(CQNDocNode* node, bool deleteFiles) {
  if (run.running || !node || node == tree_.root) return false;
  auto tree = locks_.Hold(DocLock::Tree);
  {
    // The map would keep the deleted addresses; it is rebuilt when a run starts.
    auto map = locks_.Hold(DocLock::UrlMap);
    urlMap_.Drop();
  }
  auto queue = locks_.Hold(DocLock::Queue);
  if (branch_ && IsInside(branch_, node)) branch_ = nullptr;
  tree_.Delete(node, deleteFiles);
  modified = true;
  return true;
}

bool CQNDoc::MoveNode(CQNDocNode* node, CQNDocNode* after) {
  auto tree = locks_.Hold(DocLock::Tree);
  auto queue = locks_.Hold(DocLock::Queue);
  if (!tree_.Move(node, after)) return false;
  modified = true;
  return true;
}

void CQNDoc::NodeChanged(const CQNDocNode* node) {
  if (!node) return;
  auto notify = locks_.Hold(DocLock::NodeNotify);
  observer_.OnNodeChanged(node);
}

void CQNDoc::NotifyAdded(const CQNDocNode* node) {
  auto notify = locks_.Hold(DocLock::NodeNotify);
  observer_.OnNodeAdded(node);
}

void CQNDoc::ResetCounters() {
  {
    auto lock = locks_.Hold(DocLock::FileCount);
    counters_.files = 0;
  }
  {
    auto lock = locks_.Hold(DocLock::AttemptCount);
    counters_.attempts = 0;
  }
  auto lock = locks_.Hold(DocLock::ByteTotal);
  counters_.bytes = 0;
}

void CQNDoc::CountFile() {
  auto lock = locks_.Hold(DocLock::FileCount);
  ++counters_.files;
}

void CQNDoc::CountAttempt(int delta) {
  auto lock = locks_.Hold(DocLock::AttemptCount);
  counters_.attempts += delta;
}

void CQNDoc::CountBytes(std::int64_t bytes) {
  auto lock = locks_.Hold(DocLock::ByteTotal);
  counters_.bytes += bytes;
}

CQNRunCounters CQNDoc::Counters() {
  CQNRunCounters copy;
  {
    auto lock = locks_.Hold(DocLock::FileCount);
    copy.files = counters_.files;
  }
  {
    auto lock = locks_.Hold(DocLock::AttemptCount);
    copy.attempts = counters_.attempts;
  }
  auto lock = locks_.Hold(DocLock::ByteTotal);
  copy.bytes = counters_.bytes;
  return copy;
}

QNTreeStats CQNDoc::Statistics(int typeMask) {
  QNTreeStats stats;
  {
    auto tree = locks_.Hold(DocLock::Tree);
    stats = TreeStatistics(tree_, typeMask);
  }
  if (run.running) {
    const CQNRunCounters counters = Counters();
    stats.done = counters.files;
    stats.bytes = counters.bytes;
  }
  return stats;
}

QNStartModeStats CQNDoc::StartModeStatistics() {
  auto tree = locks_.Hold(DocLock::Tree);
  const QNStartModeStats stats = qn::StartModeStatistics(tree_, [this](CQNDocNode& node) {
    return PassesEligibility(node, settings_, scope_) && PassesLevel(node, settings_, scope_);
  });
  // The filter test gives mark 2 to the addresses it admits, which moves them ahead
  // under QN_DOWN.
  auto queue = locks_.Hold(DocLock::Queue);
  queue_.Invalidate();
  return stats;
}

}  // namespace qn

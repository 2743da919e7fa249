#include "engine/Doc.h"

#include <algorithm>
#include <ctime>

#include "text/NoCase.h"
#include "text/SizeText.h"
#include "web/Address.h"

namespace qn {
namespace {

// How often a wait for the tree display asks whether to give up.
constexpr auto kTreeReadyPoll = std::chrono::milliseconds(100);

}  // namespace

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
  ResetDisplay(false);
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

void CQNDoc::NodeChanged(const CQNDocNode* node, bool subtree) {
  if (node) NotifyChanged(NodeIdOf(*node), subtree);
}

void CQNDoc::NotifyChanged(const QNNodeId& node, bool subtree) {
  auto notify = locks_.Hold(DocLock::NodeNotify);
  observer_.OnNodeChanged(node, subtree);
}

void CQNDoc::NotifyAdded(const CQNDocNode* node) {
  auto notify = locks_.Hold(DocLock::NodeNotify);
  observer_.OnNodeAdded(NodeIdOf(*node));
}

void CQNDoc::ResolveNodes(std::span<const QNNodeId> ids,
                          const std::function<void(const QNNodeId&, const CQNDocNode*)>& read) {
  auto tree = locks_.Hold(DocLock::Tree);
  for (const QNNodeId& id : ids) read(id, tree_.Resolve(id));
}

void CQNDoc::TreeReplaced() {
  ResetDisplay(true);
}

void CQNDoc::ResetDisplay(std::optional<bool> usable) {
  const bool shown = observer_.ShowsTree();
  {
    auto view = locks_.Hold(DocLock::ViewReset);
    if (usable) {
      treeUsable_ = *usable;
      observer_.OnTreeUsable(*usable);
    }
    if (shown) treeReady_.Reset();
    observer_.OnTreeCleared();
  }
  if (!shown) TreeDisplayReady();
}

void CQNDoc::TreeDisplayReady() {
  treeReady_.Set();
  // A display rebuilt while the tree is discarded shows nothing to start from.
  if (treeUsable_) observer_.OnTreeReady();
}

bool CQNDoc::WaitTreeReady(const std::function<bool()>& giveUp) {
  return treeReady_.Wait(giveUp, kTreeReadyPoll);
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

void CQNDoc::FillCounts(QNStatus& status) {
  const CQNRunCounters counters = Counters();
  if (status.mask & QNStatus::kFileCount) {
    status.files = counters.files;
    status.fileCountText = std::to_string(counters.files);
  }
  if (status.mask & QNStatus::kTotalSize) {
    status.bytes = counters.bytes;
    status.totalSizeText = FormatSizeText(texts_, static_cast<std::uint64_t>(counters.bytes));
    const std::int64_t seconds = static_cast<std::int64_t>(std::time(nullptr)) - run.startTime;
    status.bytesPerSecond = static_cast<double>(counters.bytes) /
                            static_cast<double>(std::max<std::int64_t>(seconds, 1));
  }
  if (status.mask & QNStatus::kLinkCount) {
    status.links = NodeCount();
    status.linkCountText = std::to_string(status.links);
  }
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

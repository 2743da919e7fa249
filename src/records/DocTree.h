#pragma once

// The contents tree: one node per address the download has met, arranged by the
// page it was found in. The same nodes are the download queue and the site map,
// and they are saved with the project.

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "seams/NodeId.h"

namespace qn {

class QNTexts;

// Node kinds.
constexpr int kNodeRoot = 1;
constexpr int kNodeFolder = 2;
constexpr int kNodeLink = 3;

// Download states.
constexpr int kStatePending = 0;
constexpr int kStateTaken = 1;
constexpr int kStateDone = 2;
constexpr int kStateFailed = 3;
// As the old state of a bulk change: every node, whatever its state.
constexpr int kStateAny = 4;

// Marks.
constexpr int kMarkNone = 0;
constexpr int kMarkSelected = 1;  // chosen for the next download
constexpr int kMarkAdmitted = 2;  // let through by an including URL filter

// Value of an unset site position or level.
constexpr int kUnset = 2147483647;
// Site positions at or below this lie on another server than the start address.
constexpr int kOffsiteBase = -1073741824;
// The tree holds at most this many nodes besides the root.
constexpr int kMaxNodes = 100000;

// Find-text flags.
enum FindFlags : int {
  kFindTitles = 1,
  kFindUrls = 2,
  kFindLocalFiles = 4,
  kFindWholeWord = 8,
  kFindMatchCase = 16,
};

// One end of a node in the tree-order list (TreeOrder.h): labels that grow in
// pre-order, so that two nodes compare in tree order in constant time. Plain data
// kept by the download queue under the document's queue lock.
struct QNOrderEntry {
  std::uint64_t label = 0;
  QNOrderEntry* prev = nullptr;
  QNOrderEntry* next = nullptr;
};

// One address (or user folder) of the project. Plain data: the tree owns every
// node, and the four links are non-owning. State, mark, tries and size are written
// by the worker that has taken the node while other threads read them (and the user
// interface toggles marks), so they are atomic; every other member is set before the
// node is linked into the tree, or later under the document's tree lock.
class CQNDocNode {
 public:
  CQNDocNode() = default;
  CQNDocNode(const CQNDocNode&) = delete;
  CQNDocNode& operator=(const CQNDocNode&) = delete;

  // The members every walk reads come first, close together: a walk over a large
  // tree is bound by fetching nodes from memory.
  CQNDocNode* prevSibling = nullptr;
  CQNDocNode* nextSibling = nullptr;
  CQNDocNode* parent = nullptr;
  CQNDocNode* firstChild = nullptr;
  std::atomic<int> state{kStatePending};
  std::atomic<int> mark{kMarkNone};
  int kind = 0;          // kNodeRoot, kNodeFolder or kNodeLink
  int type = 0;          // file-type category bit; 0 not yet known
  int wanted = 1;        // 1 when the file extension lets the address be fetched
  int sitePos = kUnset;  // position relative to the current start directory
  int level = kUnset;    // link depth from the start page
  std::atomic<int> tries{0};
  std::atomic<std::int64_t> size{0};  // bytes of the last fetched file

  std::string title;            // text shown in the tree
  std::string url;              // absolute address without "#" fragment
  std::string localFile;        // full path of the saved file; empty while nothing is saved
  std::uintptr_t viewItem = 0;  // the display's handle for this node; never saved
  // Where the node and its subtree begin and end in tree order; never saved.
  QNOrderEntry orderOpen;
  QNOrderEntry orderClose;
  // The server's validator (ETag) of the saved file, sent back when the file is
  // fetched again; empty when the server gave none. Set under the tree lock.
  std::string etag;

  // Pre-order number of the node and of its four neighbours (-1 for none); used only
  // while the project file is written or read.
  int ordinal = 0;
  int prevOrdinal = 0;
  int nextOrdinal = 0;
  int parentOrdinal = 0;
  int childOrdinal = 0;

  // The node's place in the tree's storage and its generation (0 while the place
  // holds no node): its identity, set by the tree.
  std::uint32_t slot = 0;
  std::uint32_t generation = 0;

  // Sets the URL, cutting any "#" fragment.
  void SetUrl(std::string_view address);
};

// The identity of a node, read by whoever may read the node.
inline QNNodeId NodeIdOf(const CQNDocNode& node) {
  return {node.slot, node.generation};
}

// The container. The tree owns its nodes in blocks held by unique pointers; links
// between nodes never own. `count` excludes the root.
class CQNDocTree {
 public:
  CQNDocTree() = default;
  CQNDocTree(const CQNDocTree&) = delete;
  CQNDocTree& operator=(const CQNDocTree&) = delete;

  CQNDocNode* root = nullptr;
  int count = 0;
  // While a project file is read: the nodes created so far, in file order.
  std::vector<CQNDocNode*> readNodes;

  // A new node owned by the tree and linked nowhere (used by the project file
  // reader and by the add operations). The count is not changed.
  CQNDocNode* NewNode();
  // Destroys every node, root included; the count becomes 0.
  void Clear();
  // The node of an identity: null when the node is gone (deleted, or the tree
  // cleared since) or for the none value. Under the tree lock.
  CQNDocNode* Resolve(const QNNodeId& id) const;
  // Number of nodes the tree owns, linked or not.
  std::size_t StoredNodes() const { return live_; }
  // Grows with every change of the tree's shape and every bulk change of states or
  // marks, so that a structure built from the tree can tell whether it still holds.
  std::uint64_t Changes() const { return changes_; }

  // Creates the root with `title` (see RootTitle). An existing tree is cleared first.
  CQNDocNode* CreateRoot(std::string_view title);

  // Insertion rule: `node` (new, unlinked) becomes the last child of `ref` when `ref`
  // is the root or a folder and `into` is set; otherwise it follows `ref` as its next
  // sibling. The count grows by one.
  void Insert(CQNDocNode* node, CQNDocNode* ref, bool into);
  // `node` (new, unlinked) becomes the last child of `parent`; the count is not changed.
  void InsertLast(CQNDocNode* node, CQNDocNode* parent);
  // A folder or link with an empty title inserted by the insertion rule; nothing
  // when the tree is full or there is no root.
  CQNDocNode* AddFolder(CQNDocNode* ref, bool into);
  CQNDocNode* AddLink(CQNDocNode* ref, bool into, std::string_view localFile);
  bool IsFull() const { return count >= kMaxNodes; }

  // Unlinks `node` with its subtree and destroys it; with `deleteFiles` the saved
  // files go too, each with its folder when that is left empty. The root cannot be
  // deleted this way (use Clear).
  void Delete(CQNDocNode* node, bool deleteFiles);
  // Moves `node` with its subtree to directly after `after`, under `after`'s parent.
  // Refused (false) when that would put a node inside its own subtree.
  bool Move(CQNDocNode* node, CQNDocNode* after);

  // Lookups.
  CQNDocNode* FindByUrl(std::string_view url, int speedLevel = 10) const;
  CQNDocNode* FindText(const CQNDocNode* start, std::string_view text, int flags,
                       bool forward) const;
  CQNDocNode* ChildByPosition(int n) const;  // n-th child of the root, from 1
  CQNDocNode* LastNode() const;              // last node in pre-order

  // Bulk changes over a subtree (the whole tree when `subtree` is null).
  void SetStates(CQNDocNode* subtree, int newState, int oldState);
  void SetMarks(CQNDocNode* subtree, int state, int mark);

  // Number of nodes of type HTML in the subtree.
  int CountPages(const CQNDocNode* subtree) const;

 private:
  void Unlink(CQNDocNode* node);
  void Destroy(CQNDocNode* node);
  // Nodes are made in blocks, so that the nodes of one page lie side by side in
  // memory: a walk over a large tree is bound by fetching nodes. A destroyed node's
  // place is reused.
  static constexpr std::size_t kBlockNodes = 1024;
  std::vector<std::unique_ptr<CQNDocNode[]>> blocks_;
  std::size_t usedInLastBlock_ = kBlockNodes;
  std::vector<CQNDocNode*> free_;
  std::size_t live_ = 0;
  std::uint64_t changes_ = 0;
  // The last generation given; never reset, so no identity is given twice (it would
  // take four billion nodes made in one document's life to come round).
  std::uint32_t lastGeneration_ = 0;
  // The child appended last and its parent (cleared whenever nodes are unlinked).
  CQNDocNode* appendParent_ = nullptr;
  CQNDocNode* appendLast_ = nullptr;
};

// The root's title for a project titled `projectTitle`: that title, or "New Project"
// when it is empty.
std::string RootTitle(const QNTexts& texts, std::string_view projectTitle);

// Number of parent steps from the node's parent up to the root.
int Depth(const CQNDocNode* node);
// Whether `ancestor` is `node` itself or one of its parents.
bool IsInside(const CQNDocNode* node, const CQNDocNode* ancestor);

}  // namespace qn

#include "records/DocTree.h"

#include <algorithm>
#include <memory>

#include "records/TreeFiles.h"
#include "records/TreeWalk.h"
#include "text/MessageIds.h"
#include "text/Texts.h"

namespace qn {

void CQNDocNode::SetUrl(std::string_view address) {
  url.assign(address.substr(0, address.find('#')));
}

CQNDocNode* CQNDocTree::NewNode() {
  ++live_;
  CQNDocNode* node = nullptr;
  if (!free_.empty()) {
    node = free_.back();
    free_.pop_back();
  } else {
    if (usedInLastBlock_ == kBlockNodes) {
      blocks_.push_back(std::make_unique<CQNDocNode[]>(kBlockNodes));
      usedInLastBlock_ = 0;
    }
    node = &blocks_.back()[usedInLastBlock_];
    node->slot = static_cast<std::uint32_t>((blocks_.size() - 1) * kBlockNodes + usedInLastBlock_);
    ++usedInLastBlock_;
  }
  if (++lastGeneration_ == 0) ++lastGeneration_;  // 0 is the none value
  node->generation = lastGeneration_;
  return node;
}

CQNDocNode* CQNDocTree::Resolve(const QNNodeId& id) const {
  if (id.IsNone() || id.slot / kBlockNodes >= blocks_.size()) return nullptr;
  CQNDocNode* node = &blocks_[id.slot / kBlockNodes][id.slot % kBlockNodes];
  return node->generation == id.generation ? node : nullptr;
}

void CQNDocTree::Clear() {
  ++changes_;
  root = nullptr;
  count = 0;
  readNodes.clear();
  appendParent_ = appendLast_ = nullptr;
  free_.clear();
  blocks_.clear();
  usedInLastBlock_ = kBlockNodes;
  live_ = 0;
}

CQNDocNode* CQNDocTree::CreateRoot(std::string_view title) {
  Clear();
  root = NewNode();
  root->kind = kNodeRoot;
  root->title = title;
  return root;
}

void CQNDocTree::Insert(CQNDocNode* node, CQNDocNode* ref, bool into) {
  if (!ref) ref = root;
  ++changes_;
  if (ref == root || !ref->parent || (ref->kind == kNodeFolder && into)) {
    InsertLast(node, ref);
  } else {
    node->parent = ref->parent;
    node->prevSibling = ref;
    node->nextSibling = ref->nextSibling;
    if (ref->nextSibling) ref->nextSibling->prevSibling = node;
    ref->nextSibling = node;
  }
  ++count;
}

void CQNDocTree::InsertLast(CQNDocNode* node, CQNDocNode* parent) {
  ++changes_;
  // Links of one page arrive one after another; remembering the last child appended
  // spares a walk over a long row of siblings for each of them.
  CQNDocNode* last = appendParent_ == parent && appendLast_ && appendLast_->parent == parent
                         ? appendLast_
                         : parent->firstChild;
  if (last) {
    while (last->nextSibling) last = last->nextSibling;
    last->nextSibling = node;
  } else {
    parent->firstChild = node;
  }
  node->parent = parent;
  node->prevSibling = last;
  node->nextSibling = nullptr;
  appendParent_ = parent;
  appendLast_ = node;
}

CQNDocNode* CQNDocTree::AddFolder(CQNDocNode* ref, bool into) {
  if (!root || IsFull()) return nullptr;
  CQNDocNode* node = NewNode();
  node->kind = kNodeFolder;
  Insert(node, ref, into);
  return node;
}

CQNDocNode* CQNDocTree::AddLink(CQNDocNode* ref, bool into, std::string_view localFile) {
  if (!root || IsFull()) return nullptr;
  CQNDocNode* node = NewNode();
  node->kind = kNodeLink;
  node->localFile = localFile;
  Insert(node, ref, into);
  return node;
}

void CQNDocTree::Unlink(CQNDocNode* node) {
  ++changes_;
  if (node->prevSibling) {
    node->prevSibling->nextSibling = node->nextSibling;
  } else if (node->parent) {
    node->parent->firstChild = node->nextSibling;
  }
  if (node->nextSibling) node->nextSibling->prevSibling = node->prevSibling;
  node->prevSibling = node->nextSibling = node->parent = nullptr;
  appendParent_ = appendLast_ = nullptr;
}

void CQNDocTree::Destroy(CQNDocNode* node) {
  // The place is kept for the next node, made anew so that it starts as any new node;
  // its generation becomes 0, so the gone node's identity resolves to nothing.
  const std::uint32_t slot = node->slot;
  std::destroy_at(node);
  std::construct_at(node);
  node->slot = slot;
  free_.push_back(node);
  --live_;
}

void CQNDocTree::Delete(CQNDocNode* node, bool deleteFiles) {
  if (!node || node == root) return;
  Unlink(node);
  // Children go before their parent, so a page's folder is emptied before the page
  // itself asks whether its folder can go.
  std::vector<CQNDocNode*> doomed;
  for (CQNDocNode* n : PreOrder(node)) doomed.push_back(n);
  for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) {
    if (deleteFiles && !(*it)->localFile.empty()) DeleteFileAndEmptyFolder((*it)->localFile);
    Destroy(*it);
    --count;
  }
}

bool CQNDocTree::Move(CQNDocNode* node, CQNDocNode* after) {
  if (!node || !after || node == root || node == after || !after->parent) return false;
  if (IsInside(after, node)) return false;
  Unlink(node);
  ++changes_;
  node->parent = after->parent;
  node->prevSibling = after;
  node->nextSibling = after->nextSibling;
  if (after->nextSibling) after->nextSibling->prevSibling = node;
  after->nextSibling = node;
  return true;
}

std::string RootTitle(const QNTexts& texts, std::string_view projectTitle) {
  return projectTitle.empty() ? texts.Text(kMsgNewProject) : std::string(projectTitle);
}

int Depth(const CQNDocNode* node) {
  int depth = 0;
  for (const CQNDocNode* p = node ? node->parent : nullptr; p && p->parent; p = p->parent) ++depth;
  return depth;
}

bool IsInside(const CQNDocNode* node, const CQNDocNode* ancestor) {
  for (const CQNDocNode* p = node; p; p = p->parent) {
    if (p == ancestor) return true;
  }
  return false;
}

}  // namespace qn

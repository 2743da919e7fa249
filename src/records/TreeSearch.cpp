// Lookups in the contents tree: by address, by text, by position.
#include <string>

#include "records/DocTree.h"
#include "records/TreeWalk.h"
#include "text/NoCase.h"
#include "web/Address.h"

namespace qn {
namespace {

// A cheap necessary condition of SamePathOrDirectory, which a walk over a large tree
// tests on every node: equal without regard to case (compared from the end, where
// addresses of one site differ), or the longer one ending with a separator right
// after the shorter one's last character.
bool MayBeSamePath(std::string_view a, std::string_view b) {
  if (a.size() == b.size()) {
    for (std::size_t i = a.size(); i-- > 0;) {
      if (ToLowerChar(a[i]) != ToLowerChar(b[i])) return false;
    }
    return true;
  }
  const std::string_view& longer = a.size() > b.size() ? a : b;
  const std::string_view& shorter = a.size() > b.size() ? b : a;
  if (shorter.empty() || !IsSeparator(longer.back())) return false;
  return ToLowerChar(longer[longer.size() - 2]) == ToLowerChar(shorter.back());
}

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool FieldMatches(std::string_view field, std::string_view text, int flags) {
  std::string hay(field);
  std::string needle(text);
  if (!(flags & kFindMatchCase)) {
    hay = ToLower(hay);
    needle = ToLower(needle);
  }
  const std::size_t at = hay.find(needle);
  if (at == std::string::npos) return false;
  if (!(flags & kFindWholeWord)) return true;
  // Only the first occurrence counts for a whole-word search.
  const std::size_t end = at + needle.size();
  const bool startOk = at == 0 || !IsAsciiLetter(hay[at - 1]);
  const bool endOk = end == hay.size() || !IsAsciiLetter(hay[end]);
  return startOk && endOk;
}

bool NodeMatches(const CQNDocNode& node, std::string_view text, int flags) {
  return ((flags & kFindTitles) && FieldMatches(node.title, text, flags)) ||
         ((flags & kFindUrls) && FieldMatches(node.url, text, flags)) ||
         ((flags & kFindLocalFiles) && FieldMatches(node.localFile, text, flags));
}

}  // namespace

CQNDocNode* CQNDocTree::FindByUrl(std::string_view url, int speedLevel) const {
  if (url.empty()) return nullptr;
  WalkYield yield(speedLevel);
  for (CQNDocNode* node : PreOrder(root)) {
    yield.Visit();
    if (!node->url.empty() && MayBeSamePath(node->url, url) && SamePathOrDirectory(node->url, url))
      return node;
  }
  return nullptr;
}

CQNDocNode* CQNDocTree::FindText(const CQNDocNode* start, std::string_view text, int flags,
                                 bool forward) const {
  if (!root || text.empty()) return nullptr;
  if (forward) {
    CQNDocNode* node = start ? NextPreOrder(const_cast<CQNDocNode*>(start), root) : root;
    for (; node; node = NextPreOrder(node, root)) {
      if (NodeMatches(*node, text, flags)) return node;
    }
    return nullptr;
  }
  CQNDocNode* node = start ? PrevPreOrder(start) : LastNode();
  for (; node; node = PrevPreOrder(node)) {
    if (NodeMatches(*node, text, flags)) return node;
  }
  return nullptr;
}

CQNDocNode* CQNDocTree::ChildByPosition(int n) const {
  if (!root || n < 1) return nullptr;
  CQNDocNode* child = root->firstChild;
  for (int i = 1; child && i < n; ++i) child = child->nextSibling;
  return child;
}

CQNDocNode* CQNDocTree::LastNode() const {
  return root ? LastInSubtree(root) : nullptr;
}

}  // namespace qn

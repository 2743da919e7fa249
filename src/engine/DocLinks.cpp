// How addresses enter the link table: links found on pages, start pages, and the
// duplicate test through the URL map or a walk over the tree.
#include "engine/Doc.h"
#include "engine/SitePosition.h"
#include "text/NoCase.h"
#include "web/Address.h"
#include "web/Forms.h"

namespace qn {
namespace {

std::string_view WithoutFragment(std::string_view address) {
  return address.substr(0, address.find('#'));
}

// The title of a found link: its file name as written, else the address; a login
// address shows no password.
std::string LinkTitle(const std::string& text, const std::string& address,
                      const std::string& password) {
  std::string title = GetFileName(text);
  return MaskLoginPassword(title.empty() ? CutToBuffer(address) : title, password);
}

bool IsFlashMovie(const std::string& address) {
  const std::string name = GetFileName(address);
  const std::size_t dot = name.rfind('.');
  return dot != std::string::npos && EqualNoCase(std::string_view(name).substr(dot + 1), "swf");
}

int KindForCategory(int category, const std::string& address) {
  if (category == kCatHtml || category == kCatJava) return kNodeFolder;
  if (category == kCatOther && IsFlashMovie(address)) return kNodeFolder;
  return kNodeLink;
}

}  // namespace

std::string CQNDoc::LocalName(const std::string& address, bool page) const {
  return localNamer_ ? localNamer_(address, page) : address;
}

CQNDocNode* CQNDoc::FindNodeByUrl(std::string_view address, bool useMap) {
  const std::string_view wanted = WithoutFragment(address);
  if (useMap) {
    auto map = locks_.Hold(DocLock::UrlMap);
    if (urlMap_.Exists()) {
      CQNDocNode* node = urlMap_.Find(wanted);
      return node && SamePathOrDirectory(node->url, wanted) ? node : nullptr;
    }
  }
  auto tree = locks_.Hold(DocLock::Tree);
  return tree_.FindByUrl(wanted, speedLevel);
}

CQNDocNode* CQNDoc::FindLocked(std::string_view address, bool useMap) {
  if (useMap) {
    auto map = locks_.Hold(DocLock::UrlMap);
    if (urlMap_.Exists()) {
      CQNDocNode* node = urlMap_.Find(address);
      return node && SamePathOrDirectory(node->url, address) ? node : nullptr;
    }
  }
  return tree_.FindByUrl(address, speedLevel);
}

void CQNDoc::EnterInMap(CQNDocNode* node) {
  auto map = locks_.Hold(DocLock::UrlMap);
  if (urlMap_.Exists() && !urlMap_.Insert(node)) settings_.QN_FASTPARSE = 0;
}

void CQNDoc::BuildUrlMap() {
  auto tree = locks_.Hold(DocLock::Tree);
  auto map = locks_.Hold(DocLock::UrlMap);
  if (!urlMap_.Build(tree_)) settings_.QN_FASTPARSE = 0;
}

void CQNDoc::DropUrlMap() {
  auto map = locks_.Hold(DocLock::UrlMap);
  urlMap_.Drop();
}

bool CQNDoc::HasUrlMap() {
  auto map = locks_.Hold(DocLock::UrlMap);
  return urlMap_.Exists();
}

void CQNDoc::AddFoundLinks(CQNDocNode* page, std::string_view baseDirectory,
                           const std::vector<QNFoundLink>& links, const ContentProbeFn& probe) {
  if (!page) return;
  std::string base(baseDirectory);
  for (const QNFoundLink& link : links) {
    const std::string text = CutToBuffer(link.text);
    if (link.tag == kTagBaseHref) {
      base = GetBaseDirectory(text);
      continue;
    }
    if (!IsFetchableLink(text)) continue;
    const std::string address(WithoutFragment(CutToBuffer(ResolveLink(text, base, page->url))));
    AddOneLink(page, text, address, IsFrameSource(link.tag), probe);
  }
}

void CQNDoc::AddOneLink(CQNDocNode* page, const std::string& text, const std::string& address,
                        bool fromFrame, const ContentProbeFn& probe) {
  bool probed = false;
  int probedType = kCatNone;
  for (;;) {
    bool askServer = false;
    CQNDocNode* node = nullptr;
    {
      // The lookup and the insertion are one step under the tree lock, so two
      // workers meeting the same new address add it once.
      auto tree = locks_.Hold(DocLock::Tree);
      if (CQNDocNode* known = FindLocked(address, true)) {
        if (known->state == kStatePending)
          known->title = LinkTitle(text, address, settings_.QN_PASSWORD);
        return;
      }
      Classification found{probedType, true};
      if (IsSubmissionAddress(address)) {
        // A form's answer is a page. Asking the server first would send the form's
        // fields, a login's password among them, in a plain GET.
        found = {kCatHtml, true};
      } else if (!probed) {
        // Named as a file of no particular type, so that an address without an
        // extension is not taken for a page before the server has been asked.
        found = ClassifyAddress(LocalName(address, false), settings_.QN_FILE_EXT, true);
        askServer = found.category == kCatNone && run.running && probe;
      }
      // When neither the name nor the server tells, the address is what its name
      // as a page says: a page when it has no extension, so its links are followed.
      if (!askServer && found.category == kCatNone)
        found = ClassifyAddress(LocalName(address, true), settings_.QN_FILE_EXT, true);
      if (!askServer) {
        if (tree_.IsFull()) return;
        node = tree_.NewNode();
        node->kind = KindForCategory(found.category, address);
        node->SetUrl(address);
        node->type = found.category;
        node->wanted = found.enabled ? 1 : 0;
        node->sitePos = SitePosition(address, startDir_);
        node->level = FoundLinkLevel(*page, node->sitePos, fromFrame);
        node->title = LinkTitle(text, address, settings_.QN_PASSWORD);
        InsertPrepared(node, page, true);
        EnterInMap(node);
      }
    }
    if (node) {
      NotifyAdded(node);
      return;
    }
    // The server is asked without holding any lock; the address is looked up again
    // afterwards, since another worker may have added it meanwhile.
    probedType = probe(address);
    probed = true;
  }
}

CQNDocNode* CQNDoc::AddStartNode(std::string_view address, std::string_view localFile) {
  if (!IsFetchableLink(address)) return nullptr;
  CQNDocNode* node = nullptr;
  {
    auto tree = locks_.Hold(DocLock::Tree);
    if (!tree_.root) return nullptr;
    CQNDocNode* slot = tree_.ChildByPosition(startIndex_ + 1);
    if (slot && SamePathOrDirectory(slot->url, WithoutFragment(address))) return slot;
    if (tree_.IsFull()) return nullptr;
    const Classification found = ClassifyAddress(localFile, settings_.QN_FILE_EXT, false);
    node = tree_.NewNode();
    node->kind = found.category == kCatHtml ? kNodeFolder : kNodeLink;
    const std::size_t name = FindLastSeparator(localFile);
    node->title = name == std::string_view::npos ? localFile : localFile.substr(name + 1);
    node->SetUrl(address);
    node->localFile = localFile;
    node->type = found.category;
    node->wanted = found.enabled ? 1 : 0;
    node->level = 0;
    node->sitePos = SitePosition(node->url, startDir_);
    node->state = kStateTaken;
    InsertPrepared(node, tree_.root, true);
    EnterInMap(node);
  }
  NotifyAdded(node);
  return node;
}

}  // namespace qn

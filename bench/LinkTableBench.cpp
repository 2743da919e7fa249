// Times the link table on a site-shaped tree: adding every link found on the pages
// with the URL map (QN_FASTPARSE on) and with tree walks (off), and taking every
// node once through the selection walk.
//
//   bench_link_table [--nodes N] [--skip-walk-add]

#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
#include <random>
#include <string>
#include <vector>

#include "engine/Doc.h"
#include "engine/Observer.h"
#include "records/LogSink.h"
#include "records/TreeWalk.h"
#include "web/Address.h"

namespace qn {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

class NullLog : public IQNLogSink {
 public:
  void WriteLine(LogKind, const std::string&) override {}
};

// A site of pages in folders up to six levels deep. Each page links 20 to 50
// addresses: new pages one level down, images, pages met before, and a few
// addresses on other servers. The same seed gives the same site.
class SiteModel {
 public:
  std::vector<QNFoundLink> LinksOf(int level) {
    std::vector<QNFoundLink> links;
    const int count = std::uniform_int_distribution<int>(20, 50)(rng_);
    for (int i = 0; i < count; ++i) {
      const int pick = std::uniform_int_distribution<int>(0, 99)(rng_);
      std::string url;
      if (pick < 30 && level < 6) {
        url = Page(level + 1, nextPage_++);
      } else if (pick < 60) {
        url = "http://bench.example/img/i" + std::to_string(nextImage_++ / 3) + ".gif";
      } else if (pick < 92 && nextPage_ > 0) {
        const int old = std::uniform_int_distribution<int>(0, nextPage_ - 1)(rng_);
        url = Page(std::min(level + 1, 6), old) + (pick % 2 ? "/" : "#top");
      } else {
        url = "http://other" + std::to_string(pick) + ".example/x" + std::to_string(i) + ".htm";
      }
      links.push_back({url, 3});
    }
    return links;
  }

 private:
  static std::string Page(int level, int id) {
    std::string url = "http://bench.example/";
    for (int d = 1; d < level; ++d) url += "d" + std::to_string(id % (7 + d)) + "/";
    return url + "p" + std::to_string(id) + ".htm";
  }
  std::mt19937 rng_{20010307};
  int nextPage_ = 0;
  int nextImage_ = 0;
};

struct AddResult {
  double seconds = 0;
  long links = 0;
  int nodes = 0;
};

// Adds the links of every page, shallowest pages first, until the tree holds
// `limit` nodes besides the root. Only the adding is timed.
AddResult BuildSite(CQNDoc& doc, bool fastParse, int limit) {
  doc.Settings().QN_FASTPARSE = fastParse ? 1 : 0;
  doc.ClearTree();
  doc.CreateRoot();
  doc.SetCurrentStart(0, "http://bench.example/");
  if (fastParse) doc.BuildUrlMap();
  CQNDocNode* start = doc.AddStartNode("http://bench.example/", "/tmp/qnbench/index.htm");
  SiteModel site;
  AddResult result;
  std::deque<CQNDocNode*> pages{start};
  while (!pages.empty() && doc.Tree().count < limit) {
    CQNDocNode* page = pages.front();
    pages.pop_front();
    const int level = page->level == kUnset ? 0 : page->level;
    const std::vector<QNFoundLink> links = site.LinksOf(level);
    CQNDocNode* before = LastChild(page);
    const Clock::time_point t0 = Clock::now();
    doc.AddFoundLinks(page, GetBaseDirectory(page->url), links);
    result.seconds += Seconds(Clock::now() - t0);
    result.links += static_cast<long>(links.size());
    for (CQNDocNode* c = before ? before->nextSibling : page->firstChild; c; c = c->nextSibling) {
      if (c->type == kCatHtml && c->sitePos > kOffsiteBase) pages.push_back(c);
    }
  }
  doc.DropUrlMap();
  result.nodes = doc.Tree().count;
  return result;
}

}  // namespace
}  // namespace qn

int main(int argc, char** argv) {
  using namespace qn;
  int limit = kMaxNodes;
  bool walkAdd = true;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--nodes") && i + 1 < argc) limit = std::atoi(argv[++i]);
    if (!std::strcmp(argv[i], "--skip-walk-add")) walkAdd = false;
  }

  CQNSettings settings;
  settings.QN_OFFSITE = 1;
  IQNObserver observer;
  NullLog log;
  CQNDoc doc(settings, observer, log);

  std::printf("Link table, site-shaped tree of %d nodes\n", limit);
  if (walkAdd) {
    const AddResult walk = BuildSite(doc, false, limit);
    std::printf("  add links, QN_FASTPARSE off: %8.3f s  (%ld links, %d nodes, %.2f us/link)\n",
                walk.seconds, walk.links, walk.nodes, walk.seconds * 1e6 / walk.links);
  }
  const AddResult map = BuildSite(doc, true, limit);
  std::printf("  add links, QN_FASTPARSE on:  %8.3f s  (%ld links, %d nodes, %.2f us/link)\n",
              map.seconds, map.links, map.nodes, map.seconds * 1e6 / map.links);

  doc.SetStates(kStatePending, kStateAny);
  int taken = 0;
  const Clock::time_point t0 = Clock::now();
  while (doc.TakeNextLink()) ++taken;
  const double takeSeconds = Seconds(Clock::now() - t0);
  std::printf("  take every node once:        %8.3f s  (%d nodes, %.1f us/take)\n", takeSeconds,
              taken, takeSeconds * 1e6 / taken);
  return 0;
}

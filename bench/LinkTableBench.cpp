// Times the link table on a site-shaped tree: adding every link found on the pages
// with the URL map (QN_FASTPARSE on) and with tree walks (off), taking every node
// once through the queue and through the selection walk it replaces, a crawl that
// takes and adds in turn, and the memory a node costs.
//
//   bench_link_table [--nodes N] [--budget SECONDS] [--full]
//
// Without the map every new link costs a walk over the tree, and so does every
// take through the walk: both grow with the square of the tree. By default those two
// are run for at most --budget seconds each (60) and the whole run is projected from
// the measured rate; --full runs them to the end.

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <random>
#include <string>
#include <vector>

#include "engine/Doc.h"
#include "engine/Selection.h"
#include "records/TreeWalk.h"
#include "seams/LogSink.h"
#include "seams/Observer.h"
#include "web/Address.h"

namespace qn {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

// The processor time of the process so far: on a shared machine the wall time of a
// phase also holds the time other programs had the processor.
double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
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
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on "d" + to_string.
    for (int d = 1; d < level; ++d)
      url.append("d").append(std::to_string(id % (7 + d))).append("/");
    return url.append("p").append(std::to_string(id)).append(".htm");
  }
  std::mt19937 rng_{20010307};
  int nextPage_ = 0;
  int nextImage_ = 0;
};

struct PageLinks {
  CQNDocNode* page;
  std::vector<QNFoundLink> links;
};

struct AddResult {
  double seconds = 0;
  double cpu = 0;
  long links = 0;
  int nodes = 0;
  bool complete = true;
  std::vector<PageLinks> sample;  // every 25th page with its links
};

// Adds the links of every page, shallowest pages first, until the tree holds
// `limit` nodes besides the root or `budget` seconds of adding are spent. Only the
// adding is timed.
AddResult BuildSite(CQNDoc& doc, bool fastParse, int limit, double budget) {
  doc.Settings().QN_FASTPARSE = fastParse ? 1 : 0;
  doc.ClearTree();
  doc.CreateRoot();
  doc.SetCurrentStart(0, "http://bench.example/");
  if (fastParse) doc.BuildUrlMap();
  CQNDocNode* start = doc.AddStartNode("http://bench.example/", "/tmp/qnbench/index.htm");
  SiteModel site;
  AddResult result;
  std::deque<CQNDocNode*> pages{start};
  for (long n = 0; !pages.empty() && doc.Tree().count < limit; ++n) {
    if (result.seconds > budget) {
      result.complete = false;
      break;
    }
    CQNDocNode* page = pages.front();
    pages.pop_front();
    const std::vector<QNFoundLink> links = site.LinksOf(page->level == kUnset ? 0 : page->level);
    CQNDocNode* before = LastChild(page);
    const Clock::time_point t0 = Clock::now();
    const double c0 = CpuSeconds();
    doc.AddFoundLinks(page, GetBaseDirectory(page->url), links);
    result.cpu += CpuSeconds() - c0;
    result.seconds += Seconds(Clock::now() - t0);
    result.links += static_cast<long>(links.size());
    if (n % 25 == 0) result.sample.push_back({page, links});
    for (CQNDocNode* c = before ? before->nextSibling : page->firstChild; c; c = c->nextSibling) {
      if (c->type == kCatHtml && c->sitePos > kOffsiteBase) pages.push_back(c);
    }
  }
  doc.DropUrlMap();
  result.nodes = doc.Tree().count;
  return result;
}

// The process's peak resident memory so far, in bytes.
double PeakBytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) * 1024;
}

struct CrawlResult {
  double seconds = 0;
  double cpu = 0;
  int takes = 0;
  long links = 0;
  int nodes = 0;
  // Adding links once the tree holds nine tenths of its nodes.
  double lateSeconds = 0;
  long lateLinks = 0;
};

// A run as the workers make it: take the next node and, when it is a page of the
// site, add the links found on it, until nothing is left. Only the table's work is
// timed, not making up the links.
CrawlResult Crawl(CQNDoc& doc, int limit) {
  doc.Settings().QN_FASTPARSE = 1;
  doc.ClearTree();
  doc.CreateRoot();
  doc.SetCurrentStart(0, "http://bench.example/");
  doc.BuildUrlMap();
  SiteModel site;
  CrawlResult result;
  CQNDocNode* node = doc.AddStartNode("http://bench.example/", "/tmp/qnbench/index.htm");
  while (node) {
    if (node->type == kCatHtml && node->sitePos > kOffsiteBase && doc.Tree().count < limit) {
      const std::vector<QNFoundLink> links = site.LinksOf(node->level == kUnset ? 0 : node->level);
      const bool late = doc.Tree().count >= limit / 10 * 9;
      const Clock::time_point t0 = Clock::now();
      const double c0 = CpuSeconds();
      doc.AddFoundLinks(node, GetBaseDirectory(node->url), links);
      result.cpu += CpuSeconds() - c0;
      const double spent = Seconds(Clock::now() - t0);
      result.seconds += spent;
      result.links += static_cast<long>(links.size());
      if (late) {
        result.lateSeconds += spent;
        result.lateLinks += static_cast<long>(links.size());
      }
    }
    node->state = kStateDone;
    const Clock::time_point t0 = Clock::now();
    const double c0 = CpuSeconds();
    node = doc.TakeNextLink();
    result.cpu += CpuSeconds() - c0;
    result.seconds += Seconds(Clock::now() - t0);
    if (node) ++result.takes;
  }
  doc.DropUrlMap();
  result.nodes = doc.Tree().count;
  return result;
}

void Report(const char* what, const AddResult& r) {
  std::printf("  %-34s %9.3f s  %7ld links  %6d nodes  %8.2f us/link  (%.3f s processor time)%s\n",
              what, r.seconds, r.links, r.nodes, r.seconds * 1e6 / static_cast<double>(r.links),
              r.cpu, r.complete ? "" : "  (stopped at the budget)");
  std::fflush(stdout);
}

}  // namespace
}  // namespace qn

int main(int argc, char** argv) {
  using namespace qn;
  int limit = kMaxNodes;
  double budget = 60;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--nodes") && i + 1 < argc) limit = std::atoi(argv[++i]);
    if (!std::strcmp(argv[i], "--budget") && i + 1 < argc) budget = std::atof(argv[++i]);
    if (!std::strcmp(argv[i], "--full")) budget = 1e12;
  }

  CQNSettings settings;
  settings.QN_OFFSITE = 1;
  IQNObserver observer;
  NullLog log;
  CQNDoc doc(settings, observer, log, QNTexts());
  const double idle = PeakBytes();

  std::printf("Link table on a site-shaped tree of %d nodes\n", limit);
  const AddResult map = BuildSite(doc, true, limit, 1e12);
  Report("add links, QN_FASTPARSE on", map);

  // Without the map: the same links once more against the full tree, each found by
  // a walk (or walked over in vain and refused, the tree being full).
  long sampleLinks = 0;
  const Clock::time_point s0 = Clock::now();
  for (const PageLinks& p : map.sample) {
    doc.AddFoundLinks(p.page, GetBaseDirectory(p.page->url), p.links);
    sampleLinks += static_cast<long>(p.links.size());
  }
  const double perLink = Seconds(Clock::now() - s0) / static_cast<double>(sampleLinks);
  std::printf("  %-34s %9.2f us/link at %d nodes (%ld links)\n", "look up links, QN_FASTPARSE off",
              perLink * 1e6, doc.Tree().count, sampleLinks);

  // Every node taken once through the queue; the first take builds it.
  doc.SetStates(kStatePending, kStateAny);
  int queued = 0;
  const Clock::time_point q0 = Clock::now();
  const double c0 = CpuSeconds();
  while (doc.TakeNextLink()) ++queued;
  const double queueSeconds = Seconds(Clock::now() - q0);
  const double queueCpu = CpuSeconds() - c0;
  std::printf("  %-34s %9.3f s  %7d takes %15.2f us/take  (%.3f s processor time)\n",
              "take every node once, queue", queueSeconds, queued, queueSeconds * 1e6 / queued,
              queueCpu);
  std::fflush(stdout);

  // The same through the selection walk, which looks at the tree from its root.
  doc.SetStates(kStatePending, kStateAny);
  const QNFilterScope scope = doc.FilterScope();
  int taken = 0;
  const Clock::time_point t0 = Clock::now();
  double takeSeconds = 0;
  while (takeSeconds <= budget &&
         TakeBySelectionWalk({doc.Tree(), doc.Settings(), scope, nullptr, 10})) {
    ++taken;
    if (taken % 64 == 0) takeSeconds = Seconds(Clock::now() - t0);
  }
  takeSeconds = Seconds(Clock::now() - t0);
  const bool allTaken = taken >= doc.Tree().count;
  std::printf("  %-34s %9.3f s  %7d takes %15.1f us/take%s\n", "take every node once, walk",
              takeSeconds, taken, takeSeconds * 1e6 / taken,
              allTaken ? "" : "  (stopped at the budget)");
  if (!allTaken) {
    std::printf("  %-34s %9.1f s  (projected)\n", "", takeSeconds / taken * doc.Tree().count);
  }
  std::fflush(stdout);

  const CrawlResult crawl = Crawl(doc, limit);
  std::printf(
      "  %-34s %9.3f s  %7d takes %7ld links %6d nodes  %5.2f us/step  (%.3f s processor time)\n",
      "crawl: take and add in turn", crawl.seconds, crawl.takes, crawl.links, crawl.nodes,
      crawl.seconds * 1e6 / static_cast<double>(crawl.takes + crawl.links), crawl.cpu);
  std::printf("  %-34s %9.2f us/link (%ld links)\n", "crawl: add links beyond 90% full",
              crawl.lateSeconds * 1e6 / static_cast<double>(crawl.lateLinks), crawl.lateLinks);
  const double peak = PeakBytes();
  std::printf(
      "  %-34s %9.0f bytes/node peak (%.1f MB at %d nodes; %.0f bytes/node above the "
      "empty program)\n",
      "memory", peak / crawl.nodes, peak / 1048576, crawl.nodes, (peak - idle) / crawl.nodes);
  std::fflush(stdout);

  // Building the whole site without the map: each link's walk grows with the tree.
  const AddResult walk = BuildSite(doc, false, limit, budget);
  Report("add links, QN_FASTPARSE off", walk);
  if (!walk.complete) {
    // The cost of a link grows about linearly with the tree, so the whole build
    // costs about half of the cost at the full size for every link.
    std::printf("  %-34s %9.1f s  (projected from the cost at %d nodes)\n", "",
                perLink * 0.5 * static_cast<double>(map.links), map.nodes);
  }
  return 0;
}

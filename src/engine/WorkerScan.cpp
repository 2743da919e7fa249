// The scan after a successful fetch: the file is read without the gate, the servers
// are asked about addresses whose names tell no file type, and the links then enter
// the link table in one step.
#include <map>

#include "engine/Doc.h"
#include "engine/Worker.h"
#include "text/MessageIds.h"
#include "web/Address.h"
#include "web/FlashScanner.h"
#include "web/Forms.h"
#include "web/HtmlScanner.h"
#include "web/ScriptScanner.h"
#include "web/TagTable.h"

namespace qn {
namespace {

// Collects what the scanner finds; runs without the gate.
class QNLinkCollector : public IQNLinkSink {
 public:
  QNLinkCollector(QNRun& run, int worker, std::string address, int category)
      : run_(run), worker_(worker), address_(std::move(address)), category_(category) {}

  void AddFoundLink(const QNScannedLink& link) override { links.push_back(link); }
  void OnPageTitle(const std::string& title) override {
    if (!pageTitle) pageTitle = title;
  }
  void OnAnalyzing() override {
    QNStatus status;
    status.mask = QNStatus::kText1 | QNStatus::kText3;
    status.text1 = address_;
    status.text3 = run_.texts.Text(kMsgAnalyzing);
    status.worker = worker_;
    status.address = address_;
    status.category = category_;
    run_.Observer().OnStatus(status);
  }

  std::vector<QNScannedLink> links;
  std::optional<std::string> pageTitle;

 private:
  QNRun& run_;
  int worker_;
  std::string address_;
  int category_;
};

std::string WithoutFragment(const std::string& address) {
  return address.substr(0, address.find('#'));
}

}  // namespace

QNWorker::Step QNWorker::Scan() {
  if (!node_ || doc_.NodeCount() > kMaxNodes - 1) return Step::Go;
  const QNScanKind kind = ScanKindFor(node_->type, localPath_);
  if (kind == QNScanKind::None) return Step::Go;

  const CQNSettings& settings = settings_;
  const std::string referrer = kind == QNScanKind::Html ? std::string() : ParentUrl(node_);
  QNLinkCollector found(run_, index_, address_, node_->type);
  QNScanControl control;
  control.stopRequested = [this] { return run_.StopRequested(); };
  control.speedLevel = [this] { return run_.SpeedLevel(); };
  if (!OutsideGate(pass_, [&] {
        switch (kind) {
          case QNScanKind::Html:
            ScanHtmlFile(address_, fetched_, settings, control, found);
            break;
          case QNScanKind::Script:
            ScanScriptFile(address_, referrer, fetched_, settings, control, found);
            break;
          case QNScanKind::Binary:
            ScanBinaryFile(address_, referrer, fetched_, settings, control, found);
            break;
          case QNScanKind::None:
            break;
        }
      }))
    return Step::End;
  // A scan that Stop or a limit broke off may have missed links; the page is
  // scanned again by the next run instead.
  if (run_.StopRequested()) return Step::Unfinished;

  // Addresses new to the tree whose local names tell no category are asked about
  // before the links are added, so that no server is waited for inside the gate.
  std::vector<std::string> unknown;
  for (const QNScannedLink& link : found.links) {
    if (link.tag == kTagBaseHref) continue;
    std::string address = WithoutFragment(link.address);
    if (IsSubmissionAddress(address)) continue;  // taken as a page, never asked with a GET
    std::string named = address;
    const std::string local = LocalPathForAddress(named, false, false, *run_.naming);
    if (ClassifyAddress(local, settings.QN_FILE_EXT, true).category != kCatNone) continue;
    if (!doc_.FindNodeByUrl(address, true)) unknown.push_back(std::move(address));
  }
  std::map<std::string, int> categories;
  if (!unknown.empty() && !OutsideGate(pass_, [&] {
        const QNFetchContext context = FetchContext();
        for (const std::string& address : unknown) {
          if (run_.StopRequested()) break;
          // A page may name one address many times; the server is asked once.
          if (!categories.contains(address))
            categories.emplace(address, ProbeContentType(address, context));
        }
      }))
    return Step::End;
  if (run_.StopRequested()) return Step::Unfinished;

  // An HTML page's values go in as written, with its BASE values, as the table
  // resolves them in page order; script and binary values resolve against the
  // referring page, so they go in resolved.
  std::vector<QNFoundLink> links;
  links.reserve(found.links.size());
  for (QNScannedLink& link : found.links)
    links.push_back(kind == QNScanKind::Html ? QNFoundLink{std::move(link.text), link.tag}
                                             : QNFoundLink{std::move(link.address), -1});
  const CQNDoc::ContentProbeFn probe = [&categories](const std::string& address) {
    const auto known = categories.find(address);
    return known == categories.end() ? kCatNone : known->second;
  };
  const int before = doc_.NodeCount();
  doc_.AddFoundLinks(node_, GetBaseDirectory(address_), links, probe);
  run_.OfferWork(doc_.NodeCount() - before);

  if (found.pageTitle) {
    auto lock = doc_.Locks().Hold(DocLock::Tree);
    if (auto title = ComposePageTitle(node_->title, *found.pageTitle))
      node_->title = std::move(*title);
  }
  doc_.NodeChanged(node_);
  return Step::Go;
}

}  // namespace qn

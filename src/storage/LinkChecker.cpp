#include "storage/LinkChecker.h"

#include <algorithm>
#include <deque>
#include <fstream>
#include <set>
#include <system_error>

#include "settings/ProjectSettings.h"
#include "web/Address.h"
#include "web/HtmlScanner.h"
#include "web/LinkSink.h"

namespace qn {
namespace {

namespace fs = std::filesystem;

// Collects the link texts of one page as the page writes them.
class QNLinkTexts : public IQNLinkSink {
 public:
  void AddFoundLink(const QNScannedLink& link) override { texts.push_back(link.text); }
  std::vector<std::string> texts;
};

// The local file a link of `page` points to, or nothing for a link to the network.
// As a browser reads a link to a local file: the query and the fragment name no part
// of the file, and percent escapes stand for their characters.
std::optional<fs::path> LocalTarget(const fs::path& page, std::string text) {
  text.resize(std::min({text.find('#'), text.find('?'), text.size()}));
  if (text.empty()) return std::nullopt;
  if (IsAbsoluteAddress(text)) {
    auto path = FileAddressToPath(text);
    if (!path) return std::nullopt;
    return fs::path(*path).lexically_normal();
  }
  PercentDecode(text);
  ToNativeSeparators(text);
  if (text.front() == kNativeSeparator) return fs::path(text).lexically_normal();
  return (page.parent_path() / text).lexically_normal();
}

bool IsPage(const fs::path& file, const CQNSettings& settings) {
  std::string extension = file.extension().string();
  if (extension.empty()) return false;
  extension.erase(0, 1);
  for (const CQNExtEntry& entry : settings.QN_FILE_EXT[CategoryIndex(kCatHtml)])
    if (EqualNoCase(entry.extension, extension)) return true;
  return false;
}

}  // namespace

QNLinkCheck CheckLocalLinks(const fs::path& folder, const fs::path& startPage,
                            const CQNSettings& settings) {
  QNLinkCheck check;
  std::set<fs::path> seen;
  std::deque<fs::path> pages;
  const fs::path start =
      fs::absolute(startPage.is_absolute() ? startPage : folder / startPage).lexically_normal();
  seen.insert(start);
  pages.push_back(start);
  while (!pages.empty()) {
    const fs::path page = pages.front();
    pages.pop_front();
    std::ifstream in(page, std::ios::binary);
    if (!in) continue;
    ++check.pages;
    QNLinkTexts links;
    ScanHtml(in, "file://" + page.string(), settings, {}, links);
    for (const std::string& text : links.texts) {
      const auto target = LocalTarget(page, text);
      if (!target) continue;
      ++check.localLinks;
      std::error_code ec;
      if (!fs::is_regular_file(*target, ec)) {
        check.broken.push_back({page, text, *target});
        continue;
      }
      if (IsPage(*target, settings) && seen.insert(*target).second) pages.push_back(*target);
    }
  }
  return check;
}

}  // namespace qn

#include "storage/PrintFolder.h"

#include <fstream>
#include <sstream>
#include <string>

#include "records/DocTree.h"
#include "records/TreeWalk.h"
#include "settings/FileTypes.h"
#include "settings/ProjectSettings.h"
#include "storage/LinkConversion.h"
#include "storage/TempFile.h"
#include "web/Address.h"

namespace qn {
namespace {

// The page converted to absolute local addresses, preceded by `prefix`; nothing when
// it cannot be printed. Kept in memory until it is known to be complete.
std::optional<std::string> PrintablePage(const QNPrintPage& printed, const CQNSettings& settings,
                                         const QNLinkRules& rules, std::string_view prefix) {
  std::ifstream in(printed.localFile, std::ios::binary);
  if (printed.localFile.empty() || !in) return std::nullopt;
  std::ostringstream out;
  out << prefix;
  const std::string base = GetBaseDirectory(printed.url);
  const QNConvertPage page{printed.url, base, printed.localFile, QNLinkForm::Absolute};
  const QNLinkConverter converter = [&](const QNLinkToConvert& link) {
    return ConvertLinkValue(link, printed.url, rules);
  };
  if (!ConvertHtmlFile(in, out, page, settings, converter) || in.bad()) return std::nullopt;
  return std::move(out).str();
}

}  // namespace

std::vector<QNPrintPage> PrintPagesOf(const CQNDocNode& folder) {
  std::vector<QNPrintPage> pages;
  for (const CQNDocNode* node : PreOrder(&folder))
    if (node->type == kCatHtml) pages.push_back({node->url, node->localFile});
  return pages;
}

std::optional<std::filesystem::path> BuildPrintFile(const std::vector<QNPrintPage>& pages,
                                                    const CQNSettings& settings,
                                                    std::string_view programDir,
                                                    std::string_view startAddress,
                                                    const std::function<bool()>& keepGoing) {
  auto print = QNTempFile::Create({}, ".htm");
  if (!print) return std::nullopt;
  const QNLinkRules rules{
      QNNamingContext::From(settings, GetBaseDirectory(startAddress), programDir),
      settings.QN_UPDLINKS};
  // Counts the pages that made it into the file, so that the style sheet comes
  // first even when the folder's first page is a frame set.
  int printed = 0;
  for (const QNPrintPage& page : pages) {
    std::string_view prefix;
    if (settings.QN_PAGEBREAK) prefix = printed == 0 ? kPageBreakStyle : kPageBreak;
    if (auto text = PrintablePage(page, settings, rules, prefix)) {
      std::ofstream out(print->Path(), std::ios::binary | std::ios::app);
      out << *text;
      out.close();
      if (out.fail()) return std::nullopt;
      ++printed;
    }
    if (keepGoing && !keepGoing()) return std::nullopt;
  }
  std::filesystem::path path = print->Path();
  print->Keep();
  return path;
}

}  // namespace qn

#include "web/HtmlScanner.h"

#include <fstream>
#include <optional>
#include <string>

#include "web/Address.h"
#include "web/EntityTable.h"
#include "web/LinkReporter.h"
#include "web/TagHandlers.h"
#include "web/TagTable.h"
#include "web/TagWalk.h"

namespace qn {
namespace {

class QNDiscovery : public IQNTagVisitor {
 public:
  QNDiscovery(std::string_view address, const CQNSettings& settings, const QNScanControl& control,
              IQNLinkSink& sink)
      : address_(address),
        context_{settings, address_},
        control_(control),
        sink_(sink),
        reporter_(address_, GetBaseDirectory(address_), sink) {}

  Resume OnTag(QNScanText& text, std::size_t start, int row, const QNTagEnd& end) override {
    return Resume{HandleTag(text, start, row, end.pos, true), 0, false};
  }

 private:
  std::size_t HandleTag(QNScanText& text, std::size_t start, int row, std::size_t end, bool nested);
  void ScanNested(QNScanText& text, std::size_t from, std::size_t to, int outer);

  std::string address_;
  QNHandlerContext context_;
  const QNScanControl& control_;
  IQNLinkSink& sink_;
  QNLinkReporter reporter_;
};

// Handles one tag and returns where the scan goes on: after the furthest value
// the handler read, counted from the tag's start without the start token, or one
// character after the tag's start when it read nothing.
std::size_t QNDiscovery::HandleTag(QNScanText& text, std::size_t start, int row, std::size_t end,
                                   bool nested) {
  const std::size_t from = start + kTagRows[static_cast<std::size_t>(row)].start.size();
  QNScanText* tagText = &text;
  std::size_t begin = from;
  std::size_t stop = end;
  std::string stripped;
  std::optional<QNScanText> strippedText;
  if (row != kTagScript && row != kTagComment && text.Find("<!--", from, end) != QNScanText::npos)
    if (auto removed = RemoveComments(text.View().substr(from, end - from))) {
      stripped = std::move(*removed);
      strippedText.emplace(stripped);
      tagText = &*strippedText;
      begin = 0;
      stop = stripped.size();
    }

  if (row == kTagTitle && stop > begin) {
    std::string title(tagText->View().substr(begin, stop - begin));
    DecodeEntities(title);
    sink_.OnPageTitle(title);
  }
  const QNTagValues found = RunTagHandler(row, *tagText, begin, stop, context_);
  if (found.report)
    for (const std::string& value : found.values) reporter_.Report(value, row);
  if (nested && HasNestedScan(row)) ScanNested(*tagText, begin, stop, row);
  control_.Throttle();

  const std::size_t cursor = found.anyRead ? found.reached - begin : 0;
  return cursor > 0 ? start + cursor : start + 1;
}

// Tags inside the text of A, TH, TD and FORM, other than the outer tag's own;
// they do not scan further inside themselves. A nested tag that an earlier outer
// tag of the same text has handled already is not handled again.
void QNDiscovery::ScanNested(QNScanText& text, std::size_t from, std::size_t to, int outer) {
  std::size_t pos = from;
  for (int count = 0; count < kMaxNestedScans; ++count) {
    const auto tag = text.NextTag(pos, to, outer);
    if (!tag) break;
    const QNTagEnd end = FindTagEnd(text, tag->pos, tag->row, to);
    if (!end.found()) {
      pos = tag->pos + 1;
      continue;
    }
    if (const auto resume = text.HandledNested(tag->pos, end.pos)) {
      pos = *resume;
      continue;
    }
    pos = HandleTag(text, tag->pos, tag->row, end.pos, false);
    text.RememberNested(tag->pos, end.pos, pos);
  }
}

}  // namespace

QNScanKind ScanKindFor(int category, std::string_view localFile) {
  if (category == kCatHtml) return QNScanKind::Html;
  const std::size_t separator = FindLastSeparator(localFile);
  const std::string_view name =
      separator == std::string_view::npos ? localFile : localFile.substr(separator + 1);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return QNScanKind::None;
  const std::string_view extension = name.substr(dot + 1);
  if (ExtensionMatches(extension, "js")) return QNScanKind::Script;
  if (ExtensionMatches(extension, "class") || ExtensionMatches(extension, "swf"))
    return QNScanKind::Binary;
  return QNScanKind::None;
}

bool ScanHtml(std::istream& in, std::string_view address, const CQNSettings& settings,
              const QNScanControl& control, IQNLinkSink& sink) {
  sink.OnAnalyzing();
  QNDiscovery discovery(address, settings, control, sink);
  const bool complete = WalkTags(in, true, control, discovery);
  sink.OnAnalysed();
  return complete;
}

bool ScanHtmlFile(std::string_view address, const std::filesystem::path& localFile,
                  const CQNSettings& settings, const QNScanControl& control, IQNLinkSink& sink) {
  std::ifstream in(localFile, std::ios::binary);
  if (!in) return false;
  return ScanHtml(in, address, settings, control, sink);
}

}  // namespace qn

#include "web/HtmlScanner.h"

#include <algorithm>
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
// the handler read, counted from the tag's start without the start token (the rows
// of the old pages) or from after the start token, or one character after the
// tag's start when it read nothing.
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
  if (found.report) {
    for (const std::string& value : found.values) reporter_.Report(value, row);
    for (const QNPlacedValue& value : found.placed) reporter_.Report(value.value, row);
  }
  if (nested && HasNestedScan(row)) ScanNested(*tagText, begin, stop, row);
  control_.Throttle();

  const std::size_t cursor = found.anyRead ? found.reached - begin : 0;
  // The rows of today's markup go on right after what they read, so that a style
  // reference they read is not found again.
  if (row >= kTagSource) return cursor > 0 ? from + cursor : start + 1;
  return cursor > 0 ? start + cursor : start + 1;
}

// Tags inside the text of A, TH, TD and FORM, other than the outer tag's own;
// they do not scan further inside themselves. A nested tag that an earlier outer
// tag of the same text has handled already is not handled again.
void QNDiscovery::ScanNested(QNScanText& text, std::size_t from, std::size_t to, int outer) {
  // Overlapping outer tags walk the same nested tags again and again. Where the
  // text holds no comment, the end of a tag whose end token is one character does
  // not depend on the window, so it is looked for once per tag; and inside an
  // outer tag that ends at its first ">", a nested tag ending in ">" never ends,
  // so runs of them are counted without being visited one by one.
  const bool noComments = text.Find("<!--", 0) == QNScanText::npos;
  const bool bracketOuter = noComments && kTagRows[static_cast<std::size_t>(outer)].end == ">";
  auto tag = text.NextTag(from, to, outer);
  std::size_t count = 0;
  while (tag && count < kMaxNestedScans) {
    const QNTagRow& row = kTagRows[static_cast<std::size_t>(tag->row)];
    if (bracketOuter && row.end == ">") {
      const std::size_t stop = std::min(text.NextNonBracketTag(tag->index), text.IndexAt(to));
      count += text.CountExcept(tag->index, stop, outer);
      tag = text.TagAtIndex(stop, to);
      continue;
    }
    ++count;
    QNScanText::Nested& record = text.NestedRecord(*tag);
    QNTagEnd end;
    if (noComments && row.end.size() == 1) {
      if (!record.firstEndKnown) {
        record.firstEnd = FindTagEnd(text, tag->pos, tag->row).pos;
        record.firstEndKnown = true;
      }
      if (record.firstEnd < to) end = QNTagEnd{record.firstEnd, 1};
    } else {
      end = FindTagEnd(text, tag->pos, tag->row, to);
    }
    if (!end.found()) {
      tag = text.TagAfter(tag->index, to, outer);
      continue;
    }
    if (record.end != end.pos) {
      const std::size_t resume = HandleTag(text, tag->pos, tag->row, end.pos, false);
      QNScanText::Nested& handled = text.NestedRecord(*tag);
      handled.end = end.pos;
      handled.resume = resume;
    }
    tag = text.NextTag(text.NestedRecord(*tag).resume, to, outer);
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

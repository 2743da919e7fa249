#include "web/HtmlConverter.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "web/Address.h"
#include "web/LineReader.h"
#include "web/LinkReporter.h"
#include "web/ScanText.h"
#include "web/StartTag.h"
#include "web/TagHandlers.h"
#include "web/TagTable.h"
#include "web/TagWalk.h"

namespace qn {
namespace {

using Replacements = std::vector<std::pair<std::string, std::string>>;

class QNConversion : public IQNTagVisitor {
 public:
  QNConversion(std::ostream& out, const QNConvertPage& page, const CQNSettings& settings,
               const QNLinkConverter& convert)
      : out_(out),
        page_(page),
        base_(page.baseDirectory),
        context_{settings, page.address},
        convert_(convert) {}

  bool WantsText() const override { return true; }
  void OnText(std::string_view text) override {
    out_.write(text.data(), static_cast<std::streamsize>(text.size()));
  }

  // The tag text is written converted; the end token goes out with the text after
  // it, and the search goes on after its first character.
  Resume OnTag(QNScanText& text, std::size_t start, int row, const QNTagEnd& end) override {
    const auto converted = ConvertTag(text.View().substr(start, end.pos - start), row, true);
    if (!converted) return Resume{0, 0, true};
    OnText(*converted);
    return Resume{end.pos + 1, end.pos, false};
  }

  // The replacement for one value, or nothing to leave it. `page`: the value names
  // a page rather than a picture.
  std::optional<std::string> Replace(std::string_view value, bool page) const;
  void AddReplacements(const std::vector<std::string>& values, int row, Replacements& out) const;

 private:
  std::optional<std::string> ConvertTag(std::string_view tagText, int row, bool nested);
  std::optional<std::string> ConvertNested(const std::string& text, int outer);

  // A BASE met on the page sets the base directory of the links after it, as the
  // scanner resolved them when the page was fetched.
  void TakeBase(std::string_view tagText);

  std::ostream& out_;
  const QNConvertPage& page_;
  std::string base_;
  QNHandlerContext context_;
  const QNLinkConverter& convert_;
};

std::optional<std::string> QNConversion::Replace(std::string_view value, bool page) const {
  // The value is read as the scanner read it when the link was found ("&amp;"
  // decoded, tabs removed), so that it names the file that was saved for it.
  auto cleaned = CleanLinkValue(value);
  if (!cleaned || !IsFetchableLink(*cleaned)) return std::nullopt;
  const std::string& work = *cleaned;
  auto replacement = convert_(QNLinkToConvert{work, base_, page_.localFile, page, page_.form});
  if (!replacement) return std::nullopt;
  if (page_.form == QNLinkForm::Absolute) {
    BackslashesToSlashes(*replacement);
    replacement->insert(0, "file://");
  }
  return replacement;
}

void QNConversion::AddReplacements(const std::vector<std::string>& values, int row,
                                   Replacements& out) const {
  for (const std::string& value : values)
    if (auto replacement = Replace(value, row != kTagImage))
      out.emplace_back(value, std::move(*replacement));
}

// A FRAME in the absolute form gives nothing: that conversion gives up.
std::optional<std::string> QNConversion::ConvertTag(std::string_view tagText, int row,
                                                    bool nested) {
  if (row == kTagFrameSrc && page_.form == QNLinkForm::Absolute) return std::nullopt;
  std::string text(tagText);
  if (row == kTagBaseHref) {
    TakeBase(text);
    // Commented out, so that a browser resolves the converted links locally.
    text.insert(1, "!--");
    text += "--";
    return text;
  }
  Replacements replacements;
  std::vector<QNPlacedReplacement> placed;
  {
    QNScanText scan(text);
    const QNTagValues found = RunTagHandler(
        row, scan, kTagRows[static_cast<std::size_t>(row)].start.size(), text.size(), context_);
    if (found.report) {
      AddReplacements(found.values, row, replacements);
      for (const QNPlacedValue& value : found.placed)
        if (auto replacement = Replace(value.value, value.page))
          placed.push_back(QNPlacedReplacement{value.begin, value.end, std::move(*replacement)});
    }
  }
  const bool converted = !replacements.empty() || !placed.empty();
  SplicePlaced(text, std::move(placed), replacements);
  // A copy served from the disk can pass neither a checksum of the original (the
  // converted copy differs from it) nor a cross-origin request: a browser would
  // refuse the style sheet, script or picture.
  if (converted && text.starts_with('<')) DropAttributes(text, {"integrity", "crossorigin"});
  if (nested && HasNestedScan(row)) return ConvertNested(text, row);
  return text;
}

void QNConversion::TakeBase(std::string_view tagText) {
  const std::string text(tagText);
  QNScanText scan(text);
  const QNTagValues found =
      RunTagHandler(kTagBaseHref, scan, kTagRows[kTagBaseHref].start.size(), text.size(), context_);
  if (!found.report) return;
  for (const std::string& value : found.values) {
    const auto cleaned = CleanLinkValue(value);
    if (!cleaned) continue;
    if (const auto base = BaseFromValue(*cleaned, base_, page_.address))
      base_ = GetBaseDirectory(*base);
  }
}

std::optional<std::string> QNConversion::ConvertNested(const std::string& text, int outer) {
  QNScanText scan(text);
  std::string result;
  std::size_t emitted = 0;
  std::size_t pos = kTagRows[static_cast<std::size_t>(outer)].start.size();
  for (std::size_t count = 0; count < kMaxNestedScans; ++count) {
    const auto tag = scan.NextTag(pos, QNScanText::npos, outer);
    if (!tag) break;
    const QNTagEnd end = FindTagEnd(scan, tag->pos, tag->row);
    if (!end.found()) {
      pos = tag->pos + 1;
      continue;
    }
    const auto inner =
        ConvertTag(scan.View().substr(tag->pos, end.pos - tag->pos), tag->row, false);
    if (!inner) return std::nullopt;
    result.append(text, emitted, tag->pos - emitted);
    result += *inner;
    emitted = end.pos;
    pos = end.pos + 1;
  }
  result.append(text, emitted);
  return result;
}

}  // namespace

bool ConvertHtmlFile(std::istream& in, std::ostream& out, const QNConvertPage& page,
                     const CQNSettings& settings, const QNLinkConverter& convert) {
  QNConversion conversion(out, page, settings, convert);
  const bool complete = WalkTags(in, false, QNScanControl{}, conversion);
  out.flush();
  return complete && out.good();
}

bool ConvertScriptFile(std::istream& in, std::ostream& out, const QNConvertPage& page,
                       const CQNSettings& settings, const QNLinkConverter& convert) {
  QNConversion conversion(out, page, settings, convert);
  QNLineReader reader(in, false);
  std::string line;
  while (reader.Next(line)) {
    std::string work = line;
    PrepareLine(work);
    QNScanText scan(work);
    QNTagValues found;
    ReadScriptStrings(scan, 0, scan.Size(), settings.QN_FILE_EXT, found);
    Replacements replacements;
    conversion.AddReplacements(found.values, -1, replacements);
    SpliceAll(line, replacements);
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
  }
  out.flush();
  return out.good();
}

}  // namespace qn

#include "web/TagHandlers.h"

#include "web/Address.h"
#include "web/ElementValues.h"
#include "web/Forms.h"
#include "web/StyleReferences.h"
#include "web/TagTable.h"

namespace qn {
namespace {

// An attribute whose missing value only loses that attribute.
void ReadAttribute(QNScanText& text, std::size_t from, std::size_t to, std::string_view name,
                   QNTagValues& out, QNEquals equals = QNEquals::Next) {
  const std::size_t eq = FindAttribute(text, name, from, to, equals);
  if (eq == QNScanText::npos) return;
  if (const auto value = GetAttributeValue(text, eq, to, false)) out.Add(text, *value);
}

// An attribute the tag cannot do without: false when its "=" is there but no value
// can be read after it.
bool ReadRequired(QNScanText& text, std::size_t from, std::size_t to, std::string_view name,
                  QNTagValues& out, QNEquals equals = QNEquals::Next) {
  const std::size_t eq = FindAttribute(text, name, from, to, equals);
  if (eq == QNScanText::npos) return true;
  const auto value = GetAttributeValue(text, eq, to, false);
  if (!value) return false;
  out.Add(text, *value);
  return true;
}

// PARAM, OPTION and TH/TD values: kept only when short enough, holding a "." and
// looking like an address.
void AddListed(QNScanText& text, const QNValueSpan& span, const ExtLists& lists, QNTagValues& out) {
  out.Read(span.next);
  const std::string_view value = text.View().substr(span.begin, span.end - span.begin);
  if (value.size() > kMaxLinkLength || value.find('.') == std::string_view::npos) return;
  if (LooksLikeAddress(value, lists)) out.values.emplace_back(value);
}

// The VALUE of every `element` ("<PARAM", "<OPTION") inside [from, to).
void ReadElementValues(QNScanText& text, std::size_t from, std::size_t to, std::string_view element,
                       QNEquals equals, const ExtLists& lists, QNTagValues& out) {
  for (std::size_t at = text.Find(element, from, to); at != QNScanText::npos;
       at = text.Find(element, at + element.size(), to)) {
    const std::size_t close = text.Find(">", at, to);
    const std::size_t eq = FindAttribute(text, "VALUE", at + element.size(),
                                         close == QNScanText::npos ? to : close, equals);
    if (eq == QNScanText::npos) continue;
    if (const auto value = GetAttributeValue(text, eq, to, false))
      AddListed(text, *value, lists, out);
  }
}

// Puts CODEBASE in front of every value collected so far.
void PrefixCodebase(std::string base, std::vector<std::string>& values) {
  if (base.empty() || base == "./") return;
  if (!IsSeparator(base.back())) base += '/';
  for (std::string& value : values) value.insert(0, base);
}

// CODEBASE of an applet or object; false when its value cannot be read.
bool ReadCodebase(QNScanText& text, std::size_t from, std::size_t to, QNTagValues& out,
                  std::string& base) {
  QNTagValues found;
  if (!ReadRequired(text, from, to, "CODEBASE", found)) return false;
  if (!found.values.empty()) {
    base = found.values.front();
    out.Read(found.reached);
  }
  return true;
}

void ReadApplet(QNScanText& text, std::size_t from, std::size_t to, const ExtLists& lists,
                QNTagValues& out) {
  std::string base;
  if (!ReadRequired(text, from, to, "CODE", out) || !ReadCodebase(text, from, to, out, base)) {
    out.report = false;
    return;
  }
  PrefixCodebase(base, out.values);
  ReadElementValues(text, from, to, "<PARAM", QNEquals::FollowsOrRetry, lists, out);
}

void ReadObject(QNScanText& text, std::size_t from, std::size_t to, const ExtLists& lists,
                QNTagValues& out) {
  std::string base;
  if (!ReadRequired(text, from, to, "CODE", out, QNEquals::Follows)) {
    out.report = false;
    return;
  }
  ReadElementValues(text, from, to, "<PARAM", QNEquals::FollowsOrRetry, lists, out);
  if (!ReadCodebase(text, from, to, out, base)) {
    out.report = false;
    return;
  }
  PrefixCodebase(base, out.values);
  if (!ReadRequired(text, from, to, "SRC", out) || !ReadRequired(text, from, to, "CODE", out))
    out.report = false;
}

void ReadAnchor(QNScanText& text, std::size_t from, std::size_t to, const ExtLists& lists,
                QNTagValues& out) {
  if (const std::size_t eq = FindAttribute(text, "HREF", from, to, QNEquals::Follows);
      eq != QNScanText::npos)
    ReadWideValue(text, eq, to, lists, out);
  if (const std::size_t image = text.Find("<IMG", from, to); image != QNScanText::npos) {
    const std::size_t eq = FindAttribute(text, "SRC", image + 4, to, QNEquals::Follows);
    if (eq != QNScanText::npos) ReadWideValue(text, eq, to, lists, out);
  }
  ReadEventValues(text, from, to, {"ONCLICK", "ONMOUSEOVER", "ONMOUSEOUT"}, lists, out);
}

void ReadTableCell(QNScanText& text, std::size_t from, std::size_t to, const ExtLists& lists,
                   QNTagValues& out) {
  ReadAttribute(text, from, to, "BACKGROUND", out);
  std::size_t pos = from;
  for (int count = 0; count < kMaxPieces; ++count) {
    const std::size_t eq = text.Find("=", pos, to);
    if (eq == QNScanText::npos) break;
    if (const auto value = GetAttributeValue(text, eq + 1, to, false))
      AddListed(text, *value, lists, out);
    pos = eq + 1;
  }
}

// The attributes with which pages load pictures late, after a script swaps them in.
void PlaceLazyValues(QNScanText& text, std::size_t from, std::size_t to, QNTagValues& out) {
  PlaceAttribute(text, from, to, "DATA-SRC", out);
  PlaceAttribute(text, from, to, "DATA-ORIGINAL", out);
  PlaceCandidates(text, from, to, "DATA-SRCSET", out);
}

void ReadMeta(QNScanText& text, std::size_t from, std::size_t to, QNTagValues& out) {
  const std::size_t url = text.Find("URL", from, to);
  if (url == QNScanText::npos) return;
  const std::size_t eq = text.Find("=", url + 3, to);
  if (eq == QNScanText::npos) return;
  if (const auto value = GetAttributeValue(text, eq + 1, to, false)) out.Add(text, *value);
}

}  // namespace

QNTagValues RunTagHandler(int row, QNScanText& text, std::size_t from, std::size_t to,
                          const QNHandlerContext& context) {
  const ExtLists& lists = context.settings.QN_FILE_EXT;
  QNTagValues out;
  switch (row) {
    case kTagTitle:
    case kTagComment:
      out.Read(to);
      break;
    case kTagFrameSrc:
    case kTagBgSound:
      ReadAttribute(text, from, to, "SRC", out);
      break;
    case kTagBody:
      ReadAttribute(text, from, to, "BACKGROUND", out);
      ReadEventValues(text, from, to, {"ONLOAD", "ONUNLOAD", "ONBLUR", "ONFOCUS"}, lists, out);
      break;
    case kTagAnchor:
      ReadAnchor(text, from, to, lists, out);
      break;
    case kTagImage:
      out.report =
          ReadRequired(text, from, to, "SRC", out) && ReadRequired(text, from, to, "LOWSRC", out);
      PlaceCandidates(text, from, to, "SRCSET", out);
      PlaceLazyValues(text, from, to, out);
      break;
    case kTagApplet:
      ReadApplet(text, from, to, lists, out);
      break;
    case kTagArea:
      ReadAttribute(text, from, to, "HREF", out);
      ReadEventValues(text, from, to, {"ONMOUSEOVER", "ONMOUSEOUT"}, lists, out);
      break;
    case kTagObject:
      ReadObject(text, from, to, lists, out);
      break;
    case kTagEmbed:
      ReadAttribute(text, from, to, "SRC", out);
      ReadAttribute(text, from, to, "CODE", out);
      out.report = !out.values.empty();
      break;
    case kTagScript:
      ReadScriptStrings(text, from, to, lists, out);
      out.report = !out.values.empty();
      break;
    case kTagMeta:
      ReadMeta(text, from, to, out);
      break;
    case kTagForm:
      ReadFormValues(text, from, to, context, out);
      break;
    case kTagInput:
      out.report = ReadScriptStrings(text, from, to, lists, out) > 0;
      ReadEventValues(text, from, to, {"ONCLICK", "ONSELECT", "ONBLUR", "ONFOCUS"}, lists, out);
      break;
    case kTagSelect:
      ReadEventValues(text, from, to, {"ONBLUR", "ONCHANGE", "ONCLICK", "ONFOCUS"}, lists, out);
      ReadElementValues(text, from, to, "<OPTION", QNEquals::Next, lists, out);
      break;
    case kTagLink:
      ReadAttribute(text, from, to, "HREF", out);
      PlaceCandidates(text, from, to, "IMAGESRCSET", out);
      break;
    case kTagBaseHref:
      ReadAttribute(text, from, to, "HREF", out);
      break;
    case kTagTable:
      ReadAttribute(text, from, to, "BACKGROUND", out);
      break;
    case kTagTableHead:
    case kTagTableCell:
      ReadTableCell(text, from, to, lists, out);
      break;
    case kTagStyleUrl:
      // Placed, so that a value quoted with "&quot;" (as style attributes quote it)
      // is replaced where it stands.
      if (const auto value = GetAttributeValue(text, from, to, false))
        out.Place(text, *value, true);
      break;
    case kTagSource:
      PlaceAttribute(text, from, to, "SRC", out);
      PlaceCandidates(text, from, to, "SRCSET", out);
      PlaceLazyValues(text, from, to, out);
      break;
    case kTagVideo:
      PlaceAttribute(text, from, to, "SRC", out);
      PlaceAttribute(text, from, to, "POSTER", out);
      PlaceAttribute(text, from, to, "DATA-SRC", out);
      break;
    case kTagAudio:
    case kTagTrack:
      PlaceAttribute(text, from, to, "SRC", out);
      break;
    case kTagInlineFrame:
      PlaceAttribute(text, from, to, "SRC", out, true);
      PlaceAttribute(text, from, to, "DATA-SRC", out, true);
      break;
    case kTagSvgImage:
    case kTagSvgUse:
      PlaceAttribute(text, from, to, "HREF", out);
      break;
    case kTagCssImport:
      ReadCssImport(text, from, to, out);
      break;
    case kTagImageSet:
      ReadImageSet(text, from, to, out);
      break;
    default:
      break;
  }
  if (ReadsStyleAttribute(row)) ReadStyleAttributes(text, from, to, out);
  return out;
}

}  // namespace qn

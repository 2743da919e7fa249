#pragma once

// The fixed table of tags the link scanner recognises. The row number is the tag
// index used by the scanner, the link table and the link converter.

#include <array>
#include <cstddef>
#include <string_view>

namespace qn {

enum TagIndex : int {
  kTagTitle = 0,
  kTagFrameSrc = 1,
  kTagBody = 2,
  kTagAnchor = 3,
  kTagImage = 4,
  kTagApplet = 5,
  kTagBgSound = 6,
  kTagArea = 7,
  kTagObject = 8,
  kTagEmbed = 9,
  kTagScript = 10,
  kTagMeta = 11,
  kTagForm = 12,
  kTagInput = 13,
  kTagSelect = 14,
  kTagComment = 15,
  kTagLink = 16,
  kTagTable = 17,
  kTagTableHead = 18,
  kTagTableCell = 19,
  kTagBaseHref = 20,
  kTagStyleUrl = 21,
  // Today's markup, after the rows of the old pages so that their indices stay.
  kTagSource = 22,
  kTagVideo = 23,
  kTagAudio = 24,
  kTagTrack = 25,
  kTagInlineFrame = 26,
  kTagSvgImage = 27,
  kTagSvgUse = 28,
  kTagCssImport = 29,
  kTagImageSet = 30,
};

struct QNTagRow {
  std::string_view start;
  std::string_view end;
  // The start token counts only when the end of the text, a line feed, a carriage
  // return or a space follows it.
  bool word;
  // The end token is the ")" that closes the parenthesis of the start token, with
  // the pairs inside it and quoted text passed over: "image-set(" holds "type(...)".
  bool balanced = false;
};

constexpr std::size_t kTagCount = 31;

constexpr std::array<QNTagRow, kTagCount> kTagRows = {{
    {"<TITLE>", "</TITLE>", false},
    {"<FRAME", ">", true},
    {"<BODY", ">", true},
    {"<A", ">", true},
    {"<IMG", ">", true},
    {"<APPLET", "/APPLET>", true},
    {"<BGSOUND", ">", true},
    {"<AREA", ">", true},
    {"<OBJECT", "/OBJECT>", true},
    {"<EMBED", ">", true},
    {"<SCRIPT", "/SCRIPT>", true},
    {"<META", ">", true},
    {"<FORM", "/FORM>", true},
    {"<INPUT", ">", true},
    {"<SELECT", "/SELECT>", true},
    {"<!--", "-->", true},
    {"<LINK", ">", true},
    {"<TABLE", ">", true},
    {"<TH", ">", true},
    {"<TD", ">", true},
    {"<BASE", ">", true},
    {"URL(", ")", false},
    {"<SOURCE", ">", true},
    {"<VIDEO", ">", true},
    {"<AUDIO", ">", true},
    {"<TRACK", ">", true},
    {"<IFRAME", ">", true},
    {"<IMAGE", ">", true},
    {"<USE", ">", true},
    {"@IMPORT", ";", false},
    {"IMAGE-SET(", ")", false, true},
}};

// Frame target names that follow an address in a Flash movie.
constexpr std::array<std::string_view, 4> kFrameTargets = {"_parent", "_self", "_blank", "_top"};

// Nested tags handled from one outer tag.
constexpr std::size_t kMaxNestedScans = 100;

// The tags whose text is scanned again for tags nested inside it.
constexpr bool HasNestedScan(int tag) {
  return tag == kTagAnchor || tag == kTagTableHead || tag == kTagTableCell || tag == kTagForm;
}

// The style sheet rows: references of CSS text, also inside a tag's style attribute.
constexpr bool IsStyleRow(int tag) {
  return tag == kTagStyleUrl || tag == kTagCssImport || tag == kTagImageSet;
}

// Elements whose style attribute is read for style references of their own: every
// element row except those whose text holds other elements (their nested scan
// finds the references) and those whose text is no markup.
constexpr bool ReadsStyleAttribute(int tag) {
  return tag != kTagTitle && tag != kTagComment && tag != kTagScript && !IsStyleRow(tag) &&
         !HasNestedScan(tag);
}

// A frame's source keeps its page's level: it is part of the page that shows it.
constexpr bool IsFrameSource(int tag) {
  return tag == kTagFrameSrc || tag == kTagInlineFrame;
}

// True when a start token followed by `next` satisfies the word rule (`atEnd`: the
// token ends the text).
constexpr bool WordFollows(bool atEnd, char next) {
  return atEnd || next == '\n' || next == '\r' || next == ' ';
}

// The row whose start token, word rule included, begins at `pos` of `text`, or -1.
// At most one row can match at a place; `skip` is a row to pass over.
int TagAt(std::string_view text, std::size_t pos, int skip = -1);

// True when `text` holds a start token of the table at any place, with the word
// rule applied as at TagAt.
bool ContainsTag(std::string_view text);

// The length of the longest end of `text` that is the beginning of a start token
// (or a whole one), or 0.
std::size_t StartTokenTail(std::string_view text);

// True when `text` ends in a start token of the table (no word rule).
bool EndsInStartToken(std::string_view text);

}  // namespace qn

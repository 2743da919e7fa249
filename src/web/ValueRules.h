#pragma once

// How the scanner reads attribute values and recognises address-like strings in
// tag text. All positions are indices into one QNScanText; a window [from, to)
// stands for the part of the text a handler works on.

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/FileTypes.h"
#include "web/ScanText.h"

namespace qn {

// Longest link value kept; longer PARAM, OPTION and TH/TD values are ignored.
constexpr std::size_t kMaxLinkLength = 1039;
// LooksLikeAddress reads at most this much of a candidate.
constexpr std::size_t kCandidateLength = 259;
// Address-like pieces per attribute and "=" values per table cell.
constexpr int kMaxPieces = 1000;

// A value read from the text: its characters are [begin, end); reading went on
// to `next` (after a closing delimiter).
struct QNValueSpan {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::size_t next = 0;
};

// A value known by its place in the text: conversion replaces it there and only
// there, which lists of addresses ("a.jpg 1x, b.jpg 2x") need, since no delimiter
// rule finds "a.jpg" after the opening quote and before the blank.
struct QNPlacedValue {
  std::string value;
  std::size_t begin = 0;
  std::size_t end = 0;
  bool page = false;  // names a page rather than a picture, font or other file
};

// The values a handler found, in order, and how far it read.
struct QNTagValues {
  std::vector<std::string> values;
  std::vector<QNPlacedValue> placed;
  bool report = true;       // false: the handler gave up on the tag
  bool anyRead = false;     // some value was read from the text
  std::size_t reached = 0;  // place after the furthest value read

  void Read(std::size_t next);
  void Add(QNScanText& text, const QNValueSpan& span);
  // An empty value, or one that names a part of the page itself ("#name"), is read
  // but not kept.
  void Place(QNScanText& text, const QNValueSpan& span, bool page);
};

// Reads a value from just after an "=": blanks are skipped; a value opened by a
// double quote, "&quot;" or a single quote runs to the same delimiter (no value
// without one); otherwise, outside strict mode, it runs to the first line feed,
// carriage return, space, quote or ">". A quoted string directly inside a pair of
// parentheses within the value replaces it ("go('x.htm')" gives "x.htm").
std::optional<QNValueSpan> GetAttributeValue(QNScanText& text, std::size_t pos, std::size_t to,
                                             bool strict);
// The rule of form attributes and of the attributes of today's markup: like
// GetAttributeValue, but an unquoted value runs to the first blank or ">" only, and
// no parentheses rule.
std::optional<QNValueSpan> GetPlainValue(QNScanText& text, std::size_t pos, std::size_t to);

enum class QNEquals {
  Next,            // the value follows the next "=" after the name
  Follows,         // only blanks may stand between the name and its "="
  FollowsOrRetry,  // as Follows, else the next occurrence of the name is tried
};
// Finds attribute `name` (without regard to case) in [from, to) and returns the
// place just after its "=", or npos. A name that is part of a longer name, such
// as SRC in LOWSRC or CODE in CODEBASE, is passed over.
std::size_t FindAttribute(QNScanText& text, std::string_view name, std::size_t from, std::size_t to,
                          QNEquals equals = QNEquals::Next);

// Candidate test for strings that may be addresses.
bool LooksLikeAddress(std::string_view candidate, const ExtLists& lists);

// The rule of A's HREF (and of an IMG's SRC inside an A tag) from just after its
// "=": the value itself, then every quoted piece (or, without quotes, every word)
// of the rest of the window that passes LooksLikeAddress, up to kMaxPieces.
void ReadWideValue(QNScanText& text, std::size_t eq, std::size_t to, const ExtLists& lists,
                   QNTagValues& out);

// Event attributes: in the double-quoted value of each named attribute, every
// single-quoted string that passes LooksLikeAddress.
void ReadEventValues(QNScanText& text, std::size_t from, std::size_t to,
                     std::initializer_list<std::string_view> names, const ExtLists& lists,
                     QNTagValues& out);

// Quoted strings of script text that pass LooksLikeAddress; returns their number.
int ReadScriptStrings(QNScanText& text, std::size_t from, std::size_t to, const ExtLists& lists,
                      QNTagValues& out);

// The tag text without its "<!--" … "-->" comments, except those inside a
// "<SCRIPT" … "/SCRIPT>" pair; nothing when no comment was removed.
std::optional<std::string> RemoveComments(std::string_view text);

// True for a blank of tag text: space, line feed or carriage return.
constexpr bool IsTagBlank(char c) {
  return c == ' ' || c == '\n' || c == '\r';
}

}  // namespace qn

#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "text/MessageIds.h"

namespace qn {

// File-type category bits, the same bits as QN_FILE_TYPES.
enum Category : int {
  kCatNone = 0,
  kCatHtml = 1,
  kCatImage = 2,
  kCatAudio = 8,
  kCatVideo = 16,
  kCatJava = 32,
  kCatOther = 64,
  kCatDocument = 128,
  kCatArchive = 256,
};
constexpr int kAllCategories = 511;

// The extension lists are held, and classification tries them, in this order.
constexpr int kCategoryCount = 8;
constexpr std::array<int, kCategoryCount> kCategoryOrder = {
    kCatHtml, kCatImage, kCatAudio, kCatVideo, kCatJava, kCatDocument, kCatArchive, kCatOther};
// String ids of the category names, in the same order.
constexpr std::array<int, kCategoryCount> kCategoryNameIds = {
    kMsgCategoryHtml, kMsgCategoryImage,    kMsgCategoryAudio,   kMsgCategoryVideo,
    kMsgCategoryJava, kMsgCategoryDocument, kMsgCategoryArchive, kMsgCategoryOther};

// Index of a category bit in kCategoryOrder, or -1 for a value that is not one bit.
int CategoryIndex(int category);

// One extension of a category's list.
struct CQNExtEntry {
  std::string extension;  // without the dot, at most 32 characters
  std::uint8_t enabled = 1;
  std::uint8_t maxOn = 0;
  double max = 0;
  std::uint8_t minOn = 0;
  double min = 0;

  bool operator==(const CQNExtEntry&) const = default;
};

using ExtList = std::vector<CQNExtEntry>;
using ExtLists = std::array<ExtList, kCategoryCount>;

// The default extensions of the category at `index` of kCategoryOrder: those the
// lists had from the start, then those of today's web (fonts, newer pictures and
// videos, modules, manifests).
const std::vector<std::string>& DefaultExtensions(int index);
// The defaults from the start. Project files store their lists as changes from
// these, so that a reader that knows no other defaults reads every list right.
const std::vector<std::string>& StoredBaseExtensions(int index);
// The defaults added since.
const std::vector<std::string>& LaterDefaultExtensions(int index);
// Every list filled from the defaults: all entries enabled, no size limits.
ExtLists DefaultExtLists();
// The same from the stored base.
ExtLists StoredBaseExtLists();

// One entry of the project's URL filter list.
struct CQNUrlFilter {
  int include = 1;    // 1 load matching addresses, 0 skip them
  int protocol = 15;  // 1 http, 2 https, 4 ftp, 8 file, 15 all
  std::string server;
  std::string directory;
  std::string file;

  bool operator==(const CQNUrlFilter&) const = default;
};

}  // namespace qn

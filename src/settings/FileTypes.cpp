#include "settings/FileTypes.h"

namespace qn {

int CategoryIndex(int category) {
  for (int i = 0; i < kCategoryCount; ++i)
    if (kCategoryOrder[i] == category) return i;
  return -1;
}

const std::vector<std::string>& StoredBaseExtensions(int index) {
  static const std::array<std::vector<std::string>, kCategoryCount> lists = {{
      {"htm", "html", "shtm", "shtml", "htms", "htmlx", "asp",  "pl",  "stm",  "stml", "idc", "htx",
       "xsp", "css",  "xml",  "rxml",  "cfm",  "cgi",   "htmp", "php", "php3", "nsf",  "jsp"},
      {"gif", "jpg", "jpeg", "png", "bmp", "tif", "tiff", "xbm", "fif"},
      {"au", "wav", "mid", "midi", "mp3", "m3u", "riff", "mp2"},
      {"mpg", "mpeg", "avi", "ani", "mov", "fli", "flc"},
      {"js", "class"},
      {"doc", "pdf", "txt", "text", "wrl", "xls", "xlw"},
      {"zip", "arc", "gz", "z", "arj", "lha", "lay", "lei", "rar", "cab", "tar"},
      {"swf", "exe"},
  }};
  return lists.at(static_cast<std::size_t>(index));
}

const std::vector<std::string>& LaterDefaultExtensions(int index) {
  static const std::array<std::vector<std::string>, kCategoryCount> lists = {{
      {},
      {"webp", "avif", "svg", "ico"},
      {"ogg", "m4a", "opus"},
      {"webm", "mp4", "m4v", "ogv"},
      {"mjs", "wasm"},
      {"json", "webmanifest", "vtt"},
      {},
      {"woff", "woff2", "ttf", "otf", "eot"},
  }};
  return lists.at(static_cast<std::size_t>(index));
}

const std::vector<std::string>& DefaultExtensions(int index) {
  static const std::array<std::vector<std::string>, kCategoryCount> lists = [] {
    std::array<std::vector<std::string>, kCategoryCount> joined;
    for (int i = 0; i < kCategoryCount; ++i) {
      joined[static_cast<std::size_t>(i)] = StoredBaseExtensions(i);
      for (const std::string& ext : LaterDefaultExtensions(i))
        joined[static_cast<std::size_t>(i)].push_back(ext);
    }
    return joined;
  }();
  return lists.at(static_cast<std::size_t>(index));
}

namespace {

ExtLists ListsOf(const std::vector<std::string>& (*names)(int)) {
  ExtLists lists;
  for (int i = 0; i < kCategoryCount; ++i)
    for (const auto& ext : names(i)) lists[i].push_back(CQNExtEntry{ext});
  return lists;
}

}  // namespace

ExtLists DefaultExtLists() {
  return ListsOf(DefaultExtensions);
}

ExtLists StoredBaseExtLists() {
  return ListsOf(StoredBaseExtensions);
}

}  // namespace qn

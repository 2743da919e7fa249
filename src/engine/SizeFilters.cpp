// Whether a fetched HTML page is kept under the size limits of its file type.
#include "engine/Filters.h"
#include "records/TreeFiles.h"

namespace qn {

bool KeepHtmlAfterDownload(CQNDocNode& node, std::int64_t size, const CQNSettings& settings) {
  if (node.type != kCatHtml) return true;
  if ((settings.QN_FILE_TYPES & kCatHtml) && node.wanted &&
      SizeLimits(settings, size, node.url) == SizeVerdict::Ok)
    return true;
  DeleteFileAndEmptyFolder(node.localFile);
  node.localFile.clear();
  return false;
}

}  // namespace qn

#include "ui/NodePictures.h"

#include <QDir>

#include "records/DocTree.h"
#include "settings/FileTypes.h"

namespace qn {
namespace {

// The first of a category's four pictures: done, pending, failed, marked.
constexpr int kImagePictures = 18;
constexpr int kAudioPictures = 22;
constexpr int kVideoPictures = 26;
constexpr int kJavaPictures = 30;
constexpr int kArchivePictures = 34;
// Pictures of pages and of every other file, whose done pictures stand apart.
constexpr int kPageDone = 2;  // 2, 4, 6, 8 by depth; the selected one follows each
constexpr int kPagePending = 10;
constexpr int kFileDone = 13;
constexpr int kFilePending = 15;

int ByState(const QNNodeLook& look, int done, int pending) {
  if (look.mark == kMarkSelected) return pending + 2;
  if (look.state == kStateDone) return done;
  if (look.state == kStateFailed) return pending + 1;
  return pending;
}

int OfCategory(const QNNodeLook& look, int first) {
  return ByState(look, first, first + 1);
}

}  // namespace

QNNodePicture NodePicture(const QNNodeLook& look) {
  if (look.kind == kNodeRoot) return {0, 1};
  if (look.type == kCatJava)
    return {OfCategory(look, kJavaPictures), OfCategory(look, kJavaPictures)};
  int picture = 0;
  if (look.kind == kNodeFolder) {
    if (look.type == kCatHtml) {
      const int done = kPageDone + 2 * (look.depth % 4);
      picture = ByState(look, done, kPagePending);
      return {picture, picture == done ? done + 1 : picture};
    }
    picture = ByState(look, kFileDone, kFilePending);
  } else {
    switch (look.type) {
      case kCatImage:
        picture = OfCategory(look, kImagePictures);
        break;
      case kCatAudio:
        picture = OfCategory(look, kAudioPictures);
        break;
      case kCatVideo:
        picture = OfCategory(look, kVideoPictures);
        break;
      case kCatDocument:
        picture = ByState(look, kPageDone + 2, kPagePending);
        break;
      case kCatArchive:
        picture = OfCategory(look, kArchivePictures);
        break;
      default:
        picture = ByState(look, kFileDone, kFilePending);
    }
  }
  return {picture, picture};
}

QNNodeIcons::QNNodeIcons() {
  const QDir dir(":/icons/tree");
  std::array<QString, kNodePictureCount> files;
  for (const QString& name : dir.entryList({"node*.svg"}, QDir::Files, QDir::Name)) {
    const int index = name.mid(4, 2).toInt();
    if (index >= 0 && index < kNodePictureCount) files[index] = dir.filePath(name);
  }
  for (int i = 0; i < kNodePictureCount; ++i) plain_[i] = QIcon(files[i]);
  // The root and the pages' done pictures, each followed by its selected picture.
  for (int i : {0, 2, 4, 6, 8}) {
    withSelected_[i] = QIcon(files[i]);
    withSelected_[i].addFile(files[i + 1], {}, QIcon::Selected);
  }
}

const QIcon& QNNodeIcons::Icon(QNNodePicture picture) const {
  if (picture.selected != picture.normal) return withSelected_[picture.normal];
  return plain_[picture.normal];
}

}  // namespace qn

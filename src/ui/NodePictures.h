#pragma once

// The pictures of the contents tree: 38 of them, numbered as the tree has always
// numbered them, chosen by a node's kind, file type, state, mark and depth.

#include <QIcon>
#include <array>

namespace qn {

constexpr int kNodePictureCount = 38;

// What a node's picture depends on, read from the node under the tree lock.
struct QNNodeLook {
  int kind = 0;
  int type = 0;
  int state = 0;
  int mark = 0;
  int depth = 0;  // parent steps from the node's parent up to the root
};

// The picture of a node, and the one it shows while selected (the same picture,
// except for the root and for HTML folders, which have a selected picture of their
// own).
struct QNNodePicture {
  int normal = 0;
  int selected = 0;
};
QNNodePicture NodePicture(const QNNodeLook& look);

// The 38 pictures as icons, each crisp at any scale (drawn from SVG).
class QNNodeIcons {
 public:
  QNNodeIcons();
  // An icon that shows `picture.selected` in the selected mode. The icons are made
  // once, so that each keeps the pixmaps it has drawn.
  const QIcon& Icon(QNNodePicture picture) const;

 private:
  std::array<QIcon, kNodePictureCount> plain_;
  // Indexed by the normal picture; set only where a selected picture differs.
  std::array<QIcon, kNodePictureCount> withSelected_;
};

}  // namespace qn

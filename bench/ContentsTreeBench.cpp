// GUI-thread time of the contents tree pane over a large project: the first display
// (nodes read under the tree lock in batches, the model filled, every item expanded)
// and the display commands, with the window on the offscreen platform.
//
//   bench_contents_tree [nodes]    default 100000

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "engine/Doc.h"
#include "seams/LogSink.h"
#include "seams/Observer.h"
#include "settings/FileTypes.h"
#include "ui/ContentsPane.h"

namespace {

class NullLog : public qn::IQNLogSink {
 public:
  void WriteLine(qn::LogKind, const std::string&) override {}
};

// A site's shape: sections of pages, each page with its files, `total` nodes in all.
void MakeTree(qn::CQNDoc& doc, int total) {
  using namespace qn;
  auto lock = doc.Locks().Hold(DocLock::Tree);
  CQNDocTree& tree = doc.Tree();
  constexpr int kPagesPerSection = 50;
  constexpr int kFilesPerPage = 19;
  int made = 0;
  for (int s = 0; made < total; ++s) {
    CQNDocNode* section = tree.AddFolder(tree.root, true);
    section->title = "Section " + std::to_string(s);
    section->type = kCatHtml;
    ++made;
    for (int p = 0; p < kPagesPerSection && made < total; ++p) {
      CQNDocNode* page = tree.AddFolder(section, true);
      page->title =
          "http://example.org/section" + std::to_string(s) + "/page" + std::to_string(p) + ".html";
      page->type = kCatHtml;
      ++made;
      for (int f = 0; f < kFilesPerPage && made < total; ++f, ++made) {
        CQNDocNode* file = tree.AddFolder(page, true);
        file->kind = kNodeLink;
        file->title = "image" + std::to_string(f) + ".png";
        file->type = kCatImage;
      }
    }
  }
}

template <typename Work>
double Milliseconds(Work work) {
  QElapsedTimer timer;
  timer.start();
  work();
  QApplication::processEvents();
  return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  const int nodes = argc > 1 ? std::atoi(argv[1]) : 100000;

  qn::CQNSettings settings;
  // Every node shown, as a project whose display is not limited shows them.
  settings.QN_TR_LIMIT_F = 0;
  qn::IQNObserver observer;
  NullLog log;
  qn::CQNDoc doc(settings, observer, log, qn::QNTexts());
  doc.CreateRoot();
  MakeTree(doc, nodes);

  qn::QNContentsPane pane(doc);
  pane.resize(400, 800);
  pane.show();
  QApplication::processEvents();

  std::printf("contents tree of %d nodes, GUI-thread time:\n", nodes);
  std::optional<std::vector<qn::QNNodeRecord>> records;
  const qn::QNDisplayLimits limits = qn::DisplayLimitsOf(doc);
  std::printf("  nodes read in batches:              %8.1f ms\n",
              Milliseconds([&] { records = qn::ReadDisplayNodes(doc, limits); }));
  std::printf("  model filled:                       %8.1f ms\n",
              Milliseconds([&] { pane.Model().Fill(*records); }));
  pane.Model().Clear();
  std::printf("  first display (read, fill, expand): %8.1f ms\n",
              Milliseconds([&] { pane.Rebuild(); }));
  std::printf("  Collapse Contents Tree:             %8.1f ms\n",
              Milliseconds([&] { pane.CollapseAll(); }));
  std::printf("  Expand Contents Tree:               %8.1f ms\n",
              Milliseconds([&] { pane.ExpandAll(); }));
  std::printf("  scroll to the last item:            %8.1f ms\n", Milliseconds([&] {
                const QModelIndex root = pane.Model().RootIndex();
                const QModelIndex section =
                    pane.Model().index(pane.Model().rowCount(root) - 1, 0, root);
                pane.scrollTo(section);
                pane.repaint();
              }));
  std::printf("  Update Contents Tree:               %8.1f ms\n",
              Milliseconds([&] { pane.Rebuild(); }));
  std::printf("  items shown: %d\n", pane.Model().ItemCount());
  return pane.Model().ItemCount() == nodes + 1 ? 0 : 1;
}

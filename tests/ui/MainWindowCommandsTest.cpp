// The main window's commands enabled by their rules, read from the window's own
// actions: with no project, an open one, a run, a paused run and a conversion,
// and with the root, a folder, a link or several nodes selected in the tree pane.
#include <gtest/gtest.h>

#include <QAction>
#include <QItemSelectionModel>
#include <map>
#include <vector>

#include "engine/Doc.h"
#include "ui/CommandIds.h"
#include "ui/WindowRig.h"

namespace qn::test {
namespace {

class MainWindowCommandsTest : public ::testing::Test {
 protected:
  WindowRig rig_;
  QNNodeId root_, folder_, inner_, link_;

  bool On(int command) { return rig_.frame->Command(command)->isEnabled(); }

  // A project whose tree is: root, a folder holding a link, and a link beside it.
  void OpenProjectWithTree() {
    rig_.NewProject();
    CQNDoc& doc = rig_.Doc();
    CQNDocNode* root = doc.Tree().root;
    CQNDocNode* folder = doc.AddFolder(root, true);
    CQNDocNode* inner = doc.AddLink(folder, true);
    CQNDocNode* link = doc.AddLink(folder, false);
    ASSERT_TRUE(folder && inner && link);
    root_ = NodeIdOf(*root);
    folder_ = NodeIdOf(*folder);
    inner_ = NodeIdOf(*inner);
    link_ = NodeIdOf(*link);
    rig_.Settle();
    ASSERT_EQ(rig_.Pane().Model().ItemCount(), 4);
  }

  void Select(const std::vector<QNNodeId>& nodes) {
    QNContentsPane& pane = rig_.Pane();
    pane.selectionModel()->clearSelection();
    for (const QNNodeId& node : nodes) {
      const QModelIndex index = pane.Model().IndexOf(node);
      ASSERT_TRUE(index.isValid());
      pane.selectionModel()->setCurrentIndex(index, QItemSelectionModel::Select);
    }
    rig_.frame->UpdateCommands();
  }

  void SetRun(bool running, bool paused) {
    rig_.Doc().run.running = running;
    rig_.Doc().run.paused = paused;
    rig_.frame->UpdateCommands();
  }
};

// The commands whose rule reads nothing but the program itself.
constexpr int kAlways[] = {kCmdFind,         kCmdOptions,      kCmdSchedule,     kCmdToolbar,
                           kCmdStatusBar,    kCmdSplit,        kCmdShowContents, kCmdExpandTree,
                           kCmdCollapseTree, kCmdTreeRoot,     kCmdUpdateTree,   kCmdDeleteTree,
                           kCmdGoTo,         kCmdStopBrowsing, kCmdRefreshView,  kCmdHelpTopics,
                           kCmdAbout,        kCmdContact,      kCmdWebSite};

TEST_F(MainWindowCommandsTest, WithoutAProjectOnlyProgramCommandsAreOffered) {
  for (int command : kAlways) EXPECT_TRUE(On(command)) << command;
  EXPECT_TRUE(On(kCmdNew));
  EXPECT_TRUE(On(kCmdOpen));
  EXPECT_TRUE(On(kCmdPrintContents));
  EXPECT_TRUE(On(kCmdWorkOffline));
  for (int command :
       {kCmdClose,          kCmdCopyProject,     kCmdDeleteProject,     kCmdSave,
        kCmdSaveAs,         kCmdStartDownload,   kCmdPauseDownload,     kCmdStopDownload,
        kCmdPreview,        kCmdProjectSettings, kCmdConvertLinks,      kCmdDownloadBranch,
        kCmdPrintFolder,    kCmdShowReport,      kCmdFindInContents,    kCmdAddFolder,
        kCmdAddLink,        kCmdDeleteNode,      kCmdSelectForDownload, kCmdAddUrlFilter,
        kCmdNodeProperties, kCmdGoBack,          kCmdGoForward,         kCmdPageSetup,
        kCmdPrintPage})
    EXPECT_FALSE(On(command)) << command;
}

TEST_F(MainWindowCommandsTest, SelectionDecidesTheTreeCommands) {
  OpenProjectWithTree();
  const int tree[] = {kCmdAddFolder,         kCmdAddLink,      kCmdDeleteNode,
                      kCmdSelectForDownload, kCmdAddUrlFilter, kCmdNodeProperties,
                      kCmdDownloadBranch,    kCmdPrintFolder};
  // What each selection enables, in the order of `tree`.
  const std::map<std::string, std::vector<bool>> expected = {
      {"root", {true, true, false, false, false, true, false, true}},
      {"folder", {true, true, true, true, true, true, true, true}},
      {"link", {true, true, true, true, true, true, false, false}},
      {"folder+link", {true, true, true, true, true, true, false, false}},
      {"root+link", {true, true, true, true, true, true, false, false}},
  };
  // Vectors, not initializer lists: a list's elements would end with the map's
  // initialisation.
  const std::map<std::string, std::vector<QNNodeId>> selections = {
      {"root", {root_}},
      {"folder", {folder_}},
      {"link", {inner_}},
      {"folder+link", {folder_, link_}},
      {"root+link", {root_, link_}}};
  for (const auto& [name, nodes] : selections) {
    Select(nodes);
    for (std::size_t i = 0; i < std::size(tree); ++i)
      EXPECT_EQ(On(tree[i]), expected.at(name)[i]) << name << " " << tree[i];
  }

  // Nothing selected: only the commands that need no node.
  rig_.Pane().selectionModel()->clearSelection();
  rig_.frame->UpdateCommands();
  for (int command : tree) EXPECT_FALSE(On(command)) << command;

  // A root without children has no pages to print.
  CQNDocNode* folder = nullptr;
  {
    auto lock = rig_.Doc().Locks().Hold(DocLock::Tree);
    folder = rig_.Doc().Tree().Resolve(folder_);
  }
  CQNDocNode* link = nullptr;
  {
    auto lock = rig_.Doc().Locks().Hold(DocLock::Tree);
    link = rig_.Doc().Tree().Resolve(link_);
  }
  ASSERT_TRUE(rig_.Doc().DeleteNode(folder, false));
  ASSERT_TRUE(rig_.Doc().DeleteNode(link, false));
  rig_.frame->Contents().Rebuild();
  Select({root_});
  EXPECT_FALSE(On(kCmdPrintFolder));
  EXPECT_TRUE(On(kCmdAddFolder));
}

TEST_F(MainWindowCommandsTest, RunStatesDecideTheProjectCommands) {
  OpenProjectWithTree();
  Select({folder_});
  const int commands[] = {kCmdNew,
                          kCmdOpen,
                          kCmdClose,
                          kCmdCopyProject,
                          kCmdDeleteProject,
                          kCmdSave,
                          kCmdStartDownload,
                          kCmdPauseDownload,
                          kCmdStopDownload,
                          kCmdPreview,
                          kCmdProjectSettings,
                          kCmdConvertLinks,
                          kCmdDownloadBranch,
                          kCmdDeleteNode,
                          kCmdAddFolder,
                          kCmdPrintFolder,
                          kCmdPrintContents,
                          kCmdWorkOffline,
                          kCmdNodeProperties,
                          kCmdFindInContents};
  const std::vector<bool> open = {true, true, true, true, true, true, true, false, false, true,
                                  true, true, true, true, true, true, true, true,  true,  true};
  const std::vector<bool> running = {false, false, false, false, false, true,  false,
                                     true,  true,  false, true,  false, false, false,
                                     false, false, false, false, true,  true};
  // Paused: Start resumes and Pause is off; otherwise as running.
  std::vector<bool> paused = running;
  paused[6] = true;
  paused[7] = false;

  const auto check = [&](const std::vector<bool>& want, const char* state) {
    for (std::size_t i = 0; i < std::size(commands); ++i)
      EXPECT_EQ(On(commands[i]), want[i]) << state << " " << commands[i];
  };
  check(open, "open");
  SetRun(true, false);
  check(running, "running");
  SetRun(true, true);
  check(paused, "paused");
  SetRun(false, false);
  check(open, "stopped");
  for (int command : kAlways) EXPECT_TRUE(On(command)) << command;
}

}  // namespace
}  // namespace qn::test

// Edited settings handed to a document while no run goes on.
#include <gtest/gtest.h>

#include "engine/DocFixture.h"

namespace qn::test {
namespace {

TEST(AppliedSettings, WithoutARunTheyRetitleTheRootAndRebuildTheDisplay) {
  DocFixture f;
  f.doc.modified = false;
  CQNSettings changed = f.doc.SettingsCopy();

  // An equal record changes nothing, not even the modified flag.
  f.doc.ApplyChangedSettings(changed);
  EXPECT_FALSE(f.doc.modified);
  EXPECT_EQ(f.doc.SettingsChanges(), 0u);
  // Nor one that differs only in what the runs keep for themselves.
  changed.DownloadState = 3;
  changed.DownloadDir = "/elsewhere/";
  f.doc.ApplyChangedSettings(changed);
  EXPECT_FALSE(f.doc.modified);
  EXPECT_EQ(f.settings.DownloadState, 0);
  EXPECT_TRUE(f.observer.changed.empty());
  EXPECT_EQ(f.observer.cleared, 0);

  changed.QN_TITLE = "Garden Club";
  f.doc.ApplyChangedSettings(changed);
  EXPECT_TRUE(f.doc.modified);
  EXPECT_EQ(f.settings.QN_TITLE, "Garden Club");
  EXPECT_EQ(f.Root()->title, "Garden Club");
  EXPECT_EQ(f.observer.changed, (std::vector<QNNodeId>{NodeIdOf(*f.Root())}));
  EXPECT_EQ(f.observer.cleared, 0);
  EXPECT_EQ(f.doc.SettingsChanges(), 1u);

  // What the display shows changed: it is rebuilt, which retitles the root too.
  changed.QN_TR_MAX_F = 50;
  changed.QN_TITLE = "Club";
  f.doc.ApplyChangedSettings(changed);
  EXPECT_EQ(f.observer.cleared, 1);
  EXPECT_EQ(f.Root()->title, "Club");
  EXPECT_EQ(f.observer.changed.size(), 1u);
  EXPECT_EQ(f.settings.QN_TR_MAX_F, 50);

  // Threads enter within 1 to 100 here as anywhere.
  changed.QN_THREADS = 0;
  f.doc.ApplyChangedSettings(changed);
  EXPECT_EQ(f.settings.QN_THREADS, 1);
}

}  // namespace
}  // namespace qn::test

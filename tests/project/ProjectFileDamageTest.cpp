#include <gtest/gtest.h>

#include <sstream>
#include <unordered_set>

#include "project/BinaryStream.h"
#include "project/ProjectFile.h"
#include "project/ProjectGolden.h"
#include "project/ProjectTestSupport.h"
#include "records/TreeWalk.h"

namespace qn {
namespace {

struct ReadResult {
  bool ok = false;
  std::vector<int> messages;
  CQNSettings settings;
  CQNDocTree tree;
};

void ReadBytes(const std::string& bytes, ReadResult& r) {
  std::istringstream in(bytes);
  test::MessageRecorder rec;
  r.ok = ReadProject(in, "/proj/bad.qnp", r.settings, r.tree, rec.messages);
  r.messages = rec.Ids();
}

// The tree of a successful read is one well-formed tree: every node reached once
// from the root through agreeing links, and as many nodes as the count says.
void ExpectSoundTree(const CQNDocTree& tree) {
  if (!tree.root) {
    EXPECT_EQ(tree.count, 0);
    return;
  }
  ASSERT_EQ(tree.root->parent, nullptr);
  std::unordered_set<const CQNDocNode*> seen;
  for (const CQNDocNode* n = tree.root; n; n = NextPreOrder(n, tree.root)) {
    ASSERT_TRUE(seen.insert(n).second) << "node reached twice";
    if (n->firstChild) {
      EXPECT_EQ(n->firstChild->parent, n);
      EXPECT_EQ(n->firstChild->prevSibling, nullptr);
    }
    if (n->nextSibling) {
      EXPECT_EQ(n->nextSibling->prevSibling, n);
      EXPECT_EQ(n->nextSibling->parent, n->parent);
    }
    ASSERT_LE(seen.size(), tree.StoredNodes());
  }
  EXPECT_EQ(static_cast<int>(seen.size()) - 1, tree.count);
}

TEST(ProjectFileDamage, EveryTruncation) {
  const auto golden = test::GoldenBytes();
  for (std::size_t cut = 0; cut < golden.bytes.size(); ++cut) {
    ReadResult r;
    ReadBytes(golden.bytes.substr(0, cut), r);
    if (cut < golden.treeEnd) {
      EXPECT_FALSE(r.ok) << cut;
      EXPECT_EQ(r.messages, std::vector<int>{65074}) << cut;
      EXPECT_EQ(r.tree.root, nullptr);
      EXPECT_EQ(r.tree.StoredNodes(), 0u);
    } else {
      EXPECT_TRUE(r.ok) << cut;
      EXPECT_TRUE(r.messages.empty()) << cut;
      EXPECT_EQ(r.tree.count, 2);
    }
  }
}

TEST(ProjectFileDamage, WrongMagicIsNotAProject) {
  ReadResult r;
  ReadBytes(test::Bytes().Str("Quillorne Project File v2.0").Int(0).str(), r);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.messages, std::vector<int>{65071});
}

std::string Block1(std::int32_t threads = 5) {
  test::Bytes b;
  b.Str("Quillorne Project File v1.0").Str("http://h/").Str("").Str("").Str("/d/").Str("t");
  b.Int(threads).Int(511).Int(0).Int(1).Int(30).Int(1).Int(1000).Int(1).Real(1048576.0);
  for (int i = 0; i < 10; ++i) b.Int(0);
  for (int i = 0; i < 10; ++i) b.Int(0);
  return b.str();
}

// A root record with the given neighbour ordinals.
std::string Root(int ord, int prev, int next, int parent, int child) {
  return test::Bytes()
      .Int(1)
      .Counted("root")
      .Int(ord)
      .Int(prev)
      .Int(next)
      .Int(parent)
      .Int(child)
      .str();
}
std::string Link(int ord, int prev, int next, int parent, int child) {
  return test::Bytes()
      .Int(3)
      .Counted("n")
      .Counted("")
      .Counted("x.htm")
      .Int(1)
      .Int(0)
      .Int(ord)
      .Int(prev)
      .Int(next)
      .Int(parent)
      .Int(child)
      .str();
}

TEST(ProjectFileDamage, LengthsBeyondTheEndAreRefusedWithoutAllocating) {
  ReadResult r;
  // A node count of 2^31 - 1 in a file of a hundred bytes.
  ReadBytes(Block1() + test::Bytes().Int(0x7FFFFFFF).str() + Root(0, -1, -1, -1, -1), r);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.messages, std::vector<int>{65074});

  // Strings and texts whose length lies far beyond the end of the file.
  for (const std::string& bad :
       {test::Bytes().Str("Quillorne Project File v1.0").Byte(0xFF).Raw("\xFF\xFF").Int(-1).str(),
        test::Bytes()
            .Str("Quillorne Project File v1.0")
            .Byte(0xFF)
            .Raw("\xFE\xFF")
            .Byte(0xFF)
            .Raw("\xFF\xFF")
            .Int(0x7FFFFFFF)
            .str(),
        Block1() + test::Bytes().Int(1).Int(1).Int(0x7FFFFFF0).str(),
        Block1() + test::Bytes().Int(1).Int(1).Int(-5).str()}) {
    ReadBytes(bad, r);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.messages, std::vector<int>{65074});
  }
}

TEST(ProjectFileDamage, LinksThatDoNotFormOneTreeAreRefused) {
  const std::vector<std::string> trees = {
      // The second child names itself as next sibling: a cycle among siblings.
      Root(0, -1, -1, -1, 1) + Link(1, -1, 2, 0, -1) + Link(2, 1, 2, 0, -1),
      // A child that names the root as its own child.
      Root(0, -1, -1, -1, 1) + Link(1, -1, -1, 0, 0),
      // A node nothing leads to.
      Root(0, -1, -1, -1, 1) + Link(1, -1, -1, 0, -1) + Link(2, -1, -1, 0, -1),
      // A parent that does not match the node the walk came from.
      Root(0, -1, -1, -1, 1) + Link(1, -1, 2, 0, -1) + Link(2, 1, -1, 1, -1),
      // Two nodes with one ordinal.
      Root(0, -1, -1, -1, 1) + Link(1, -1, -1, 0, -1) + Link(1, -1, -1, 0, -1),
      // A root with a sibling.
      Root(0, -1, 1, -1, -1) + Link(1, 0, -1, -1, -1),
  };
  for (std::size_t i = 0; i < trees.size(); ++i) {
    const int count = i == 0 || i == 2 || i == 3 || i == 4 ? 3 : 2;
    ReadResult r;
    ReadBytes(Block1() + test::Bytes().Int(count).str() + trees[i], r);
    EXPECT_FALSE(r.ok) << i;
    EXPECT_EQ(r.messages, std::vector<int>{65074}) << i;
  }

  // Ordinals that differ from positions but agree with each other are fine, and a
  // reference to an ordinal never read is no link.
  ReadResult r;
  ReadBytes(Block1() + test::Bytes().Int(3).str() + Root(10, -1, -1, -1, 20) +
                Link(20, -1, 30, 10, -1) + Link(30, 20, 99, 10, -1),
            r);
  ASSERT_TRUE(r.ok);
  ExpectSoundTree(r.tree);
  EXPECT_EQ(r.tree.count, 2);
  EXPECT_EQ(r.tree.root->firstChild->nextSibling->url, "http://h/x.htm");
}

TEST(ProjectFileDamage, NodesAfterTheLimitAreReadAndDropped) {
  const int n = kMaxNodes + 3;  // root and 100002 children
  std::string bytes = Block1() + test::Bytes().Int(n + 1).str() + Root(0, -1, -1, -1, 1);
  for (int i = 1; i <= n; ++i)
    bytes += Link(i, i - 1 == 0 ? -1 : i - 1, i == n ? -1 : i + 1, 0, -1);
  test::Bytes later;
  later.Real(2e6).Int(0).Real(0);
  for (int i = 0; i < 10 + 8; ++i) later.Int(0);
  later.Int(0);      // filters
  later.Int(n + 1);  // levels A
  for (int i = 0; i <= n; ++i) later.Int(i).Int(i % 5).Int(i);
  later.Str("agent").Str("/dl/").Int(0).Str("home.htm");  // block 3, levels B, block 4
  ReadResult r;
  ReadBytes(bytes + later.str(), r);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.tree.count, kMaxNodes);
  EXPECT_EQ(r.tree.StoredNodes(), static_cast<std::size_t>(kMaxNodes) + 1);
  ExpectSoundTree(r.tree);
  EXPECT_EQ(r.settings.QN_MAX_DS, 2e6);
  EXPECT_EQ(r.settings.QN_DEFFNAME, "home.htm");
  EXPECT_EQ(r.settings.DownloadDir, "/dl/");
  EXPECT_EQ(r.tree.root->firstChild->nextSibling->size, 2);
}

TEST(ProjectFileDamage, HugeCountsInTheLaterBlocksEndQuietly) {
  const auto golden = test::GoldenBytes();
  const std::string head = golden.bytes.substr(0, golden.treeEnd);
  test::Bytes block2;
  block2.Real(1.0).Int(1).Real(2.0);
  for (int i = 0; i < 10; ++i) block2.Int(0);
  for (const std::string& tail :
       {test::Bytes(block2).Int(0x7FFFFFFF).Int(1).Byte(2).Str("htm").str(), test::Bytes(block2)
                                                                                 .Int(-1)
                                                                                 .Int(0)
                                                                                 .Int(0)
                                                                                 .Int(0)
                                                                                 .Int(0)
                                                                                 .Int(0)
                                                                                 .Int(0)
                                                                                 .Int(0)
                                                                                 .Int(0x7FFFFFFF)
                                                                                 .str()}) {
    ReadResult r;
    ReadBytes(head + tail, r);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.settings.QN_MAX_DS, 1.0);
    EXPECT_EQ(r.settings.QN_LIM_MINFS, 1);
    EXPECT_EQ(r.tree.count, 2);
  }
}

TEST(ProjectFileDamage, RandomCorruptionNeverGivesAnUnsoundTree) {
  const auto golden = test::GoldenBytes();
  unsigned seed = 12345;
  const auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
  int accepted = 0;
  for (int round = 0; round < 1000; ++round) {
    std::string bytes = golden.bytes;
    for (int flips = 1 + next() % 4; flips > 0; --flips) {
      const std::size_t at = next() % bytes.size();
      bytes[at] = static_cast<char>(next() % 3 == 0 ? 0xFF : next() >> 24);
    }
    ReadResult r;
    ReadBytes(bytes, r);
    if (!r.ok) continue;
    ++accepted;
    ExpectSoundTree(r.tree);
    EXPECT_GE(r.settings.StartUrlCount, 1);
    EXPECT_LE(r.settings.StartUrlCount, kMaxStartUrls);
  }
  EXPECT_GT(accepted, 0);
}

TEST(ProjectFileDamage, SixteenBitStringsBecomeUtf8) {
  // "Grüße €" and a character outside the basic plane, in the 16-bit form.
  const std::u16string text = u"Gr\u00FC\u00DFe \u20AC\U0001F600";
  test::Bytes wide;
  wide.Byte(0xFF).Raw("\xFE\xFF").Byte(static_cast<std::uint8_t>(text.size()));
  for (char16_t c : text)
    wide.Byte(static_cast<std::uint8_t>(c)).Byte(static_cast<std::uint8_t>(c >> 8));
  test::Bytes b;
  b.Str("Quillorne Project File v1.0").Str("http://h/").Raw(wide.str()).Str("").Str("/d/").Str("t");
  b.Int(5).Int(511).Int(0).Int(1).Int(30).Int(1).Int(1000).Int(1).Real(1048576.0);
  for (int i = 0; i < 20; ++i) b.Int(0);
  b.Int(0);
  ReadResult r;
  ReadBytes(b.str(), r);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.settings.QN_USER_ID,
            "Gr\xC3\xBC\xC3\x9F"
            "e \xE2\x82\xAC\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf16ToUtf8(u"\xD800x\xDC00"), "\xEF\xBF\xBDx\xEF\xBF\xBD");
}

TEST(ProjectFileDamage, ReadErrorsGoToTheLogWhenUnattended) {
  test::RecordingObserver observer;
  test::RecordingLog log;
  QNFileMessages messages{&observer, &log, QNTexts()};
  std::istringstream in(test::GoldenBytes().bytes.substr(0, 40));
  CQNSettings s;
  CQNDocTree tree;
  EXPECT_FALSE(ReadProject(in, "/p/x.qnp", s, tree, messages));
  EXPECT_TRUE(observer.messages.empty());
  EXPECT_EQ(log.lines, std::vector<std::string>{" Error reading file '/p/x.qnp'"});
}

}  // namespace
}  // namespace qn

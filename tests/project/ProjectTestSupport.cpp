#include "project/ProjectTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

#include "records/TreeWalk.h"

namespace qn::test {

std::vector<int> MessageRecorder::Ids() const {
  std::vector<int> ids;
  for (const auto& m : observer.messages) ids.push_back(m.first);
  return ids;
}

Bytes& Bytes::Int(std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) out_ += static_cast<char>((u >> (8 * i)) & 0xFF);
  return *this;
}

Bytes& Bytes::Real(double v) {
  std::uint64_t u;
  std::memcpy(&u, &v, sizeof u);
  for (int i = 0; i < 8; ++i) out_ += static_cast<char>((u >> (8 * i)) & 0xFF);
  return *this;
}

Bytes& Bytes::Byte(std::uint8_t v) {
  out_ += static_cast<char>(v);
  return *this;
}

Bytes& Bytes::Str(const std::string& s) {
  Byte(static_cast<std::uint8_t>(s.size()));
  out_ += s;
  return *this;
}

Bytes& Bytes::Counted(const std::string& s) {
  Int(static_cast<std::int32_t>(s.size()));
  out_ += s;
  return *this;
}

Bytes& Bytes::Raw(const std::string& s) {
  out_ += s;
  return *this;
}

void ExpectSameTree(const CQNDocTree& expected, const CQNDocTree& actual) {
  ASSERT_EQ(expected.count, actual.count);
  const CQNDocNode* e = expected.root;
  const CQNDocNode* a = actual.root;
  for (int i = 0; e && a; ++i) {
    ASSERT_EQ(e->kind, a->kind) << "node " << i;
    ASSERT_EQ(e->title, a->title) << "node " << i;
    ASSERT_EQ(e->url, a->url) << "node " << i;
    ASSERT_EQ(e->localFile, a->localFile) << "node " << i;
    ASSERT_EQ(e->type, a->type) << "node " << i;
    ASSERT_EQ(e->state.load(), a->state.load()) << "node " << i;
    ASSERT_EQ(e->level, a->level) << "node " << i;
    ASSERT_EQ(e->size.load(), a->size.load()) << "node " << i;
    ASSERT_EQ(e->sitePos, a->sitePos) << "node " << i;
    ASSERT_EQ(e->etag, a->etag) << "node " << i;
    ASSERT_EQ(e->firstChild == nullptr, a->firstChild == nullptr) << "node " << i;
    ASSERT_EQ(e->nextSibling == nullptr, a->nextSibling == nullptr) << "node " << i;
    e = NextPreOrder(e, expected.root);
    a = NextPreOrder(a, actual.root);
  }
  EXPECT_EQ(e, nullptr);
  EXPECT_EQ(a, nullptr);
}

CQNDocNode* AddNode(CQNDocTree& tree, CQNDocNode* parent, int kind, const std::string& title,
                    const std::string& url, const std::string& localFile) {
  CQNDocNode* n = tree.NewNode();
  n->kind = kind;
  n->title = title;
  n->SetUrl(url);
  n->localFile = localFile;
  tree.Insert(n, parent, true);
  return n;
}

}  // namespace qn::test

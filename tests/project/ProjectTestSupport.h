#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "project/FileMessages.h"
#include "records/DocTree.h"
#include "seams/LogSink.h"
#include "seams/Observer.h"

namespace qn::test {

struct RecordingObserver : IQNObserver {
  std::vector<std::pair<int, std::string>> messages;
  void ShowMessage(int id, const std::string& text) override { messages.emplace_back(id, text); }
};

struct RecordingLog : IQNLogSink {
  std::vector<std::string> lines;
  void WriteLine(LogKind, const std::string& text) override { lines.push_back(text); }
};

// Observer and log together, ready to hand to the readers.
struct MessageRecorder {
  RecordingObserver observer;
  QNFileMessages messages{&observer, nullptr, QNTexts()};
  std::vector<int> Ids() const;
};

// Little-endian fields written by hand, independent of the program's writer.
class Bytes {
 public:
  Bytes& Int(std::int32_t v);
  Bytes& Real(double v);
  Bytes& Byte(std::uint8_t v);
  Bytes& Str(const std::string& s);  // one length byte; s is shorter than 255
  Bytes& Counted(const std::string& s);
  Bytes& Raw(const std::string& s);
  const std::string& str() const { return out_; }
  std::size_t size() const { return out_.size(); }

 private:
  std::string out_;
};

// Walks both trees in pre-order side by side and expects the same saved members in
// every node and the same shape: which nodes have a first child and a next sibling
// in pre-order fixes the whole hierarchy.
void ExpectSameTree(const CQNDocTree& expected, const CQNDocTree& actual);

// A node added as the last child of `parent` with the given fields.
CQNDocNode* AddNode(CQNDocTree& tree, CQNDocNode* parent, int kind, const std::string& title,
                    const std::string& url, const std::string& localFile);

}  // namespace qn::test

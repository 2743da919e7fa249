// The blocks after block 4. A reader made before them stops at the end of block 4,
// so they are free to grow; each is a named record (string name, counted bytes), so
// that a reader skips the records it does not know and later records can be added.
#include <sstream>

#include "project/ProjectFileFormat.h"
#include "text/AddressChars.h"

namespace qn {
namespace {

constexpr const char* kCrawlingRecord = "Crawling";
constexpr const char* kValidatorsRecord = "Validators";
constexpr std::size_t kMaxRecordName = 64;
constexpr std::size_t kMaxValidatorLength = 1024;

std::string CrawlingBytes(const CQNSettings& s) {
  QNBinaryWriter w;
  for (int v : {s.QN_ROBOTS, s.QN_DELAY_MS, s.QN_LIM_CONN, s.QN_MAX_CONN}) w.Int(v);
  w.String(s.QN_COOKIES);
  return w.Take();
}

// A switch other than 0 or 1 keeps its default, as the packed words do; the numbers
// are kept within their ranges.
void ReadCrawling(QNBinaryReader& r, CQNSettings& s) {
  const auto takeSwitch = [&r](int& member) {
    const std::int32_t v = r.Int();
    if (v == 0 || v == 1) member = v;
  };
  takeSwitch(s.QN_ROBOTS);
  s.QN_DELAY_MS = r.Int();
  takeSwitch(s.QN_LIM_CONN);
  s.QN_MAX_CONN = r.Int();
  KeepCrawlingInRange(s);
  s.QN_COOKIES = r.String(kMaxAddressLength);
}

// The validators (ETag) of the saved files, by the position of their node in the
// file; nodes without one are left out.
std::string ValidatorBytes(const std::vector<CQNDocNode*>& nodes) {
  QNBinaryWriter w;
  std::int32_t count = 0;
  for (const CQNDocNode* n : nodes) count += n->etag.empty() ? 0 : 1;
  w.Int(count);
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    if (nodes[i]->etag.empty()) continue;
    w.Int(static_cast<std::int32_t>(i));
    w.String(nodes[i]->etag);
  }
  return w.Take();
}

void ReadValidators(QNBinaryReader& r, const std::vector<CQNDocNode*>& nodes) {
  const std::int32_t count = r.Int();
  for (std::int32_t k = 0; k < count; ++k) {
    const std::int32_t index = r.Int();
    std::string etag = r.String(kMaxValidatorLength);
    if (index >= 0 && static_cast<std::size_t>(index) < nodes.size())
      nodes[static_cast<std::size_t>(index)]->etag = std::move(etag);
  }
}

}  // namespace

void WriteAddedBlocks(QNBinaryWriter& w, const CQNSettings& s,
                      const std::vector<CQNDocNode*>& nodes) {
  w.String(kCrawlingRecord);
  w.CountedText(CrawlingBytes(s));
  w.String(kValidatorsRecord);
  w.CountedText(ValidatorBytes(nodes));
}

bool ReadAddedBlocks(QNBinaryReader& r, CQNSettings& s, const std::vector<CQNDocNode*>& nodes) {
  bool any = false;
  for (;;) {
    std::string name;
    std::string bytes;
    try {
      name = r.String(kMaxRecordName);
      bytes = r.CountedText(SIZE_MAX);
    } catch (const QNReadError&) {
      return any;
    }
    any = true;
    // A record cut short keeps what it holds; the records after it still count.
    std::istringstream in(std::move(bytes));
    QNBinaryReader record(in);
    try {
      if (name == kCrawlingRecord)
        ReadCrawling(record, s);
      else if (name == kValidatorsRecord)
        ReadValidators(record, nodes);
    } catch (const QNReadError&) {
    }
  }
}

}  // namespace qn

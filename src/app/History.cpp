#include "app/History.h"

#include <QString>
#include <algorithm>

namespace qn {
namespace {

bool SameNoCase(const std::string& a, const std::string& b) {
  return QString::fromUtf8(a).compare(QString::fromUtf8(b), Qt::CaseInsensitive) == 0;
}

}  // namespace

void QNHistory::Add(const std::string& text) {
  std::erase_if(entries_, [&](const std::string& entry) { return SameNoCase(entry, text); });
  if (entries_.size() > kLimit - 1) entries_.resize(kLimit - 1);
  entries_.insert(entries_.begin(), text);
}

void QNHistory::Assign(std::vector<std::string> entries) {
  if (entries.size() > kLimit) entries.resize(kLimit);
  entries_ = std::move(entries);
}

}  // namespace qn

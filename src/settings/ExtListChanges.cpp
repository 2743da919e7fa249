#include "settings/ExtListChanges.h"

#include <algorithm>

#include "text/NoCase.h"

namespace qn {
namespace {

bool HasLimits(const CQNExtEntry& e) {
  return e.minOn != 0 || e.min != 0 || e.maxOn != 0 || e.max != 0;
}

bool IsDefaultName(const std::vector<std::string>& defaults, std::string_view name) {
  return std::any_of(defaults.begin(), defaults.end(),
                     [&](const std::string& d) { return EqualNoCase(d, name); });
}

}  // namespace

std::vector<QNExtChange> ExtListChanges(const ExtList& list, int index, bool limitsCount) {
  const auto& defaults = DefaultExtensions(index);
  std::vector<QNExtChange> changes;
  for (const auto& e : list) {
    // Every default entry is enabled and has no limits.
    const bool asDefault = e.enabled == 1 && IsDefaultName(defaults, e.extension);
    if (!asDefault || (limitsCount && HasLimits(e))) changes.push_back({e, false});
  }
  for (const auto& name : defaults) {
    const bool present = std::any_of(list.begin(), list.end(), [&](const CQNExtEntry& e) {
      return EqualNoCase(e.extension, name);
    });
    if (!present) changes.push_back({CQNExtEntry{name, 2}, true});
  }
  return changes;
}

QNExtListEditor::QNExtListEditor(ExtList& list) : list_(list), entries_(list) {
  alive_.assign(entries_.size(), true);
  for (std::size_t i = 0; i < entries_.size(); ++i)
    byName_[ToLower(entries_[i].extension)].push_back(i);
}

bool QNExtListEditor::Remove(std::string_view name) {
  const auto it = byName_.find(ToLower(name));
  if (it == byName_.end() || it->second.empty()) return false;
  alive_[it->second.front()] = false;
  it->second.erase(it->second.begin());
  return true;
}

CQNExtEntry& QNExtListEditor::SetEnabled(std::string_view name, std::uint8_t enabled) {
  auto& slots = byName_[ToLower(name)];
  if (!slots.empty()) {
    CQNExtEntry& e = entries_[slots.front()];
    e.enabled = enabled;
    return e;
  }
  slots.push_back(entries_.size());
  entries_.push_back(CQNExtEntry{std::string(name), enabled});
  alive_.push_back(true);
  return entries_.back();
}

void QNExtListEditor::Commit() {
  list_.clear();
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (alive_[i]) list_.push_back(entries_[i]);
}

}  // namespace qn

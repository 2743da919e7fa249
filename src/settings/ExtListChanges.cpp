#include "settings/ExtListChanges.h"

#include <algorithm>
#include <string>
#include <unordered_set>

#include "text/NoCase.h"

namespace qn {
namespace {

bool HasLimits(const CQNExtEntry& e) {
  return e.minOn != 0 || e.min != 0 || e.maxOn != 0 || e.max != 0;
}

}  // namespace

std::vector<QNExtChange> ExtListChanges(const ExtList& list,
                                        const std::vector<std::string>& defaults,
                                        bool limitsCount) {
  // Reading edits the default list by name: entries keep the default order and new
  // names go to the end. The longest start of the list that stands in default order
  // stays in place; every entry behind it is written so that it is added at the end,
  // and a default entry among those is removed first, so that the list reads back in
  // its own order and the size limits, stored by position, stay with their entries.
  std::size_t inPlace = 0;
  std::vector<bool> placed(defaults.size(), false);
  for (std::size_t d = 0; d < defaults.size(); ++d) {
    if (inPlace < list.size() && EqualNoCase(list[inPlace].extension, defaults[d])) {
      placed[d] = true;
      ++inPlace;
    }
  }
  // By name, so that a list of any length is written in linear time.
  std::unordered_set<std::string> names;
  for (const CQNExtEntry& e : list) names.insert(ToLower(e.extension));
  std::vector<QNExtChange> changes;
  for (std::size_t d = 0; d < defaults.size(); ++d)
    if (!placed[d] && names.contains(ToLower(defaults[d])))
      changes.push_back({CQNExtEntry{defaults[d], 2}, true});
  std::unordered_set<std::string> seen;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const CQNExtEntry& e = list[i];
    // Every default entry is enabled and has no limits.
    const bool asDefault = i < inPlace && e.enabled == 1;
    // A second entry of a name cannot be stored: reading finds the first by its name.
    const bool repeated = !seen.insert(ToLower(e.extension)).second;
    if (!repeated && (!asDefault || (limitsCount && HasLimits(e)))) changes.push_back({e, false});
  }
  for (const std::string& name : defaults)
    if (!names.contains(ToLower(name))) changes.push_back({CQNExtEntry{name, 2}, true});
  return changes;
}

void SettleLaterDefaults(ExtLists& lists, bool addMissing) {
  const auto holds = [](const ExtList& list, std::string_view name) {
    return std::find_if(list.begin(), list.end(),
                        [&](const CQNExtEntry& e) { return EqualNoCase(e.extension, name); });
  };
  for (int i = 0; i < kCategoryCount; ++i) {
    ExtList& own = lists[static_cast<std::size_t>(i)];
    for (const std::string& name : LaterDefaultExtensions(i)) {
      bool elsewhere = false;
      for (int j = 0; j < kCategoryCount; ++j) {
        const ExtList& other = lists[static_cast<std::size_t>(j)];
        elsewhere = elsewhere || (j != i && holds(other, name) != other.end());
      }
      const auto found = holds(own, name);
      if (elsewhere && found != own.end())
        own.erase(found);
      else if (!elsewhere && addMissing && found == own.end())
        own.push_back(CQNExtEntry{name});
    }
  }
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

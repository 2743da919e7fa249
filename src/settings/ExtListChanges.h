#pragma once

// Project and template files store an extension list only as its differences from
// the category's default list; these helpers compute and apply them.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "settings/FileTypes.h"

namespace qn {

// Extension names keep at most this many characters.
constexpr std::size_t kMaxExtensionLength = 32;

struct QNExtChange {
  CQNExtEntry entry;     // the project's entry, or for a removal only the name
  bool removed = false;  // a default entry missing from the project's list
};

// What to store of `list` so that applying it to `defaults` (enabled entries
// without limits) gives `list` again, in its order: removals of the default entries
// that stand out of their default order; then in list order the entries without a
// default entry of the same name and enabled flag in place, with `limitsCount` also
// those that have a size limit set; then every default name missing from the list.
std::vector<QNExtChange> ExtListChanges(const ExtList& list,
                                        const std::vector<std::string>& defaults, bool limitsCount);

// Lists read from a file written before the later default extensions existed
// (LaterDefaultExtensions). A later default that the file put into another list
// stays only there, as the file meant it; with `addMissing` (lists read from the
// stored base, as a project file's are) one that no list holds joins its own list.
void SettleLaterDefaults(ExtLists& lists, bool addMissing);

// Applies removals and enabled flags to a list by name (without regard to case) in
// constant time per change, so that a file with many entries cannot make reading
// quadratic. Commit() writes the result back in order.
class QNExtListEditor {
 public:
  explicit QNExtListEditor(ExtList& list);

  // Removes the first entry of that name; false when there is none.
  bool Remove(std::string_view name);
  // The first entry of that name with its enabled flag set, or a new entry with
  // that name and flag and no size limits appended to the list.
  CQNExtEntry& SetEnabled(std::string_view name, std::uint8_t enabled);
  void Commit();

 private:
  ExtList& list_;
  std::vector<CQNExtEntry> entries_;
  std::vector<bool> alive_;
  // Lower-case name to the indices of the live entries of that name, first first.
  std::unordered_map<std::string, std::vector<std::size_t>> byName_;
};

}  // namespace qn

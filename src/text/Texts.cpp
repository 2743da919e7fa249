#include "text/Texts.h"

#include "text/StringTable.h"

namespace qn {

const std::string* QNTextTable::Find(int id) const {
  const auto found = texts_.find(id);
  return found == texts_.end() ? nullptr : &found->second;
}

QNTexts::QNTexts() : installed_(std::make_shared<Installed>()) {}

std::string QNTexts::Text(int id) const {
  std::shared_ptr<const QNTextTable> table;
  {
    std::lock_guard lock(installed_->mutex);
    table = installed_->table;
  }
  if (table)
    if (const std::string* text = table->Find(id)) return *text;
  return BuiltinString(id);
}

void QNTexts::Install(std::shared_ptr<const QNTextTable> table) {
  std::lock_guard lock(installed_->mutex);
  // The table replaced goes with the argument, after the lock is let go.
  installed_->table.swap(table);
}

}  // namespace qn

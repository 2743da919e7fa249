#include "text/Texts.h"

#include <algorithm>

#include "text/StringTable.h"

namespace qn {

QNTextTable::QNTextTable(const QNLanguageData& language)
    : name_(language.name), fonts_(language.fonts) {
  for (const QNLanguageGroup& group : language.Table(QNLanguageTable::Menus))
    for (const QNLanguageItem& item : group.items)
      menuItems_.emplace(Key(group.id, item.id), item.text);
  for (const QNLanguageGroup& group : language.Table(QNLanguageTable::Dialogs)) {
    captions_.emplace(group.id, group.name);
    for (const QNLanguageItem& item : group.items)
      dialogItems_.emplace(Key(group.id, item.id), item.text);
  }
  for (const QNLanguageGroup& group : language.Table(QNLanguageTable::Strings))
    if (group.id == 0)
      for (const QNLanguageItem& item : group.items) texts_.emplace(item.id, item.text);
}

const std::string* QNTextTable::Find(int id) const {
  return Get(texts_, id);
}

const std::string* QNTextTable::FindMenuItem(int menu, int item) const {
  return Get(menuItems_, Key(menu, item));
}

const std::string* QNTextTable::FindDialogCaption(int dialog) const {
  // A group without a name translates only its controls: an empty caption would
  // leave the window without a title.
  const std::string* caption = Get(captions_, dialog);
  return caption && !caption->empty() ? caption : nullptr;
}

const std::string* QNTextTable::FindDialogItem(int dialog, int control) const {
  return Get(dialogItems_, Key(dialog, control));
}

QNTexts::QNTexts() : installed_(std::make_shared<Shared>()) {}

std::string QNTexts::Text(int id) const {
  if (const auto table = Installed())
    if (const std::string* text = table->Find(id)) return *text;
  return BuiltinString(id);
}

std::string QNTexts::Prompt(int id) const {
  std::string text = Text(id);
  text.erase(std::min(text.find('\n'), text.size()));
  return text;
}

namespace {

template <typename Find>
std::optional<std::string> Translated(const std::shared_ptr<const QNTextTable>& table, Find find) {
  if (!table) return std::nullopt;
  const std::string* text = find(*table);
  return text ? std::optional<std::string>(*text) : std::nullopt;
}

}  // namespace

std::optional<std::string> QNTexts::MenuItem(int menu, int item) const {
  return Translated(Installed(), [&](const QNTextTable& t) { return t.FindMenuItem(menu, item); });
}

std::optional<std::string> QNTexts::DialogCaption(int dialog) const {
  return Translated(Installed(), [&](const QNTextTable& t) { return t.FindDialogCaption(dialog); });
}

std::optional<std::string> QNTexts::DialogItem(int dialog, int control) const {
  return Translated(Installed(),
                    [&](const QNTextTable& t) { return t.FindDialogItem(dialog, control); });
}

std::shared_ptr<const QNTextTable> QNTexts::Installed() const {
  std::lock_guard lock(installed_->mutex);
  return installed_->table;
}

void QNTexts::Install(std::shared_ptr<const QNTextTable> table) {
  std::lock_guard lock(installed_->mutex);
  // The table replaced goes with the argument, after the lock is let go.
  installed_->table.swap(table);
}

}  // namespace qn

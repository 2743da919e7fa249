#pragma once

// The one lookup of every text a person reads: log lines, status texts, message
// boxes, month and AM/PM names, size units, the root's title. A language table,
// when one is installed, answers first; the built-in texts answer for every id it
// lacks.

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "text/LanguageData.h"
#include "text/TextFill.h"

namespace qn {

// A language's texts: strings by id, menu items by menu and command, dialog
// captions and controls by dialog, and the fonts the language asks for. Made once
// (from a language file) and never changed afterwards, so any thread may read it
// while another installs the next one.
class QNTextTable {
 public:
  // Strings only.
  explicit QNTextTable(std::unordered_map<int, std::string> texts) : texts_(std::move(texts)) {}
  // Everything a language file holds. Where the file names one text twice, the
  // first in the order of its lists counts, as a walk over the lists finds it;
  // strings are the items of the string table's group 0.
  explicit QNTextTable(const QNLanguageData& language);

  // The table's text of `id`, or null when it has none.
  const std::string* Find(int id) const;
  // The text of a menu's item: a command id, or ~ordinal for a submenu entry.
  const std::string* FindMenuItem(int menu, int item) const;
  // A dialog's caption (its group's name), or null when the group has no name.
  const std::string* FindDialogCaption(int dialog) const;
  const std::string* FindDialogItem(int dialog, int control) const;

  const std::string& Name() const { return name_; }
  const QNFontRecord& Font(QNLanguageFont which) const {
    return fonts_[static_cast<std::size_t>(which)];
  }

 private:
  static std::uint64_t Key(int group, int item) {
    return (std::uint64_t{static_cast<std::uint32_t>(group)} << 32) |
           static_cast<std::uint32_t>(item);
  }
  static const std::string* Get(const auto& map, const auto& key) {
    const auto found = map.find(key);
    return found == map.end() ? nullptr : &found->second;
  }

  std::string name_;
  std::array<QNFontRecord, 3> fonts_;
  std::unordered_map<int, std::string> texts_;
  std::unordered_map<std::uint64_t, std::string> menuItems_;
  std::unordered_map<int, std::string> captions_;
  std::unordered_map<std::uint64_t, std::string> dialogItems_;
};

// The lookup. Copies share what is installed: the program makes one, hands copies
// to every part that shows texts, and installing a table (a language change) swaps
// it for all of them at once, between two lookups. Safe to use from any thread.
class QNTexts {
 public:
  // The built-in texts until a table is installed.
  QNTexts();

  // The text of a string id: the table's, else the built-in one ("" for an id
  // neither knows).
  std::string Text(int id) const;
  // A command's status-bar prompt: its text up to the "\n" that starts its tooltip.
  std::string Prompt(int id) const;
  // The text of `id` with its placeholders filled (FillText).
  template <typename... Values>
  std::string Format(int id, const Values&... values) const {
    return FillText(Text(id), values...);
  }

  // The translation of a menu item, a dialog's caption or one of its controls;
  // nothing when the installed table has none (the window keeps its own text).
  std::optional<std::string> MenuItem(int menu, int item) const;
  std::optional<std::string> DialogCaption(int dialog) const;
  std::optional<std::string> DialogItem(int dialog, int control) const;

  // Replaces the language table; null goes back to the built-in texts.
  void Install(std::shared_ptr<const QNTextTable> table);
  // The table installed now (its name and fonts), or null.
  std::shared_ptr<const QNTextTable> Installed() const;

 private:
  struct Shared {
    std::mutex mutex;
    std::shared_ptr<const QNTextTable> table;
  };
  std::shared_ptr<Shared> installed_;
};

}  // namespace qn

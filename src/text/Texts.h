#pragma once

// The one lookup of every text a person reads: log lines, status texts, message
// boxes, month and AM/PM names, size units, the root's title. A language table,
// when one is installed, answers first; the built-in texts answer for every id it
// lacks.

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "text/TextFill.h"

namespace qn {

// A language's texts by string id. Made once (by whoever reads a language file) and
// never changed afterwards, so any thread may read it while another installs the
// next one.
class QNTextTable {
 public:
  explicit QNTextTable(std::unordered_map<int, std::string> texts) : texts_(std::move(texts)) {}

  // The table's text of `id`, or null when it has none.
  const std::string* Find(int id) const;

 private:
  const std::unordered_map<int, std::string> texts_;
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
  // The text of `id` with its placeholders filled (FillText).
  template <typename... Values>
  std::string Format(int id, const Values&... values) const {
    return FillText(Text(id), values...);
  }

  // Replaces the language table; null goes back to the built-in texts.
  void Install(std::shared_ptr<const QNTextTable> table);

 private:
  struct Installed {
    std::mutex mutex;
    std::shared_ptr<const QNTextTable> table;
  };
  std::shared_ptr<Installed> installed_;
};

}  // namespace qn

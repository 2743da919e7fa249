#pragma once

// Qt's own texts in the chosen language: the names of keys in shortcuts ("Strg+D"),
// the context menu of a text field, Qt's file and colour dialogs. A language file
// names its language in English ("German"); Qt's translation of that language comes
// from the system's Qt translations when they are installed. GUI thread only.

#include <QTranslator>
#include <memory>

namespace qn {

class QNTexts;

class QNQtTranslation {
 public:
  QNQtTranslation() = default;
  QNQtTranslation(const QNQtTranslation&) = delete;
  QNQtTranslation& operator=(const QNQtTranslation&) = delete;
  ~QNQtTranslation();

  // Installs the translation of the language `texts` holds now, or none for English,
  // a language Qt does not know, or one it has no translation for.
  void Apply(const QNTexts& texts);
  bool Active() const { return translator_ != nullptr; }

 private:
  void Remove();

  std::unique_ptr<QTranslator> translator_;
};

}  // namespace qn

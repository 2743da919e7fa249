#pragma once

// "Project": the title, the folder the files are saved in, and the start addresses
// (one site, or a list of up to 100 addresses).

#include "text/Texts.h"
#include "ui/SettingsPage.h"

class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QStackedWidget;

namespace qn {

class QNProjectPage : public QNSettingsPage {
  Q_OBJECT

 public:
  QNProjectPage(const QNTexts& texts, QWidget* parent);

  void Load(const CQNSettings& settings) override;
  void Store(CQNSettings& settings) const override;
  std::optional<QNPageProblem> Check(const CQNSettings& settings) const override;

 private:
  void ShowSingle(bool single);
  void Browse();
  QStringList ListedAddresses() const;

  QNTexts texts_;
  QLineEdit* title_;
  QLineEdit* dir_;
  QRadioButton* single_;
  QRadioButton* list_;
  QStackedWidget* addresses_;
  QLineEdit* startPage_;
  QPlainTextEdit* startList_;
  QNChoice mode_;
  // What was loaded, so that an address list left alone is not rewritten.
  QString loadedPage_;
  QString loadedList_;
};

}  // namespace qn

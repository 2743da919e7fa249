#pragma once

// "Privacy": keeping the project files and the downloaded files in encrypted
// archives while the project is closed, and the password of those archives, typed
// twice when it changes.

#include "text/Texts.h"
#include "ui/SettingsPage.h"

class QLineEdit;

namespace qn {

class QNPrivacyPage : public QNSettingsPage {
  Q_OBJECT

 public:
  QNPrivacyPage(const QNTexts& texts, QWidget* parent);

  void Load(const CQNSettings& settings) override;
  void Store(CQNSettings& settings) const override;
  std::optional<QNPageProblem> Check(const CQNSettings& settings) const override;

 private:
  QNTexts texts_;
  QCheckBox* encryptProject_;
  QCheckBox* encryptDownloads_;
  QLineEdit* password_;
  QLineEdit* confirm_;
};

}  // namespace qn

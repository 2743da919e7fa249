#pragma once

// "Speed, restrictions and authentication": how many files load at once, the limits
// of a download (each a switch and a value kept while it is off), how politely
// servers are crawled, and the user name, password and cookies for sites that ask
// for them.

#include <array>

#include "text/Texts.h"
#include "ui/SettingRanges.h"
#include "ui/SettingsPage.h"

class QLineEdit;

namespace qn {

class QNNumberBox;

class QNSpeedPage : public QNSettingsPage {
  Q_OBJECT

 public:
  QNSpeedPage(const QNTexts& texts, QWidget* parent);

  void Load(const CQNSettings& settings) override;
  void Store(CQNSettings& settings) const override;

 private:
  struct Limit {
    int CQNSettings::*on;
    const QNSettingRange* range;
    QCheckBox* box = nullptr;
    QNNumberBox* value = nullptr;
  };

  QNTexts texts_;
  QNNumberBox* threads_;
  std::array<Limit, 6> limits_;
  QCheckBox* robots_;
  QNNumberBox* delay_;
  QLineEdit* cookies_;
  QLineEdit* user_;
  QLineEdit* password_;
};

}  // namespace qn

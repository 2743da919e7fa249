#pragma once

// "Levels, updates and conversion": how deep links are followed on the starting
// server and on others, when saved files are fetched again, how links are converted
// for offline browsing, the report and the forms.

#include "ui/SettingsPage.h"

namespace qn {

class QNNumberBox;

class QNLevelsPage : public QNSettingsPage {
  Q_OBJECT

 public:
  explicit QNLevelsPage(QWidget* parent);

  void Load(const CQNSettings& settings) override;
  void Store(CQNSettings& settings) const override;

 private:
  QCheckBox* limitMain_;
  QNNumberBox* maxMain_;
  QCheckBox* limitOffsite_;
  QNNumberBox* maxOffsite_;
  QNChoice update_;
  QNChoice conversion_;
  QCheckBox* report_;
  QCheckBox* loginForms_;
  QCheckBox* forms_;
};

}  // namespace qn

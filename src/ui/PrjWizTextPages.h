#pragma once

// The new-project wizard's pages that hold plain fields: the welcome, the title,
// the login and the finish page.

#include "ui/PrjWizPage.h"

class QCheckBox;
class QLineEdit;

namespace qn {

class QNPrjWizWelcomePage : public QNPrjWizPage {
  Q_OBJECT

 public:
  explicit QNPrjWizWelcomePage(QNPrjWizState& state);
};

class QNPrjWizTitlePage : public QNPrjWizPage {
  Q_OBJECT

 public:
  explicit QNPrjWizTitlePage(QNPrjWizState& state);
  void initializePage() override;

 private:
  QLineEdit* title_;
};

class QNPrjWizLoginPage : public QNPrjWizPage {
  Q_OBJECT

 public:
  explicit QNPrjWizLoginPage(QNPrjWizState& state);
  void initializePage() override;

 private:
  QLineEdit* user_;
  QLineEdit* password_;
};

class QNPrjWizFinishPage : public QNPrjWizPage {
  Q_OBJECT

 public:
  explicit QNPrjWizFinishPage(QNPrjWizState& state);

 private:
  QCheckBox* saveAndStart_;
  QCheckBox* dontShow_;
};

}  // namespace qn

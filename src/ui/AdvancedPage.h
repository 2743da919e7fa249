#pragma once

// "Advanced": how the program names itself to servers, how local folders are laid
// out, the preview options, the name of a folder's page, the timeout and retries.

#include "text/Texts.h"
#include "ui/SettingsPage.h"

class QLabel;
class QLineEdit;

namespace qn {

class QNNumberBox;

class QNAdvancedPage : public QNSettingsPage {
  Q_OBJECT

 public:
  QNAdvancedPage(const QNTexts& texts, QWidget* parent);

  void Load(const CQNSettings& settings) override;
  void Store(CQNSettings& settings) const override;
  std::optional<QNPageProblem> Check(const CQNSettings& settings) const override;

 private:
  // Enables what the chosen kind uses and shows the identification it sends.
  void ShowAgent();

  QNTexts texts_;
  QComboBox* agentKind_;
  QNNumberBox* agentVersion_;
  QLineEdit* agentString_;
  QLabel* agentId_;
  QNChoice dirStructure_;
  QCheckBox* detailed_;
  QCheckBox* keepHtml_;
  QLineEdit* defaultFile_;
  QNNumberBox* timeout_;
  QNNumberBox* retries_;
};

}  // namespace qn

#pragma once

// The new-project wizard's pages for the download options: the defaults or custom
// ones, and the custom options themselves.

#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "ui/PrjWizPage.h"

class QButtonGroup;
class QCheckBox;
class QPushButton;
class QSpinBox;

namespace qn {

class QNPrjWizOptionsPage : public QNPrjWizPage {
  Q_OBJECT

 public:
  explicit QNPrjWizOptionsPage(QNPrjWizState& state);
  void initializePage() override;

 private:
  QButtonGroup* choice_;
};

// Edits the whole working copy in the project settings dialog: the edited copy, or
// nothing when the user cancelled.
using QNSettingsEditor = std::function<std::optional<CQNSettings>(const CQNSettings&, QWidget*)>;

class QNPrjWizCustomPage : public QNPrjWizPage {
  Q_OBJECT

 public:
  // Without an editor "Advanced..." is not offered.
  QNPrjWizCustomPage(QNPrjWizState& state, QNSettingsEditor editor);
  void initializePage() override;
  // The file-type mask is rebuilt from the boxes whenever the page is left forward.
  bool validatePage() override;

 private:
  void StoreFileTypes();
  void Advanced();

  QNSettingsEditor editor_;
  QButtonGroup* server_;
  QButtonGroup* directory_;
  std::vector<std::pair<QCheckBox*, int>> types_;  // each box with its category bit
  QSpinBox* threads_;
};

}  // namespace qn

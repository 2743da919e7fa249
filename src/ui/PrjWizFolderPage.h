#pragma once

// The new-project wizard's page for the download folder: it proposes one from the
// title each time it is shown, and "..." browses for another.

#include "text/Texts.h"
#include "ui/PrjWizPage.h"

class QLineEdit;

namespace qn {

class QNPrjWizFolderPage : public QNPrjWizPage {
  Q_OBJECT

 public:
  QNPrjWizFolderPage(QNPrjWizState& state, const QNPrjWizContext& context, const QNTexts& texts);
  void initializePage() override;

 private:
  void Browse();
  // LastFilesDir as it will be when the wizard finishes.
  const std::string& FilesDir() const;

  const QNPrjWizContext& context_;
  QNTexts texts_;
  QLineEdit* folder_;
};

}  // namespace qn

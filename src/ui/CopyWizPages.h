#pragma once

// The pages of the "Copy Project" wizard: where to (another folder or drive; a
// handheld is not reached from here), which files and whether in a ZIP archive
// with a password, the destination folder, and the summary before the copy.

#include <QWizardPage>
#include <functional>
#include <string>

#include "storage/ProjectOperations.h"
#include "text/Texts.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace qn {

// Shows a message of the string table (a refused password) and waits for OK.
using QNWarn = std::function<void(int messageId)>;

class QNCopyWizTargetPage : public QWizardPage {
  Q_OBJECT

 public:
  explicit QNCopyWizTargetPage(const QNTexts& texts);
};

class QNCopyWizFilesPage : public QWizardPage {
  Q_OBJECT

 public:
  QNCopyWizFilesPage(QNCopyRequest& request, QNWarn warn);
  // At least one kind of files.
  bool isComplete() const override;
  // A ZIP password must be confirmed and plain ASCII (the archive's encryption
  // knows no more).
  bool validatePage() override;

 private:
  QNCopyRequest& request_;
  QNWarn warn_;
  QCheckBox* projectFiles_;
  QCheckBox* downloadedFiles_;
  QCheckBox* zip_;
  QLineEdit* password_;
  QLineEdit* confirm_;
};

class QNCopyWizFolderPage : public QWizardPage {
  Q_OBJECT

 public:
  QNCopyWizFolderPage(QNCopyRequest& request, const std::string& lastCopyDir, const QNTexts& texts);
  bool isComplete() const override;

 private:
  QNCopyRequest& request_;
  QNTexts texts_;
  QLineEdit* folder_;
};

class QNCopyWizReadyPage : public QWizardPage {
  Q_OBJECT

 public:
  QNCopyWizReadyPage(const QNCopyRequest& request, const std::string& projectFile,
                     const QNTexts& texts);
  void initializePage() override;

 private:
  const QNCopyRequest& request_;
  std::string projectFile_;
  QNTexts texts_;
  QLabel* summary_;
};

}  // namespace qn

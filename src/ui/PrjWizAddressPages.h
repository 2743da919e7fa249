#pragma once

// The new-project wizard's pages for the first start address: how it is given,
// typed in, or imported from bookmarks, favorites or a local file.

#include <functional>
#include <optional>

#include "ui/PrjWizPage.h"

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace qn {

class QNTexts;

class QNPrjWizMethodPage : public QNPrjWizPage {
  Q_OBJECT

 public:
  QNPrjWizMethodPage(QNPrjWizState& state, const QNPrjWizContext& context);
  void initializePage() override;
  bool validatePage() override;

 private:
  QButtonGroup* methods_;
};

class QNPrjWizUrlPage : public QNPrjWizPage {
  Q_OBJECT

 public:
  QNPrjWizUrlPage(QNPrjWizState& state, const QNPrjWizContext& context);
  void initializePage() override;
  // Next only while the address is not empty.
  bool isComplete() const override;

 private:
  QComboBox* url_;
};

// Asks for an imported address with one of the import methods; nothing when the
// user cancelled.
using QNAddressImporter = std::function<std::optional<std::string>(int importMethod, QWidget*)>;

class QNPrjWizImportPage : public QNPrjWizPage {
  Q_OBJECT

 public:
  QNPrjWizImportPage(QNPrjWizState& state, QNAddressImporter importer);
  void initializePage() override;
  bool isComplete() const override;

 private:
  void Import();

  QNAddressImporter importer_;
  QButtonGroup* methods_;
  QPushButton* import_;
  QLineEdit* url_;
};

// The importer of the desktop program: the bookmark picker showing the chosen
// browser's bookmarks first, or a file dialog for a local file.
std::optional<std::string> ImportAddress(int importMethod, QWidget* parent, const QNTexts& texts);

}  // namespace qn

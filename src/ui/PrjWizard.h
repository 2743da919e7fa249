#pragma once

// "Create a New Project": the wizard that fills in a new project's title, start
// address, login, download folder and main download options, on a working copy of
// its settings. Its pages follow one another as NextPage and PreviousPage say.

#include <QWizard>

#include "ui/PrjWizAddressPages.h"
#include "ui/PrjWizOptionsPages.h"
#include "ui/PrjWizPage.h"

namespace qn {

class QNTexts;

// What the wizard calls on for imports and for the full settings dialog.
struct QNPrjWizServices {
  QNAddressImporter importer;       // empty: ImportAddress in the wizard's language
  QNSettingsEditor settingsEditor;  // empty: "Advanced..." is not offered
};

class CQNPrjWiz : public QWizard {
  Q_OBJECT

 public:
  // `settings`: the project's settings, of which the wizard edits a copy;
  // `remembered`: the address and import methods chosen last.
  CQNPrjWiz(const CQNSettings& settings, const QNPrjWizState& remembered, QNPrjWizContext context,
            QNPrjWizServices services, const QNTexts& texts, QWidget* parent = nullptr);

  const QNPrjWizState& State() const { return state_; }
  // The settings to hand to the project.
  CQNSettings Result() const { return FinishedSettings(state_, started_); }

  int nextId() const override;

 private:
  void ShowCaption(int page);

  const CQNSettings started_;
  QNPrjWizContext context_;
  QNPrjWizState state_;
};

}  // namespace qn

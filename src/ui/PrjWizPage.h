#pragma once

// A page of the new-project wizard: it edits the wizard's state as the user types,
// so that the page order and Finish always see what the pages show.

#include <QString>
#include <QWizardPage>
#include <string>
#include <vector>

#include "ui/PrjWizRules.h"

class QButtonGroup;
class QRadioButton;
class QVBoxLayout;

namespace qn {

// What the wizard reads of the program besides the project's settings.
struct QNPrjWizContext {
  std::string lastFilesDir;  // program option LastFilesDir
  std::string programDir;    // where the program keeps its own "Download/" folder
  std::vector<std::string> urlHistory;
  std::string pageViewAddress;  // the page view's address, may be empty
};

class QNPrjWizPage : public QWizardPage {
  Q_OBJECT

 public:
  // `page` is the page's number in the wizard, `caption` the wizard's caption
  // while it is shown (the page's window title, which a language may translate).
  QNPrjWizPage(int page, const QString& caption, QNPrjWizState& state);

 protected:
  // The page's explanation, above its fields.
  void AddIntro(const QString& text);
  // A radio button of `group` with the choice `id`, a child of `parent`.
  static QRadioButton* AddChoice(QButtonGroup* group, int id, const QString& text, int controlId,
                                 QWidget* parent);

  QNPrjWizState& state_;
  QVBoxLayout* layout_;
};

}  // namespace qn

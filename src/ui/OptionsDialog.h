#pragma once

// "Quillorne Options": the program options on three pages (connection, general,
// display), edited on a copy that the caller takes over when the user confirms.

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "app/LanguageTable.h"
#include "app/ProgramOptions.h"

namespace qn {

class QNOptionsPage;
class QNTexts;

// What the dialog offers beside the options themselves.
struct QNOptionsChoices {
  std::vector<QNLanguageChoice> languages;
  std::optional<std::vector<std::string>> dialUpEntries;
};

class CQNOptionsDialog : public QDialog {
  Q_OBJECT

 public:
  CQNOptionsDialog(const QNProgramOptions& options, QNOptionsChoices choices, const QNTexts& texts,
                   QWidget* parent = nullptr);

  // The copy with what the pages show.
  QNProgramOptions Options() const;

 private:
  QNProgramOptions options_;
  std::vector<QNOptionsPage*> pages_;
};

class CQNApp;

// Opens the dialog on the application's options and, on OK, hands the copy to the
// application (which reloads the language and restarts the periodic save as they
// changed); a language that cannot be loaded is reported. True when applied.
bool EditProgramOptions(CQNApp& app, QWidget* parent);

}  // namespace qn

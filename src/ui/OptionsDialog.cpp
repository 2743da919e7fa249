#include "ui/OptionsDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/Application.h"
#include "app/DialUp.h"
#include "app/ProgramFolders.h"
#include "ui/DialogTexts.h"
#include "ui/MessageBox.h"
#include "ui/OptionsPages.h"
#include "ui/WizardIds.h"

namespace qn {

CQNOptionsDialog::CQNOptionsDialog(const QNProgramOptions& options, QNOptionsChoices choices,
                                   const QNTexts& texts, QWidget* parent)
    : QDialog(parent), options_(options) {
  setWindowTitle(tr("Quillorne Options"));
  TagDialog(this, kDlgOptions);
  auto* layout = new QVBoxLayout(this);
  auto* tabs = new QTabWidget(this);
  pages_ = {new QNOptionsConnectionPage(options, choices.dialUpEntries, tabs),
            new QNOptionsGeneralPage(options, texts, tabs),
            new QNOptionsDisplayPage(options, std::move(choices.languages), tabs)};
  for (QNOptionsPage* page : pages_) {
    TranslateDialog(page, texts);
    tabs->addTab(page, page->windowTitle());
  }
  layout->addWidget(tabs);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  TagButtons(buttons);
  layout->addWidget(buttons);
  TranslateDialog(this, texts);
}

QNProgramOptions CQNOptionsDialog::Options() const {
  QNProgramOptions options = options_;
  for (const QNOptionsPage* page : pages_) page->Store(options);
  return options;
}

bool EditProgramOptions(CQNApp& app, QWidget* parent) {
  QNOptionsChoices choices;
  choices.languages = LanguageChoices(DataFolders());
  choices.dialUpEntries = CQNDialUp().ListEntries();
  CQNOptionsDialog dialog(app.Options().options, std::move(choices), app.Texts(), parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  if (const auto message = app.ApplyOptions(dialog.Options()))
    AskUser(parent, QMessageBox::Critical, QApplication::applicationDisplayName(),
            QString::fromStdString(*message), QMessageBox::Ok, QMessageBox::Ok, app.Texts());
  return true;
}

}  // namespace qn

#include "ui/SettingsDialog.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "engine/Doc.h"
#include "text/MessageIds.h"
#include "text/Texts.h"
#include "ui/AdvancedPage.h"
#include "ui/DialogTexts.h"
#include "ui/FileTypesPage.h"
#include "ui/LevelsPage.h"
#include "ui/MessageBox.h"
#include "ui/PrivacyPage.h"
#include "ui/ProjectPage.h"
#include "ui/ProtocolsPage.h"
#include "ui/SettingsIds.h"
#include "ui/SpeedPage.h"
#include "ui/TreePage.h"
#include "ui/UrlFilterDialog.h"

namespace qn {

QNSettingsDialog::QNSettingsDialog(const CQNSettings& settings, const QNTexts& texts,
                                   QWidget* parent)
    : QDialog(parent), original_(settings) {
  setWindowTitle(tr("Project Settings"));
  TagDialog(this, kDlgProjectSettings);
  auto* layout = new QVBoxLayout(this);
  tabs_ = new QTabWidget(this);
  tabs_->setUsesScrollButtons(false);
  pages_ = {new QNProjectPage(texts, tabs_),
            new QNSpeedPage(texts, tabs_),
            new QNTreePage(tabs_),
            new QNLevelsPage(tabs_),
            new QNFileTypesPage(texts, tabs_),
            new QNProtocolsPage(texts, tabs_),
            new QNAdvancedPage(texts, tabs_),
            new QNPrivacyPage(texts, tabs_)};
  for (QNSettingsPage* page : pages_) {
    TranslateDialog(page, texts);
    page->Load(settings);
    tabs_->addTab(page, page->windowTitle());
  }
  layout->addWidget(tabs_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  TagButtons(buttons);
  layout->addWidget(buttons);
  TranslateDialog(this, texts);
  problemSink_ = [this, texts = QNTexts(texts)](const QString& message) {
    AskUser(this, QMessageBox::Warning, windowTitle(), message, QMessageBox::Ok, QMessageBox::Ok,
            texts);
  };
}

CQNSettings QNSettingsDialog::Settings() const {
  CQNSettings edited = original_;
  for (const QNSettingsPage* page : pages_) page->Store(edited);
  return edited;
}

void QNSettingsDialog::accept() {
  for (QNSettingsPage* page : pages_) {
    const std::optional<QNPageProblem> problem = page->Check(original_);
    if (!problem) continue;
    tabs_->setCurrentWidget(page);
    problemSink_(problem->message);
    if (problem->control) problem->control->setFocus();
    return;
  }
  QDialog::accept();
}

std::optional<CQNSettings> EditSettingsCopy(const CQNSettings& settings, const QNTexts& texts,
                                            QWidget* parent) {
  QNSettingsDialog dialog(settings, texts, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Settings();
}

bool EditProjectSettings(CQNDoc& doc, const QNTexts& texts, QWidget* parent) {
  const std::optional<CQNSettings> edited = EditSettingsCopy(doc.SettingsCopy(), texts, parent);
  if (!edited) return false;
  const unsigned before = doc.SettingsChanges();
  doc.ApplyChangedSettings(*edited);
  return doc.SettingsChanges() != before;
}

bool AddUrlFilter(CQNDoc& doc, const std::vector<std::string>& addresses, const QNTexts& texts,
                  QWidget* parent) {
  QNUrlFilterDialog dialog(FilterForAddresses(addresses),
                           QString::fromStdString(texts.Text(kMsgAddUrlFilter)).remove("..."),
                           texts, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  CQNSettings settings = doc.SettingsCopy();
  settings.QN_URL_FILTER.push_back(dialog.Filter());
  const unsigned before = doc.SettingsChanges();
  doc.ApplyChangedSettings(settings);
  return doc.SettingsChanges() != before;
}

}  // namespace qn

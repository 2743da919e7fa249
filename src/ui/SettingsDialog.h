#pragma once

// "Project Settings": the pages of a project's settings on tabs. The dialog edits a
// copy of a settings record (a project's, or a wizard's working copy) and hands the
// edited copy back; OK is refused, with the reason and the page to correct, while a
// page cannot take what it shows.

#include <QDialog>
#include <cstdlib>
#include <functional>
#include <optional>
#include <vector>

#include "settings/ProjectSettings.h"
#include "text/Texts.h"

class QTabWidget;

namespace qn {

class CQNDoc;
class QNSettingsPage;

class QNSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  QNSettingsDialog(const CQNSettings& settings, const QNTexts& texts, QWidget* parent);

  // The edited copy; the record given when nothing was changed.
  CQNSettings Settings() const;

  // Where a refusal is told; a message box unless a test says otherwise.
  void SetProblemSink(std::function<void(const QString&)> sink) { problemSink_ = std::move(sink); }

  QTabWidget& Tabs() { return *tabs_; }
  template <typename Page>
  Page& PageOf() const;

  void accept() override;

 private:
  CQNSettings original_;
  QTabWidget* tabs_;
  std::vector<QNSettingsPage*> pages_;
  std::function<void(const QString&)> problemSink_;
};

template <typename Page>
Page& QNSettingsDialog::PageOf() const {
  for (QNSettingsPage* page : pages_)
    if (auto* found = qobject_cast<Page*>(page)) return *found;
  std::abort();
}

// The dialog on a copy of `settings` (a wizard's "Advanced..."): the edited copy on OK,
// nothing on Cancel.
std::optional<CQNSettings> EditSettingsCopy(const CQNSettings& settings, const QNTexts& texts,
                                            QWidget* parent);

// "Project Settings..." on an open project: the dialog on a copy of the document's
// settings; OK hands the copy to the document, which takes it over only when it
// differs (also during a run). True when the settings changed.
bool EditProjectSettings(CQNDoc& doc, const QNTexts& texts, QWidget* parent);

// "Add URL Filter...": the filter dialog prefilled from the selected nodes'
// addresses; OK appends the filter to the document's settings. True when it did.
bool AddUrlFilter(CQNDoc& doc, const std::vector<std::string>& addresses, const QNTexts& texts,
                  QWidget* parent);

}  // namespace qn

#pragma once

// "File types": which of the categories a download loads, and each category's
// extensions, which can be added, removed, switched off and given size limits of
// their own (shown in KB, held in bytes).

#include "settings/FileTypes.h"
#include "text/Texts.h"
#include "ui/SettingsPage.h"

class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace qn {

class QNNumberBox;

class QNFileTypesPage : public QNSettingsPage {
  Q_OBJECT

 public:
  QNFileTypesPage(const QNTexts& texts, QWidget* parent);

  void Load(const CQNSettings& settings) override;
  void Store(CQNSettings& settings) const override;

  // Adds an extension to the shown category; false (with a message) when the name
  // is empty or the category has it already.
  bool AddExtension(const QString& name);
  void AddExtensionAsked();
  void RemoveExtension();

 private:
  void ShowCategory();
  void ShowEntry();
  void EntryChanged(QTreeWidgetItem* item, int column);
  void LimitsEdited();
  ExtList& ShownList();
  CQNExtEntry* SelectedEntry();
  void FillRow(QTreeWidgetItem* item, const CQNExtEntry& entry);

  QListWidget* categories_;
  QTreeWidget* extensions_;
  QPushButton* add_;
  QPushButton* remove_;
  QCheckBox* minOn_;
  QNNumberBox* min_;
  QCheckBox* maxOn_;
  QNNumberBox* max_;
  ExtLists lists_;
  QNTexts texts_;
  // Set while the page fills its controls, so that filling them edits nothing.
  bool filling_ = false;
};

}  // namespace qn

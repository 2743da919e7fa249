#pragma once

// The "Schedule" dialog: the list of scheduled projects and, for the one chosen,
// when it is downloaded and what follows its download. It works on a copy of the
// entries; the caller takes Entries() after OK.

#include <QDialog>
#include <vector>

#include "app/ScheduleEntry.h"
#include "text/Texts.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTimeEdit;

namespace qn {

class CQNScheduleDialog : public QDialog {
  Q_OBJECT

 public:
  // `projectFolder`: where the file dialog of "Add..." starts.
  CQNScheduleDialog(std::vector<QNScheduleEntry> entries, QNTexts texts,
                    const QString& projectFolder, QWidget* parent = nullptr);

  const std::vector<QNScheduleEntry>& Entries() const { return entries_; }
  // Appends an entry per project file, up to the most entries a schedule holds.
  void AddProjects(const QStringList& files);

 private:
  QString Text(int id) const;
  void ChooseProjects();
  void RemoveProject();
  void MoveProject(int by);
  // Shows the chosen entry's fields, or none.
  void ShowEntry();
  // Takes the fields into the chosen entry.
  void TakeFields();
  void EnableFields();
  void RefreshItem(int row);
  QNScheduleEntry* Current();

  std::vector<QNScheduleEntry> entries_;
  const QNTexts texts_;
  QString projectFolder_;
  bool showing_ = false;  // fields are being filled, not edited
  QListWidget* list_ = nullptr;
  QPushButton* add_ = nullptr;
  QPushButton* remove_ = nullptr;
  QPushButton* up_ = nullptr;
  QPushButton* down_ = nullptr;
  QComboBox* kind_ = nullptr;
  QTimeEdit* time_ = nullptr;
  QComboBox* weekday_ = nullptr;
  QSpinBox* day_ = nullptr;
  QComboBox* month_ = nullptr;
  QCheckBox* hangUp_ = nullptr;
  QCheckBox* shutDown_ = nullptr;
};

}  // namespace qn

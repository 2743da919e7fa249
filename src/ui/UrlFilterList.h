#pragma once

// The project's URL filters in list order, with 65046 "Insert New Filter", 65047
// "Edit Filter" and 65048 "Remove Filter". A new filter goes in before the selected
// one (at the end when none is selected): where the list is tested in order, the
// place matters. Insert and Delete in the list do the same.

#include <QWidget>
#include <vector>

#include "settings/FileTypes.h"
#include "text/Texts.h"

class QPushButton;
class QTreeWidget;

namespace qn {

class QNUrlFilterList : public QWidget {
  Q_OBJECT

 public:
  QNUrlFilterList(const QNTexts& texts, QWidget* parent);

  void SetFilters(std::vector<CQNUrlFilter> filters);
  const std::vector<CQNUrlFilter>& Filters() const { return filters_; }

  // The dialogs, also for a test or a command that fills the filter in first.
  void InsertFilter();
  void EditFilter();
  void RemoveFilter();

 private:
  void Show(int select);
  int Selected() const;
  // Asks for the filter in the filter dialog; false on Cancel.
  bool Ask(CQNUrlFilter& filter, const QString& title);

  QNTexts texts_;
  std::vector<CQNUrlFilter> filters_;
  QTreeWidget* view_;
  QPushButton* insert_;
  QPushButton* edit_;
  QPushButton* remove_;
};

}  // namespace qn

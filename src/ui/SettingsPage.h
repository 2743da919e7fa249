#pragma once

// One page of the project settings dialog: it shows the members it owns from a
// record, writes back only what the user changed (so that a value a page cannot
// show exactly stays as it was), and may refuse the record with a reason.

#include <QButtonGroup>
#include <QString>
#include <QWidget>
#include <initializer_list>
#include <optional>
#include <utility>

#include "settings/ProjectSettings.h"
#include "ui/DialogTexts.h"
#include "ui/LabelFor.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLayout;

namespace qn {

class QNTexts;

// Why a page cannot be accepted as it stands, and the control to correct.
struct QNPageProblem {
  QString message;
  QWidget* control = nullptr;
};

class QNSettingsPage : public QWidget {
  Q_OBJECT

 public:
  // The page's title is its window title, which the dialog shows on the page's tab.
  QNSettingsPage(int dialogId, const QString& title, QWidget* parent);

  virtual void Load(const CQNSettings& settings) = 0;
  virtual void Store(CQNSettings& settings) const = 0;
  virtual std::optional<QNPageProblem> Check(const CQNSettings&) const { return std::nullopt; }
};

// A row that keeps a field (a number box) at its own width.
QLayout* AtOwnWidth(QWidget* field);
// Tags a control with its id and returns it, for building pages in one expression.
template <typename Control>
Control* Tagged(Control* control, int id);

// A flag member follows its check box only when the box was changed, so a value
// other than 0 or 1 (templates take values as written) stays.
void LoadFlag(QCheckBox* box, int value);
void StoreFlag(const QCheckBox* box, int& member);

// Buttons of one choice, each standing for a value of a member.
class QNChoice {
 public:
  explicit QNChoice(QObject* parent);
  void Add(QAbstractButton* button, int value);
  // Checks the button of `shown`, or none when no button stands for it.
  void Load(int shown);
  // Writes the checked value when the user picked another button than was loaded.
  void Store(int& member) const;
  int Checked() const { return group_->checkedId(); }

 private:
  QButtonGroup* group_;
  int loaded_ = -1;
};

// Radio buttons in a group box, one per caption and control id, standing for the
// values 0, 1, 2, ... in their order.
QGroupBox* ChoiceGroup(const QString& title, int groupId,
                       std::initializer_list<std::pair<QString, int>> buttons, QNChoice& choice,
                       QWidget* parent);

// A combo box whose items carry their values; the same rule as QNChoice.
void LoadCombo(QComboBox* combo, int shown);
void StoreCombo(const QComboBox* combo, int& member);

template <typename Control>
Control* Tagged(Control* control, int id) {
  TagControl(control, id);
  return control;
}

}  // namespace qn

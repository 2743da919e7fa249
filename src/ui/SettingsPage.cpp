#include "ui/SettingsPage.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/DialogTexts.h"

namespace qn {
namespace {
constexpr const char* kLoadedIndex = "qnLoadedIndex";
}  // namespace

QNSettingsPage::QNSettingsPage(int dialogId, const QString& title, QWidget* parent)
    : QWidget(parent) {
  setWindowTitle(title);
  TagDialog(this, dialogId);
}

QLayout* AtOwnWidth(QWidget* field) {
  auto* row = new QHBoxLayout;
  row->addWidget(field);
  row->addStretch(1);
  return row;
}

void LoadFlag(QCheckBox* box, int value) {
  box->setChecked(value != 0);
}

void StoreFlag(const QCheckBox* box, int& member) {
  if (box->isChecked() != (member != 0)) member = box->isChecked() ? 1 : 0;
}

QNChoice::QNChoice(QObject* parent) : group_(new QButtonGroup(parent)) {}

void QNChoice::Add(QAbstractButton* button, int value) {
  group_->addButton(button, value);
}

void QNChoice::Load(int shown) {
  QAbstractButton* button = group_->button(shown);
  if (button) {
    button->setChecked(true);
  } else if (QAbstractButton* checked = group_->checkedButton()) {
    // An exclusive group keeps one button checked; a value without one shows none.
    group_->setExclusive(false);
    checked->setChecked(false);
    group_->setExclusive(true);
  }
  loaded_ = button ? shown : -1;
}

void QNChoice::Store(int& member) const {
  const int checked = group_->checkedId();
  if (checked != -1 && checked != loaded_) member = checked;
}

QGroupBox* ChoiceGroup(const QString& title, int groupId,
                       std::initializer_list<std::pair<QString, int>> buttons, QNChoice& choice,
                       QWidget* parent) {
  auto* group = Tagged(new QGroupBox(title, parent), groupId);
  auto* layout = new QVBoxLayout(group);
  int value = 0;
  for (const auto& [caption, id] : buttons) {
    auto* button = Tagged(new QRadioButton(caption, group), id);
    choice.Add(button, value++);
    layout->addWidget(button);
  }
  return group;
}

void LoadCombo(QComboBox* combo, int shown) {
  combo->setCurrentIndex(combo->findData(shown));
  combo->setProperty(kLoadedIndex, combo->currentIndex());
}

void StoreCombo(const QComboBox* combo, int& member) {
  const int index = combo->currentIndex();
  if (index != -1 && index != combo->property(kLoadedIndex).toInt())
    member = combo->itemData(index).toInt();
}

}  // namespace qn

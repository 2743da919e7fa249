#pragma once

// "Find in Contents": the text to look for in the contents tree, where to look
// (titles, addresses, saved files' names), how (whole words, letter case) and which
// way. It stays open: each "Find Next" asks for the next match from the node
// selected then.

#include <QDialog>

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;

namespace qn {

class QNTexts;

class QNFindDialog : public QDialog {
  Q_OBJECT

 public:
  QNFindDialog(const QStringList& history, const QNTexts& texts, QWidget* parent = nullptr);

  QString Text() const;
  // The tree's find flags (titles, addresses, files, whole words, match case).
  int Flags() const;
  bool Forward() const;
  void SetHistory(const QStringList& history);

 Q_SIGNALS:
  void FindNext();

 private:
  void UpdateButton();

  QComboBox* text_ = nullptr;
  QCheckBox* titles_ = nullptr;
  QCheckBox* urls_ = nullptr;
  QCheckBox* files_ = nullptr;
  QCheckBox* wholeWord_ = nullptr;
  QCheckBox* matchCase_ = nullptr;
  QRadioButton* up_ = nullptr;
  QRadioButton* down_ = nullptr;
  QPushButton* findNext_ = nullptr;
};

}  // namespace qn

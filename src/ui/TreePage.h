#pragma once

// "Contents tree": how the tree follows a download and what it shows, with the
// options of viewing, printing and parsing pages.

#include "ui/SettingsPage.h"

namespace qn {

class QNNumberBox;

class QNTreePage : public QNSettingsPage {
  Q_OBJECT

 public:
  explicit QNTreePage(QWidget* parent);

  void Load(const CQNSettings& settings) override;
  void Store(CQNSettings& settings) const override;

 private:
  QCheckBox* init_;
  QNChoice update_;
  QComboBox* shows_;
  QCheckBox* limit_;
  QNNumberBox* maxFiles_;
  QCheckBox* externalBrowser_;
  QCheckBox* pageBreak_;
  QCheckBox* renameHtml_;
  QCheckBox* fastParse_;
};

}  // namespace qn

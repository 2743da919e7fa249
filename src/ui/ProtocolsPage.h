#pragma once

// "Protocols and scope": which protocols are allowed, whether other servers and
// other directories are loaded, and the URL filters that decide before those rules.

#include <array>

#include "text/Texts.h"
#include "ui/SettingsPage.h"

namespace qn {

class QNUrlFilterList;

class QNProtocolsPage : public QNSettingsPage {
  Q_OBJECT

 public:
  QNProtocolsPage(const QNTexts& texts, QWidget* parent);

  void Load(const CQNSettings& settings) override;
  void Store(CQNSettings& settings) const override;

  QNUrlFilterList& FilterList() { return *filters_; }

 private:
  std::array<QCheckBox*, 4> protocols_;
  QNChoice servers_;
  QNChoice directories_;
  QNUrlFilterList* filters_;
};

}  // namespace qn

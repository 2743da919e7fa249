#pragma once

// A number box for the settings dialogs: its range, unit and decimals come from a
// QNNumberFormat, and it hands back the value it was loaded with until the user changes it, so that
// a value the unit cannot show exactly survives a dialog closed with OK.

#include <QDoubleSpinBox>

#include "ui/SettingRanges.h"

namespace qn {

class QNNumberBox : public QDoubleSpinBox {
  Q_OBJECT

 public:
  QNNumberBox(const QNNumberFormat& format, QWidget* parent);

  // The value as held (bytes, thousandths, ...).
  void SetHeld(double held);
  double Held() const;

  // A settings member through its row of the range table.
  void Load(const QNSettingRange& range, const CQNSettings& settings);
  void Store(const QNSettingRange& range, CQNSettings& settings) const;

 private:
  void Show(double shown);
  bool Changed() const { return outOfRange_ || value() != loadedShown_; }

  QNNumberFormat format_;
  double loadedHeld_ = 0;
  double loadedShown_ = 0;
  bool outOfRange_ = false;
};

}  // namespace qn

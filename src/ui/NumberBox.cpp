#include "ui/NumberBox.h"

namespace qn {

QNNumberBox::QNNumberBox(const QNNumberFormat& format, QWidget* parent)
    : QDoubleSpinBox(parent), format_(format) {
  setDecimals(format.decimals);
  setRange(format.min, format.max);
  setGroupSeparatorShown(false);
  setAlignment(Qt::AlignRight);
}

void QNNumberBox::SetHeld(double held) {
  Show(held / format_.scale);
  loadedHeld_ = held;
}

void QNNumberBox::Show(double shown) {
  setValue(shown);
  loadedShown_ = value();
  // A value outside the range (a template takes values as written) is shown at the
  // bound and stored so.
  outOfRange_ = !(shown >= minimum() && shown <= maximum());
}

double QNNumberBox::Held() const {
  return Changed() ? value() * format_.scale : loadedHeld_;
}

void QNNumberBox::Load(const QNSettingRange& range, const CQNSettings& settings) {
  Show(ShownValue(range, settings));
}

void QNNumberBox::Store(const QNSettingRange& range, CQNSettings& settings) const {
  if (Changed()) StoreShown(range, value(), settings);
}

}  // namespace qn

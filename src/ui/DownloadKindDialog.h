#pragma once

// "Choose the Download Type": the kinds of download a project may start with, as the
// engine offers them; "Start new download" is always there.

#include <QDialog>
#include <array>

#include "seams/Observer.h"

class QRadioButton;

namespace qn {

class QNTexts;

class QNDownloadKindDialog : public QDialog {
  Q_OBJECT

 public:
  QNDownloadKindDialog(const QNDownloadKindOffer& offer, const QNTexts& texts,
                       QWidget* parent = nullptr);

  // The kind chosen (kKindNew, kKindContinue, kKindSelected or kKindFailed).
  int Kind() const;
  // Whether the kind is offered (its choice is shown and can be taken).
  bool Offers(int kind) const;

 private:
  // In the order shown: new, continue, selected, failed.
  std::array<QRadioButton*, 4> choices_{};
};

}  // namespace qn

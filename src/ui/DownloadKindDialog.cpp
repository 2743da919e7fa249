#include "ui/DownloadKindDialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "seams/RunControl.h"
#include "ui/DialogIds.h"
#include "ui/DialogTexts.h"

namespace qn {
namespace {

constexpr std::array<int, 4> kKinds = {kKindNew, kKindContinue, kKindSelected, kKindFailed};
constexpr std::array<int, 4> kKindIds = {kIdcKindNew, kIdcKindContinue, kIdcKindSelected,
                                         kIdcKindFailed};

}  // namespace

QNDownloadKindDialog::QNDownloadKindDialog(const QNDownloadKindOffer& offer, const QNTexts& texts,
                                           QWidget* parent)
    : QDialog(parent) {
  setObjectName("DownloadKindDialog");
  setWindowTitle(tr("Choose the Download Type"));
  auto* group = new QGroupBox(tr("Download type"), this);
  TagControl(group, kIdcKindGroup);
  auto* choices = new QVBoxLayout(group);
  const std::array<QString, 4> captions = {
      tr("Start &new download"), tr("&Continue previous download"),
      tr("Download only &selected files"), tr("Download only files &failed before")};
  const std::array<bool, 4> offered = {true, offer.offerContinue, offer.offerSelected,
                                       offer.offerFailed};
  for (std::size_t i = 0; i < kKinds.size(); ++i) {
    choices_[i] = new QRadioButton(captions[i], group);
    TagControl(choices_[i], kKindIds[i]);
    choices_[i]->setEnabled(offered[i]);
    choices_[i]->setChecked(offered[i] && kKinds[i] == offer.preselected);
    choices->addWidget(choices_[i]);
  }
  if (Kind() == 0) choices_[0]->setChecked(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  TagButtons(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(buttons);
  TagDialog(this, kDlgDownloadKind);
  TranslateDialog(this, texts);
}

int QNDownloadKindDialog::Kind() const {
  for (std::size_t i = 0; i < kKinds.size(); ++i)
    if (choices_[i]->isChecked()) return kKinds[i];
  return 0;
}

bool QNDownloadKindDialog::Offers(int kind) const {
  for (std::size_t i = 0; i < kKinds.size(); ++i)
    if (kKinds[i] == kind) return choices_[i]->isEnabled();
  return false;
}

}  // namespace qn

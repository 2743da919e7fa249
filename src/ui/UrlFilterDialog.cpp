#include "ui/UrlFilterDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "engine/Filters.h"
#include "text/MessageIds.h"
#include "ui/DialogTexts.h"
#include "ui/SettingsIds.h"
#include "ui/SettingsPage.h"

namespace qn {
namespace {
constexpr int kAllProtocols = 15;
constexpr std::array kProtocols = {1, 2, 4, 8, kAllProtocols};
}  // namespace

QString ProtocolName(int protocol, const QNTexts& texts) {
  switch (protocol) {
    case 1:
      return "http";
    case 2:
      return "https";
    case 4:
      return "ftp";
    case 8:
      return "file";
    case kAllProtocols:
      return QString::fromStdString(texts.Text(kMsgAll));
    default:
      return QString::number(protocol);
  }
}

CQNUrlFilter FilterForAddresses(const std::vector<std::string>& addresses) {
  CQNUrlFilter filter;
  if (addresses.size() != 1) return filter;
  QNUrlParts parts = SplitForFilter(addresses.front());
  if (parts.protocol != 0) filter.protocol = parts.protocol;
  filter.server = std::move(parts.server);
  filter.directory = std::move(parts.directory);
  filter.file = std::move(parts.file);
  return filter;
}

QNUrlFilterDialog::QNUrlFilterDialog(const CQNUrlFilter& filter, const QString& title,
                                     const QNTexts& texts, QWidget* parent)
    : QDialog(parent), filter_(filter) {
  setWindowTitle(title);
  TagDialog(this, kDlgUrlFilter);
  auto* layout = new QVBoxLayout(this);
  load_ = Tagged(new QRadioButton(tr("&Load matching addresses"), this), kIdcLoadMatching);
  skip_ = Tagged(new QRadioButton(tr("S&kip matching addresses"), this), kIdcSkipMatching);
  (filter.include ? load_ : skip_)->setChecked(true);
  layout->addWidget(load_);
  layout->addWidget(skip_);

  auto* form = new QFormLayout;
  protocol_ = Tagged(new QComboBox(this), kIdcFilterProtocol);
  for (int protocol : kProtocols) protocol_->addItem(ProtocolName(protocol, texts), protocol);
  // A protocol no item names (a template takes values as written) is kept.
  if (protocol_->findData(filter.protocol) < 0)
    protocol_->addItem(ProtocolName(filter.protocol, texts), filter.protocol);
  protocol_->setCurrentIndex(protocol_->findData(filter.protocol));
  server_ = Tagged(new QLineEdit(QString::fromStdString(filter.server), this), kIdcFilterServer);
  directory_ =
      Tagged(new QLineEdit(QString::fromStdString(filter.directory), this), kIdcFilterDirectory);
  file_ = Tagged(new QLineEdit(QString::fromStdString(filter.file), this), kIdcFilterFile);
  const auto caption = [&texts](int id) { return QString::fromStdString(texts.Text(id)) + ':'; };
  // Mnemonics on the looked-up captions would change a translation; the fields are
  // reached with Tab.
  form->addRow(LabelFor(caption(kMsgFilterProtocol), protocol_, kIdcFilterProtocol), protocol_);
  form->addRow(LabelFor(caption(kMsgFilterServer), server_, kIdcFilterServer), server_);
  form->addRow(LabelFor(caption(kMsgFilterDirectory), directory_, kIdcFilterDirectory), directory_);
  form->addRow(LabelFor(caption(kMsgFilterFile), file_, kIdcFilterFile), file_);
  server_->setMinimumWidth(fontMetrics().horizontalAdvance(QString(40, 'x')));
  layout->addLayout(form);
  auto* hint = new QLabel(tr("In a pattern * stands for any run of characters and ^ for "
                             "exactly one; an empty pattern matches everything."),
                          this);
  hint->setWordWrap(true);
  TagControl(hint, kIdcFilterHint);
  layout->addWidget(hint);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  TagButtons(buttons);
  layout->addWidget(buttons);
  TranslateDialog(this, texts);
}

CQNUrlFilter QNUrlFilterDialog::Filter() const {
  CQNUrlFilter filter = filter_;
  filter.include = load_->isChecked() ? 1 : 0;
  filter.protocol = protocol_->currentData().toInt();
  filter.server = server_->text().trimmed().toStdString();
  filter.directory = directory_->text().trimmed().toStdString();
  filter.file = file_->text().trimmed().toStdString();
  return filter;
}

}  // namespace qn

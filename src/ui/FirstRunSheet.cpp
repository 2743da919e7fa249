#include "ui/FirstRunSheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "text/MessageIds.h"
#include "text/Texts.h"
#include "ui/DialogIds.h"
#include "ui/DialogTexts.h"
#include "ui/LabelFor.h"
#include "ui/WizardIds.h"

namespace qn {
namespace {

QSpinBox* PortBox(int port, QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setRange(1, 65535);
  box->setValue(port);
  return box;
}

// An address and its port on one row.
QWidget* AddressRow(QLineEdit* address, const QString& portText, int portLabelId, QSpinBox* port,
                    QWidget* parent) {
  auto* row = new QWidget(parent);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(address, 1);
  auto* portLabel = new QLabel(portText, row);
  portLabel->setBuddy(port);
  TagControl(portLabel, portLabelId);
  layout->addWidget(portLabel);
  layout->addWidget(port);
  return row;
}

}  // namespace

QNFirstRunSheet::QNFirstRunSheet(const QNProgramOptions& options, const QNTexts& texts,
                                 const std::optional<std::vector<std::string>>& dialUpEntries,
                                 QWidget* parent)
    : QDialog(parent), options_(options) {
  auto* layout = new QVBoxLayout(this);

  auto* intro = new QLabel(
      tr("<b>Welcome to Quillorne.</b><br>Quillorne copies web sites to your computer so "
         "that you can read them without a network connection. Tell it how this computer "
         "reaches the Internet."),
      this);
  intro->setWordWrap(true);
  TagControl(intro, kIdcConnIntro);
  layout->addWidget(intro);

  direct_ = new QRadioButton(tr("&Direct connection to the Internet"), this);
  proxy_ = new QRadioButton(tr("Connect through a &proxy server"), this);
  dialUp_ = new QRadioButton(tr("D&ial up a connection for each download"), this);
  TagControl(direct_, kIdcConnDirect);
  TagControl(proxy_, kIdcConnProxy);
  TagControl(dialUp_, kIdcConnDialUp);
  layout->addWidget(direct_);
  layout->addWidget(proxy_);
  layout->addWidget(dialUp_);

  proxyBox_ = new QGroupBox(tr("Proxy server"), this);
  TagControl(proxyBox_, kIdcConnProxyGroup);
  auto* form = new QFormLayout(proxyBox_);
  httpAddress_ = new QLineEdit(QString::fromStdString(options.ProxyAddress), proxyBox_);
  httpPort_ = PortBox(options.ProxyPort, proxyBox_);
  ftpAddress_ = new QLineEdit(QString::fromStdString(options.FtpProxyAddress), proxyBox_);
  ftpPort_ = PortBox(options.FtpProxyPort, proxyBox_);
  ftpAddress_->setPlaceholderText(tr("the HTTP proxy"));
  TagControl(ftpAddress_, kIdcConnFtpAddress);
  // Room for a usual host name, in the size of the font in use.
  const int addressWidth = fontMetrics().horizontalAdvance("proxy.example.org  ");
  httpAddress_->setMinimumWidth(addressWidth);
  ftpAddress_->setMinimumWidth(addressWidth);
  QWidget* httpRow = AddressRow(httpAddress_, tr("P&ort:"), kIdcConnHttpPort, httpPort_, proxyBox_);
  QWidget* ftpRow = AddressRow(ftpAddress_, tr("Por&t:"), kIdcConnFtpPort, ftpPort_, proxyBox_);
  form->addRow(TaggedLabel(tr("&HTTP proxy:"), httpAddress_, kIdcConnHttpProxy), httpRow);
  form->addRow(TaggedLabel(tr("&FTP proxy:"), ftpAddress_, kIdcConnFtpProxy), ftpRow);
  layout->addWidget(proxyBox_);

  dialBox_ = new QGroupBox(tr("Dial-up connection"), this);
  TagControl(dialBox_, kIdcConnDialGroup);
  auto* dialForm = new QFormLayout(dialBox_);
  rasEntry_ = new QComboBox(dialBox_);
  rasEntry_->setEditable(true);
  if (dialUpEntries)
    for (const std::string& entry : *dialUpEntries)
      rasEntry_->addItem(QString::fromStdString(entry));
  rasEntry_->setEditText(QString::fromStdString(options.RasEntry));
  rasUser_ = new QLineEdit(QString::fromStdString(options.RasUserID), dialBox_);
  rasPassword_ = new QLineEdit(QString::fromStdString(options.RasUserPsw), dialBox_);
  rasPassword_->setEchoMode(QLineEdit::Password);
  TagControl(rasEntry_, kIdcConnEntry);
  TagControl(rasUser_, kIdcConnUser);
  TagControl(rasPassword_, kIdcConnPassword);
  dialForm->addRow(LabelFor(tr("&Entry:"), rasEntry_, kIdcConnEntry), rasEntry_);
  dialForm->addRow(LabelFor(tr("&User name:"), rasUser_, kIdcConnUser), rasUser_);
  dialForm->addRow(LabelFor(tr("P&assword:"), rasPassword_, kIdcConnPassword), rasPassword_);
  layout->addWidget(dialBox_);

  showWelcome_ = new QCheckBox(tr("Show the &welcome page at start"), this);
  showWelcome_->setChecked(options.ShowWelcome);
  TagControl(showWelcome_, kIdcConnShowWelcome);
  layout->addWidget(showWelcome_);
  layout->addStretch(1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  TagButtons(buttons);
  layout->addWidget(buttons);

  connect(proxy_, &QRadioButton::toggled, proxyBox_, &QWidget::setEnabled);
  connect(dialUp_, &QRadioButton::toggled, dialBox_, &QWidget::setEnabled);
  QRadioButton* chosen = options.ConnType == kConnDialUp ? dialUp_
                         : options.UseProxy              ? proxy_
                                                         : direct_;
  chosen->setChecked(true);
  proxyBox_->setEnabled(chosen == proxy_);
  dialBox_->setEnabled(chosen == dialUp_);
  QWidget* previous = direct_;
  for (QWidget* next :
       std::initializer_list<QWidget*>{proxy_, dialUp_, httpAddress_, httpPort_, ftpAddress_,
                                       ftpPort_, rasEntry_, rasUser_, rasPassword_, showWelcome_}) {
    setTabOrder(previous, next);
    previous = next;
  }
  TagDialog(this, kDlgConnWiz);
  TranslateDialog(this, texts);
  setWindowTitle(QString::fromStdString(texts.Text(kMsgWelcome)));
}

QNProgramOptions QNFirstRunSheet::Options() const {
  QNProgramOptions options = options_;
  options.UseProxy = proxy_->isChecked() && !httpAddress_->text().trimmed().isEmpty();
  options.ConnType = dialUp_->isChecked() ? kConnDialUp : 0;
  options.RasEntry = rasEntry_->currentText().trimmed().toStdString();
  options.RasUserID = rasUser_->text().trimmed().toStdString();
  options.RasUserPsw = rasPassword_->text().toStdString();
  options.ProxyAddress = httpAddress_->text().trimmed().toStdString();
  options.ProxyPort = httpPort_->value();
  options.FtpProxyAddress = ftpAddress_->text().trimmed().toStdString();
  options.FtpProxyPort = ftpPort_->value();
  options.ShowWelcome = showWelcome_->isChecked();
  return options;
}

}  // namespace qn

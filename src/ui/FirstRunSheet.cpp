#include "ui/FirstRunSheet.h"

#include <QCheckBox>
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

namespace qn {
namespace {

QSpinBox* PortBox(int port, QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setRange(1, 65535);
  box->setValue(port);
  return box;
}

// An address and its port on one row.
QWidget* AddressRow(QLineEdit* address, QSpinBox* port, QWidget* parent) {
  auto* row = new QWidget(parent);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(address, 1);
  auto* portLabel = new QLabel(QObject::tr("P&ort:"), row);
  portLabel->setBuddy(port);
  layout->addWidget(portLabel);
  layout->addWidget(port);
  return row;
}

}  // namespace

QNFirstRunSheet::QNFirstRunSheet(const QNProgramOptions& options, const std::string& title,
                                 QWidget* parent)
    : QDialog(parent), options_(options) {
  setWindowTitle(QString::fromStdString(title));
  auto* layout = new QVBoxLayout(this);

  auto* intro = new QLabel(
      tr("<b>Welcome to Quillorne.</b><br>Quillorne copies web sites to your computer so "
         "that you can read them without a network connection. Tell it how this computer "
         "reaches the Internet."),
      this);
  intro->setWordWrap(true);
  layout->addWidget(intro);

  direct_ = new QRadioButton(tr("&Direct connection to the Internet"), this);
  proxy_ = new QRadioButton(tr("Connect through a &proxy server"), this);
  layout->addWidget(direct_);
  layout->addWidget(proxy_);

  proxyBox_ = new QGroupBox(tr("Proxy server"), this);
  auto* form = new QFormLayout(proxyBox_);
  httpAddress_ = new QLineEdit(QString::fromStdString(options.ProxyAddress), proxyBox_);
  httpPort_ = PortBox(options.ProxyPort, proxyBox_);
  ftpAddress_ = new QLineEdit(QString::fromStdString(options.FtpProxyAddress), proxyBox_);
  ftpPort_ = PortBox(options.FtpProxyPort, proxyBox_);
  ftpAddress_->setPlaceholderText(tr("the HTTP proxy"));
  // Room for a usual host name, in the size of the font in use.
  const int addressWidth = fontMetrics().horizontalAdvance("proxy.example.org  ");
  httpAddress_->setMinimumWidth(addressWidth);
  ftpAddress_->setMinimumWidth(addressWidth);
  form->addRow(tr("&HTTP proxy:"), AddressRow(httpAddress_, httpPort_, proxyBox_));
  form->addRow(tr("&FTP proxy:"), AddressRow(ftpAddress_, ftpPort_, proxyBox_));
  layout->addWidget(proxyBox_);

  showWelcome_ = new QCheckBox(tr("Show the &welcome page at start"), this);
  showWelcome_->setChecked(options.ShowWelcome);
  layout->addWidget(showWelcome_);
  layout->addStretch(1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);

  connect(proxy_, &QRadioButton::toggled, proxyBox_, &QWidget::setEnabled);
  (options.UseProxy ? proxy_ : direct_)->setChecked(true);
  proxyBox_->setEnabled(options.UseProxy);
  setTabOrder(direct_, proxy_);
  setTabOrder(proxy_, httpAddress_);
  setTabOrder(httpAddress_, httpPort_);
  setTabOrder(httpPort_, ftpAddress_);
  setTabOrder(ftpAddress_, ftpPort_);
  setTabOrder(ftpPort_, showWelcome_);
}

QNProgramOptions QNFirstRunSheet::Options() const {
  QNProgramOptions options = options_;
  options.UseProxy = proxy_->isChecked() && !httpAddress_->text().trimmed().isEmpty();
  options.ProxyAddress = httpAddress_->text().trimmed().toStdString();
  options.ProxyPort = httpPort_->value();
  options.FtpProxyAddress = ftpAddress_->text().trimmed().toStdString();
  options.FtpProxyPort = ftpPort_->value();
  options.ShowWelcome = showWelcome_->isChecked();
  if (options.UseProxy) options.ConnType = 0;
  return options;
}

}  // namespace qn

#include "ui/OptionsPages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/DialogTextTable.h"
#include "ui/DialogTexts.h"
#include "ui/LabelFor.h"
#include "ui/WizardIds.h"

namespace qn {
namespace {

constexpr int kBoldWeight = 700;
constexpr int kNormalWeight = 400;
// The longest periodic-save period offered, a day.
constexpr int kMaxAutoSaveMinutes = 1440;

QCheckBox* Check(const QString& text, bool on, int id, QWidget* parent) {
  auto* box = new QCheckBox(text, parent);
  box->setChecked(on);
  TagControl(box, id);
  return box;
}

QLineEdit* Edit(const std::string& text, int id, QWidget* parent) {
  auto* edit = new QLineEdit(QString::fromStdString(text), parent);
  TagControl(edit, id);
  return edit;
}

QSpinBox* Spin(int low, int high, int value, int id, QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setRange(low, high);
  box->setValue(value);
  TagControl(box, id);
  return box;
}

// An address and its port on one row of a form.
void AddAddressRow(QFormLayout* form, const QString& label, QLineEdit* address,
                   const QString& portText, QSpinBox* port, int id) {
  auto* row = new QHBoxLayout;
  row->addWidget(address, 1);
  auto* portLabel = LabelFor(portText, port, port->property("qnControl").toInt());
  row->addWidget(portLabel);
  row->addWidget(port);
  form->addRow(LabelFor(label, address, id), row);
}

std::string Text(const QLineEdit* edit) {
  return edit->text().trimmed().toStdString();
}

}  // namespace

QNOptionsPage::QNOptionsPage(int pageId, const QString& title, QWidget* parent) : QWidget(parent) {
  setWindowTitle(title);
  TagDialog(this, pageId);
}

QNOptionsConnectionPage::QNOptionsConnectionPage(
    const QNProgramOptions& options, const std::optional<std::vector<std::string>>& dialUpEntries,
    QWidget* parent)
    : QNOptionsPage(kDlgOptionsConnection, tr("Connection"), parent),
      connType_(new QButtonGroup(this)) {
  auto* layout = new QVBoxLayout(this);
  auto* permanent = new QRadioButton(tr("&Permanent connection (direct or through a proxy)"), this);
  auto* dialUp = new QRadioButton(tr("&Dial-up connection"), this);
  TagControl(permanent, kIdcOptPermanent);
  TagControl(dialUp, kIdcOptDialUp);
  connType_->addButton(permanent, 0);
  connType_->addButton(dialUp, kConnDialUp);
  (options.ConnType == kConnDialUp ? dialUp : permanent)->setChecked(true);
  layout->addWidget(permanent);
  layout->addWidget(dialUp);

  auto* proxy = new QGroupBox(tr("Proxy server"), this);
  TagControl(proxy, kIdcOptProxyGroup);
  auto* proxyForm = new QFormLayout(proxy);
  useProxy_ = Check(tr("&Use a proxy server"), options.UseProxy, kIdcOptUseProxy, proxy);
  proxyForm->addRow(useProxy_);
  proxyAddress_ = Edit(options.ProxyAddress, kIdcOptProxyAddress, proxy);
  proxyPort_ = Spin(1, 65535, options.ProxyPort, kIdcOptProxyPort, proxy);
  ftpAddress_ = Edit(options.FtpProxyAddress, kIdcOptFtpAddress, proxy);
  ftpAddress_->setPlaceholderText(tr("none"));
  ftpPort_ = Spin(1, 65535, options.FtpProxyPort, kIdcOptFtpPort, proxy);
  AddAddressRow(proxyForm, tr("&HTTP proxy:"), proxyAddress_, tr("P&ort:"), proxyPort_,
                kIdcOptProxyAddress);
  AddAddressRow(proxyForm, tr("&FTP proxy:"), ftpAddress_, tr("Por&t:"), ftpPort_,
                kIdcOptFtpAddress);
  proxyUser_ = Edit(options.ProxyUserID, kIdcOptProxyUser, proxy);
  proxyPassword_ = Edit(options.ProxyPassword, kIdcOptProxyPassword, proxy);
  proxyPassword_->setEchoMode(QLineEdit::Password);
  proxyForm->addRow(LabelFor(tr("User &ID:"), proxyUser_, kIdcOptProxyUser), proxyUser_);
  proxyForm->addRow(LabelFor(tr("Pass&word:"), proxyPassword_, kIdcOptProxyPassword),
                    proxyPassword_);
  layout->addWidget(proxy);

  auto* dial = new QGroupBox(tr("Dial-up connection"), this);
  TagControl(dial, kIdcOptDialUpGroup);
  auto* dialForm = new QFormLayout(dial);
  rasEntry_ = new QComboBox(dial);
  rasEntry_->setEditable(true);
  TagControl(rasEntry_, kIdcOptRasEntry);
  if (dialUpEntries)
    for (const std::string& entry : *dialUpEntries)
      rasEntry_->addItem(QString::fromStdString(entry));
  rasEntry_->setEditText(QString::fromStdString(options.RasEntry));
  rasUser_ = Edit(options.RasUserID, kIdcOptRasUser, dial);
  rasPassword_ = Edit(options.RasUserPsw, kIdcOptRasPassword, dial);
  rasPassword_->setEchoMode(QLineEdit::Password);
  autoDisconn_ =
      Check(tr("Han&g up after the download"), options.AutoDisconn, kIdcOptAutoDisconn, dial);
  dialForm->addRow(LabelFor(tr("&Entry:"), rasEntry_, kIdcOptRasEntry), rasEntry_);
  dialForm->addRow(LabelFor(tr("U&ser name:"), rasUser_, kIdcOptRasUser), rasUser_);
  dialForm->addRow(LabelFor(tr("P&assword:"), rasPassword_, kIdcOptRasPassword), rasPassword_);
  dialForm->addRow(autoDisconn_);
  layout->addWidget(dial);

  redirect_ = Check(tr("Follow &redirections"), options.Redirect, kIdcOptRedirect, this);
  useCache_ =
      Check(tr("Keep fetched pages in the &cache"), options.UseCache, kIdcOptUseCache, this);
  layout->addWidget(redirect_);
  layout->addWidget(useCache_);
  layout->addStretch(1);

  // Each group is editable while it is in use.
  const auto enable = [this, proxy, dial] {
    const bool dialing = connType_->checkedId() == kConnDialUp;
    dial->setEnabled(dialing);
    for (QWidget* field : proxy->findChildren<QWidget*>())
      if (field != useProxy_) field->setEnabled(useProxy_->isChecked());
  };
  connect(connType_, &QButtonGroup::idToggled, this, enable);
  connect(useProxy_, &QCheckBox::toggled, this, enable);
  enable();
}

void QNOptionsConnectionPage::Store(QNProgramOptions& options) const {
  options.ConnType = connType_->checkedId();
  options.UseProxy = useProxy_->isChecked();
  options.ProxyAddress = Text(proxyAddress_);
  options.ProxyPort = proxyPort_->value();
  options.FtpProxyAddress = Text(ftpAddress_);
  options.FtpProxyPort = ftpPort_->value();
  options.ProxyUserID = Text(proxyUser_);
  options.ProxyPassword = proxyPassword_->text().toStdString();
  options.RasEntry = rasEntry_->currentText().trimmed().toStdString();
  options.RasUserID = Text(rasUser_);
  options.RasUserPsw = rasPassword_->text().toStdString();
  options.AutoDisconn = autoDisconn_->isChecked();
  options.Redirect = redirect_->isChecked();
  options.UseCache = useCache_->isChecked();
}

QNOptionsGeneralPage::QNOptionsGeneralPage(const QNProgramOptions& options, const QNTexts& texts,
                                           QWidget* parent)
    : QNOptionsPage(kDlgOptionsGeneral, tr("General"), parent),
      texts_(texts),
      wizards_(options.Wizards) {
  auto* layout = new QVBoxLayout(this);
  autoLoad_ = Check(tr("&Open the last project at start"), options.AutoLoad, kIdcOptAutoLoad, this);
  autoSave_ = Check(tr("&Save a changed project without asking when it is closed"),
                    options.AutoSave, kIdcOptAutoSave, this);
  autoSaveTime_ =
      Check(tr("Save the open project &every"), options.AutoSaveTime, kIdcOptAutoSaveTime, this);
  autoSaveValue_ =
      Spin(1, kMaxAutoSaveMinutes, std::max(1, options.AutoSaveValue), kIdcOptAutoSaveValue, this);
  autoSaveValue_->setSuffix(tr(" min"));
  autoSaveValue_->setAccessibleName(tr("Minutes between saves"));
  auto* periodic = new QHBoxLayout;
  periodic->addWidget(autoSaveTime_);
  periodic->addWidget(autoSaveValue_);
  periodic->addStretch(1);
  layout->addWidget(autoLoad_);
  layout->addWidget(autoSave_);
  layout->addLayout(periodic);

  wizard_ = Check(tr("&New opens the \"Create a New Project\" wizard"),
                  options.Wizards & kWizardNewProject, kIdcOptWizard, this);
  useTemplate_ = Check(tr("New projects take their settings from a &template file:"),
                       options.UseTemplFile, kIdcOptUseTemplate, this);
  template_ = Edit(options.TemplFile, kIdcOptTemplate, this);
  template_->setAccessibleName(tr("Template file"));
  auto* browse = new QToolButton(this);
  browse->setText(tr("..."));
  browse->setAccessibleName(tr("Browse for a template file"));
  TagControl(browse, kIdcOptBrowseTemplate);
  auto* templateRow = new QHBoxLayout;
  templateRow->addSpacing(useTemplate_->style()->pixelMetric(QStyle::PM_IndicatorWidth));
  templateRow->addWidget(template_, 1);
  templateRow->addWidget(browse);
  layout->addWidget(wizard_);
  layout->addWidget(useTemplate_);
  layout->addLayout(templateRow);

  remUrl_ = Check(tr("Remember start &addresses"), options.RemURL, kIdcOptRemUrl, this);
  remFind_ = Check(tr("Remember search str&ings"), options.RemFind, kIdcOptRemFind, this);
  useTray_ = Check(tr("Show the program in the notification a&rea instead of the taskbar"),
                   options.UseTray, kIdcOptUseTray, this);
  showWelcome_ =
      Check(tr("Show the &welcome page at start"), options.ShowWelcome, kIdcOptShowWelcome, this);
  autoShutdown_ = Check(tr("Shut the computer &down after a download"), options.AutoShutdown,
                        kIdcOptAutoShutdown, this);
  for (QWidget* box : {remUrl_, remFind_, useTray_, showWelcome_, autoShutdown_})
    layout->addWidget(box);
  layout->addStretch(1);

  connect(autoSaveTime_, &QCheckBox::toggled, autoSaveValue_, &QWidget::setEnabled);
  autoSaveValue_->setEnabled(options.AutoSaveTime);
  connect(useTemplate_, &QCheckBox::toggled, template_, &QWidget::setEnabled);
  connect(useTemplate_, &QCheckBox::toggled, browse, &QWidget::setEnabled);
  template_->setEnabled(options.UseTemplFile);
  browse->setEnabled(options.UseTemplFile);
  connect(browse, &QToolButton::clicked, this, &QNOptionsGeneralPage::BrowseTemplate);
}

void QNOptionsGeneralPage::BrowseTemplate() {
  const QString file = QFileDialog::getOpenFileName(this, DialogText(texts_, kTxtTemplateCaption),
                                                    QFileInfo(template_->text()).absolutePath(),
                                                    DialogText(texts_, kTxtTemplateFilter));
  if (!file.isEmpty()) template_->setText(file);
}

void QNOptionsGeneralPage::Store(QNProgramOptions& options) const {
  options.AutoLoad = autoLoad_->isChecked();
  options.AutoSave = autoSave_->isChecked();
  options.AutoSaveTime = autoSaveTime_->isChecked();
  // A stored period below one minute stays as it was while it is not edited.
  if (autoSaveValue_->value() != std::max(1, options.AutoSaveValue))
    options.AutoSaveValue = autoSaveValue_->value();
  options.Wizards =
      wizard_->isChecked() ? wizards_ | kWizardNewProject : wizards_ & ~kWizardNewProject;
  options.UseTemplFile = useTemplate_->isChecked();
  options.TemplFile = Text(template_);
  options.RemURL = remUrl_->isChecked();
  options.RemFind = remFind_->isChecked();
  options.UseTray = useTray_->isChecked();
  options.ShowWelcome = showWelcome_->isChecked();
  options.AutoShutdown = autoShutdown_->isChecked();
}

QNOptionsDisplayPage::QNOptionsDisplayPage(const QNProgramOptions& options,
                                           std::vector<QNLanguageChoice> languages, QWidget* parent)
    : QNOptionsPage(kDlgOptionsDisplay, tr("Display"), parent),
      shown_(options),
      languages_(std::move(languages)),
      face_(new QFontComboBox(this)),
      height_(Spin(6, 72, std::abs(options.FontHeight), kIdcOptFontHeight, this)),
      bold_(Check(tr("&Bold"), options.FontWeight >= kBoldWeight, kIdcOptFontBold, this)),
      language_(new QComboBox(this)) {
  auto* layout = new QVBoxLayout(this);
  auto* font = new QGroupBox(tr("Contents tree font"), this);
  TagControl(font, kIdcOptFontGroup);
  auto* fontForm = new QFormLayout(font);
  TagControl(face_, kIdcOptFontFace);
  face_->setCurrentFont(QFont(QString::fromStdString(options.FontName)));
  height_->setSuffix(tr(" px"));
  fontForm->addRow(LabelFor(tr("&Font:"), face_, kIdcOptFontFace), face_);
  fontForm->addRow(LabelFor(tr("&Size:"), height_, kIdcOptFontHeight), height_);
  fontForm->addRow(bold_);
  layout->addWidget(font);

  TagControl(language_, kIdcOptLanguage);
  int current = -1;
  for (std::size_t i = 0; i < languages_.size(); ++i) {
    const QNLanguageChoice& choice = languages_[i];
    language_->addItem(QString::fromStdString(choice.name));
    const bool chosen =
        options.UseLngFile
            ? QString::fromStdString(choice.file)
                      .compare(QString::fromStdString(options.LngFile), Qt::CaseInsensitive) == 0
            : choice.file.empty();
    if (chosen && current < 0) current = static_cast<int>(i);
  }
  language_->setCurrentIndex(current);
  auto* languageForm = new QFormLayout;
  languageForm->addRow(LabelFor(tr("&Language:"), language_, kIdcOptLanguage), language_);
  layout->addLayout(languageForm);
  layout->addStretch(1);

  // The stored face (the default names a font this desktop may lack) and weight
  // stay until the user picks others.
  connect(face_, &QFontComboBox::currentFontChanged, this, [this] { faceChanged_ = true; });
  connect(bold_, &QCheckBox::toggled, this, [this] { boldChanged_ = true; });
}

void QNOptionsDisplayPage::Store(QNProgramOptions& options) const {
  if (faceChanged_)
    options.FontName = face_->currentFont().family().left(kFontNameMax).toStdString();
  if (height_->value() != std::abs(shown_.FontHeight)) options.FontHeight = -height_->value();
  if (boldChanged_) options.FontWeight = bold_->isChecked() ? kBoldWeight : kNormalWeight;
  const int index = language_->currentIndex();
  if (index < 0) return;
  const QNLanguageChoice& choice = languages_[static_cast<std::size_t>(index)];
  options.UseLngFile = !choice.file.empty();
  if (options.UseLngFile) options.LngFile = choice.file;
}

}  // namespace qn

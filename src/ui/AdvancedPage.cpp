#include "ui/AdvancedPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "ui/DialogTextTable.h"
#include "ui/NumberBox.h"
#include "ui/SettingsIds.h"

namespace qn {
namespace {
constexpr int kUserDefined = 5;
bool UsesVersion(int kind) {
  return kind >= 2 && kind <= 4;
}
}  // namespace

QNAdvancedPage::QNAdvancedPage(const QNTexts& texts, QWidget* parent)
    : QNSettingsPage(kDlgPageAdvanced, tr("Advanced"), parent), texts_(texts), dirStructure_(this) {
  auto* layout = new QVBoxLayout(this);

  auto* agent = Tagged(new QGroupBox(tr("Agent Identification"), this), kIdcAgentGroup);
  auto* agentForm = new QFormLayout(agent);
  agentKind_ = Tagged(new QComboBox(agent), kIdcAgentKind);
  const QStringList kinds = {tr("Quillorne"),
                             tr("Anonymous"),
                             tr("Microsoft Internet Explorer"),
                             tr("Netscape Communicator"),
                             tr("Opera"),
                             tr("User defined")};
  for (int kind = 0; kind < kinds.size(); ++kind) agentKind_->addItem(kinds[kind], kind);
  TranslateItems(agentKind_);
  const QNSettingRange& version = SettingRange("AgentVersion");
  agentVersion_ = Tagged(new QNNumberBox(version.format, agent), version.controlId);
  agentString_ = Tagged(new QLineEdit(agent), kIdcAgentString);
  agentId_ = new QLabel(agent);
  agentId_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  agentId_->setWordWrap(true);
  agentForm->addRow(LabelFor(tr("&Identify as:"), agentKind_, kIdcAgentKind), agentKind_);
  agentForm->addRow(LabelFor(tr("&Version:"), agentVersion_, version.controlId),
                    AtOwnWidth(agentVersion_));
  agentForm->addRow(LabelFor(tr("&User defined:"), agentString_, kIdcAgentString), agentString_);
  agentForm->addRow(Tagged(new QLabel(tr("Sent:"), agent), kIdcAgentSent), agentId_);
  layout->addWidget(agent);

  auto* row = new QHBoxLayout;
  row->addWidget(ChoiceGroup(tr("Directory structure"), kIdcDirStructure,
                             {{tr("&Relative"), kIdcRelative},
                              {tr("&Based on URLs"), kIdcBasedOnUrls},
                              {tr("&One directory"), kIdcOneDirectory}},
                             dirStructure_, this));
  auto* preview = Tagged(new QGroupBox(tr("Website Preview"), this), kIdcPreviewGroup);
  auto* previewLayout = new QVBoxLayout(preview);
  detailed_ = Tagged(new QCheckBox(tr("D&etailed scanning"), preview), kIdcDetailed);
  keepHtml_ = Tagged(new QCheckBox(tr("&Keep HTML files"), preview), kIdcKeepHtml);
  previewLayout->addWidget(detailed_);
  previewLayout->addWidget(keepHtml_);
  previewLayout->addStretch(1);
  row->addWidget(preview, 1);
  layout->addLayout(row);

  auto* form = new QFormLayout;
  defaultFile_ = Tagged(new QLineEdit(this), kIdcDefaultFile);
  form->addRow(LabelFor(tr("Default HTML &File Name:"), defaultFile_, kIdcDefaultFile),
               defaultFile_);
  const QNSettingRange& timeout = SettingRange("QN_TIMEOUT");
  const QNSettingRange& retries = SettingRange("QN_RETRIES");
  timeout_ = Tagged(new QNNumberBox(timeout.format, this), timeout.controlId);
  retries_ = Tagged(new QNNumberBox(retries.format, this), retries.controlId);
  form->addRow(LabelFor(tr("&Timeout (sec):"), timeout_, timeout.controlId), AtOwnWidth(timeout_));
  form->addRow(LabelFor(tr("Retrie&s:"), retries_, retries.controlId), AtOwnWidth(retries_));
  layout->addLayout(form);
  layout->addStretch(1);

  connect(agentKind_, &QComboBox::currentIndexChanged, this, &QNAdvancedPage::ShowAgent);
  connect(agentVersion_, &QNNumberBox::valueChanged, this, &QNAdvancedPage::ShowAgent);
  connect(agentString_, &QLineEdit::textChanged, this, &QNAdvancedPage::ShowAgent);
}

void QNAdvancedPage::ShowAgent() {
  const int kind = agentKind_->currentData().toInt();
  CQNSettings shown;
  shown.AgentKind = kind;
  StoreShown(SettingRange("AgentVersion"), agentVersion_->value(), shown);
  shown.AgentString = agentString_->text().toStdString();
  agentVersion_->setEnabled(UsesVersion(kind));
  agentString_->setEnabled(kind == kUserDefined);
  agentId_->setText(QString::fromStdString(shown.GetAgentId()));
}

void QNAdvancedPage::Load(const CQNSettings& settings) {
  LoadCombo(agentKind_, settings.AgentKind);
  agentVersion_->Load(SettingRange("AgentVersion"), settings);
  agentString_->setText(QString::fromStdString(settings.AgentString));
  dirStructure_.Load(settings.QN_DIRSTR);
  LoadFlag(detailed_, settings.QN_DETPREV);
  LoadFlag(keepHtml_, settings.QN_KEEPHTML);
  defaultFile_->setText(QString::fromStdString(settings.QN_DEFFNAME));
  timeout_->Load(SettingRange("QN_TIMEOUT"), settings);
  retries_->Load(SettingRange("QN_RETRIES"), settings);
  ShowAgent();
}

void QNAdvancedPage::Store(CQNSettings& settings) const {
  StoreCombo(agentKind_, settings.AgentKind);
  agentVersion_->Store(SettingRange("AgentVersion"), settings);
  settings.AgentString = agentString_->text().toStdString();
  dirStructure_.Store(settings.QN_DIRSTR);
  StoreFlag(detailed_, settings.QN_DETPREV);
  StoreFlag(keepHtml_, settings.QN_KEEPHTML);
  settings.QN_DEFFNAME = defaultFile_->text().toStdString();
  timeout_->Store(SettingRange("QN_TIMEOUT"), settings);
  retries_->Store(SettingRange("QN_RETRIES"), settings);
}

std::optional<QNPageProblem> QNAdvancedPage::Check(const CQNSettings&) const {
  // A folder's page is saved under this name: it must be a name, not a path.
  const QString name = defaultFile_->text().trimmed();
  if (name.isEmpty() || name.contains('/') || name.contains('\\') || name == "." || name == "..")
    return QNPageProblem{DialogText(texts_, kTxtAdvancedDefaultFileName), defaultFile_};
  return std::nullopt;
}

}  // namespace qn

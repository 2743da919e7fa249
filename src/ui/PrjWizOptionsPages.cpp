#include "ui/PrjWizOptionsPages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "settings/FileTypes.h"
#include "ui/DialogTexts.h"
#include "ui/LabelFor.h"
#include "ui/WizardIds.h"

namespace qn {
QNPrjWizOptionsPage::QNPrjWizOptionsPage(QNPrjWizState& state)
    : QNPrjWizPage(kPrjWizOptions, tr("Create a New Project - Options"), state),
      choice_(new QButtonGroup(this)) {
  setTitle(tr("Options"));
  AddIntro(
      tr("The default options download the starting server's files of every type, five "
         "at a time. You can choose them yourself instead."));
  layout_->addWidget(
      AddChoice(choice_, 1, tr("Use the &default download options"), kIdcWizDefaults, this));
  layout_->addWidget(
      AddChoice(choice_, 0, tr("&Let me specify custom download options"), kIdcWizCustom, this));
  layout_->addStretch(1);
  connect(choice_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
    if (on) state_.useDefaults = id == 1;
  });
}

void QNPrjWizOptionsPage::initializePage() {
  choice_->button(state_.useDefaults ? 1 : 0)->setChecked(true);
}

QNPrjWizCustomPage::QNPrjWizCustomPage(QNPrjWizState& state, QNSettingsEditor editor)
    : QNPrjWizPage(kPrjWizCustom, tr("Create a New Project - Custom Options"), state),
      editor_(std::move(editor)),
      server_(new QButtonGroup(this)),
      directory_(new QButtonGroup(this)),
      threads_(new QSpinBox(this)) {
  setTitle(tr("Custom Options"));
  auto* loadFrom = new QGroupBox(tr("Load Files from"), this);
  TagControl(loadFrom, kIdcWizLoadFrom);
  auto* grid = new QGridLayout(loadFrom);
  grid->addWidget(
      AddChoice(server_, 0, tr("The starting &Server only"), kIdcWizStartServer, loadFrom), 0, 0);
  grid->addWidget(AddChoice(server_, 1, tr("&All Servers"), kIdcWizAllServers, loadFrom), 1, 0);
  grid->addWidget(
      AddChoice(directory_, 1, tr("Within the starting &Dir. && below"), kIdcWizStartDir, loadFrom),
      0, 1);
  grid->addWidget(AddChoice(directory_, 0, tr("All Di&rectories"), kIdcWizAllDirs, loadFrom), 1, 1);
  layout_->addWidget(loadFrom);

  auto* types = new QGroupBox(tr("File Types"), this);
  TagControl(types, kIdcWizFileTypes);
  auto* typeRow = new QHBoxLayout(types);
  const struct {
    QString text;
    int bit;
    int id;
  } boxes[] = {
      {tr("&HTML"), kCatHtml, kIdcWizTypeHtml},    {tr("&Image"), kCatImage, kIdcWizTypeImage},
      {tr("A&udio"), kCatAudio, kIdcWizTypeAudio}, {tr("&Video"), kCatVideo, kIdcWizTypeVideo},
      {tr("&Java"), kCatJava, kIdcWizTypeJava},    {tr("D&oc."), kCatDocument, kIdcWizTypeDoc},
      {tr("Ar&ch."), kCatArchive, kIdcWizTypeArch}};
  for (const auto& box : boxes) {
    auto* check = new QCheckBox(box.text, types);
    TagControl(check, box.id);
    typeRow->addWidget(check);
    types_.emplace_back(check, box.bit);
    connect(check, &QCheckBox::toggled, this, &QNPrjWizCustomPage::StoreFileTypes);
  }
  layout_->addWidget(types);

  threads_->setRange(1, 100);
  TagControl(threads_, kIdcWizThreads);
  auto* form = new QFormLayout;
  form->addRow(LabelFor(tr("Number of &files to download simultaneously (1-100):"), threads_,
                        kIdcWizThreads),
               threads_);
  layout_->addLayout(form);
  layout_->addStretch(1);

  if (editor_) {
    auto* advanced = new QPushButton(tr("Advanc&ed..."), this);
    TagControl(advanced, kIdcWizAdvanced);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(advanced);
    layout_->addLayout(row);
    connect(advanced, &QPushButton::clicked, this, &QNPrjWizCustomPage::Advanced);
  }

  connect(server_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
    if (on) state_.settings.QN_OFFSITE = id;
  });
  connect(directory_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
    if (on) state_.settings.QN_DOWN = id;
  });
  connect(threads_, &QSpinBox::valueChanged, this,
          [this](int value) { state_.settings.QN_THREADS = value; });
}

void QNPrjWizCustomPage::initializePage() {
  const CQNSettings& s = state_.settings;
  server_->button(s.QN_OFFSITE ? 1 : 0)->setChecked(true);
  directory_->button(s.QN_DOWN ? 1 : 0)->setChecked(true);
  const int mask = s.QN_FILE_TYPES;
  for (auto& [box, bit] : types_) {
    const QSignalBlocker quiet(box);
    box->setChecked(mask & bit);
  }
  threads_->setValue(s.QN_THREADS);
}

bool QNPrjWizCustomPage::validatePage() {
  StoreFileTypes();
  return true;
}

void QNPrjWizCustomPage::StoreFileTypes() {
  int checked = 0;
  for (const auto& [box, bit] : types_)
    if (box->isChecked()) checked |= bit;
  state_.settings.QN_FILE_TYPES = FileTypeMask(checked);
}

void QNPrjWizCustomPage::Advanced() {
  if (auto edited = editor_(state_.settings, this)) {
    state_.settings = std::move(*edited);
    initializePage();
  }
}

}  // namespace qn

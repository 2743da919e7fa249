#include "ui/PrjWizard.h"

#include "text/Texts.h"
#include "ui/DialogTexts.h"
#include "ui/PrjWizFolderPage.h"
#include "ui/PrjWizTextPages.h"
#include "ui/SheetButtons.h"
#include "ui/WizardIds.h"

namespace qn {

CQNPrjWiz::CQNPrjWiz(const CQNSettings& settings, const QNPrjWizState& remembered,
                     QNPrjWizContext context, QNPrjWizServices services, const QNTexts& texts,
                     QWidget* parent)
    : QWizard(parent), started_(settings), context_(std::move(context)) {
  state_.settings = settings;
  state_.addressMethod = remembered.addressMethod;
  state_.importMethod = remembered.importMethod;
  state_.pageViewAddress = context_.pageViewAddress;
  TagDialog(this, kDlgPrjWiz);
  setWizardStyle(QWizard::ClassicStyle);
  setOption(QWizard::NoBackButtonOnStartPage);

  const std::vector<std::pair<int, QNPrjWizPage*>> pages = {
      {kPrjWizWelcome, new QNPrjWizWelcomePage(state_)},
      {kPrjWizTitle, new QNPrjWizTitlePage(state_)},
      {kPrjWizAddressMethod, new QNPrjWizMethodPage(state_, context_)},
      {kPrjWizUrl, new QNPrjWizUrlPage(state_, context_)},
      {kPrjWizImport,
       new QNPrjWizImportPage(
           state_, services.importer
                       ? std::move(services.importer)
                       : [texts = QNTexts(texts)](
                             int method,
                             QWidget* parent) { return ImportAddress(method, parent, texts); })},
      {kPrjWizLogin, new QNPrjWizLoginPage(state_)},
      {kPrjWizFolder, new QNPrjWizFolderPage(state_, context_, texts)},
      {kPrjWizOptions, new QNPrjWizOptionsPage(state_)},
      {kPrjWizCustom, new QNPrjWizCustomPage(state_, std::move(services.settingsEditor))},
      {kPrjWizFinish, new QNPrjWizFinishPage(state_)},
  };
  for (const auto& [id, page] : pages) {
    setPage(id, page);
    TranslateDialog(page, texts);
  }
  TranslateSheetButtons(*this, texts);
  setStartId(kPrjWizWelcome);
  connect(this, &QWizard::currentIdChanged, this, &CQNPrjWiz::ShowCaption);
  ShowCaption(kPrjWizWelcome);
}

int CQNPrjWiz::nextId() const {
  return NextPage(currentId(), state_);
}

void CQNPrjWiz::ShowCaption(int page) {
  if (const auto* shown = qobject_cast<const QNPrjWizPage*>(this->page(page)))
    setWindowTitle(shown->windowTitle());
}

}  // namespace qn

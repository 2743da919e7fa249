#include "ui/PrjWizRules.h"

#include <string_view>

#include "app/ProgramOptions.h"
#include "settings/FileTypes.h"

namespace qn {
namespace {

constexpr std::size_t kTitleFolderChars = 20;
constexpr std::string_view kReplaced = " \"*:<>|/\\";

bool ContinuesCharacter(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

}  // namespace

int NextPage(int page, const QNPrjWizState& state) {
  switch (page) {
    case kPrjWizAddressMethod:
      return state.addressMethod == kAddressImported ? kPrjWizImport : kPrjWizUrl;
    case kPrjWizUrl:
    case kPrjWizImport:
      return kPrjWizLogin;
    case kPrjWizOptions:
      return state.useDefaults ? kPrjWizFinish : kPrjWizCustom;
    case kPrjWizFinish:
      return kPrjWizNoPage;
    default:
      return page + 1;
  }
}

int PreviousPage(int page, const QNPrjWizState& state) {
  switch (page) {
    case kPrjWizWelcome:
      return kPrjWizNoPage;
    case kPrjWizUrl:
    case kPrjWizImport:
      return kPrjWizAddressMethod;
    case kPrjWizLogin:
      return state.addressMethod == kAddressImported ? kPrjWizImport : kPrjWizUrl;
    case kPrjWizFinish:
      return state.useDefaults ? kPrjWizOptions : kPrjWizCustom;
    default:
      return page - 1;
  }
}

std::string TitleFolderName(const std::string& title) {
  std::string name;
  std::size_t characters = 0;
  for (char c : title) {
    if (!ContinuesCharacter(c) && ++characters > kTitleFolderChars) break;
    const bool control = static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    name += control || kReplaced.find(c) != std::string_view::npos ? '_' : c;
  }
  if (!name.empty() && name.front() == '.') name.front() = '_';
  return name;
}

std::string ProposeProjectFolder(const std::string& title, const std::string& lastFilesDir,
                                 const std::string& programDir) {
  // Ends with a separator.
  const std::string base = DefaultProjectDir(lastFilesDir, programDir);
  return title.empty() ? base : base + TitleFolderName(title);
}

int FileTypeMask(int checkedBits) {
  return kCatOther | (checkedBits & kAllCategories);
}

CQNSettings FinishedSettings(const QNPrjWizState& state, const CQNSettings& started) {
  if (!state.useDefaults) return state.settings;
  CQNSettings result = started;
  const CQNSettings& edited = state.settings;
  result.QN_TITLE = edited.QN_TITLE;
  result.QN_START_URL[0] = edited.QN_START_URL[0];
  result.QN_USER_ID = edited.QN_USER_ID;
  result.QN_PASSWORD = edited.QN_PASSWORD;
  result.QN_PROJECT_DIR = edited.QN_PROJECT_DIR;
  return result;
}

int WizardsOption(int wizards, bool doNotShowAgain) {
  return doNotShowAgain ? wizards & ~kWizardNewProject : wizards | kWizardNewProject;
}

}  // namespace qn

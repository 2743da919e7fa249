#pragma once

// What the new-project wizard decides without any window: the order of its pages,
// the download folder it proposes for a title, the file-type mask of its check
// boxes, and the settings it hands to the project when it finishes.

#include <optional>
#include <string>

#include "settings/ProjectSettings.h"

namespace qn {

enum QNPrjWizPageId : int {
  kPrjWizWelcome = 0,
  kPrjWizTitle = 1,
  kPrjWizAddressMethod = 2,
  kPrjWizUrl = 3,
  kPrjWizImport = 4,
  kPrjWizLogin = 5,
  kPrjWizFolder = 6,
  kPrjWizOptions = 7,
  kPrjWizCustom = 8,
  kPrjWizFinish = 9,
};
constexpr int kPrjWizNoPage = -1;

// How the first start address is given.
enum QNAddressMethod : int { kAddressEntered = 0, kAddressImported = 1, kAddressFromPageView = 2 };
// Where an imported address comes from.
enum QNImportMethod : int { kImportNetscape = 0, kImportFavorite = 1, kImportLocalFile = 2 };

// Everything the wizard edits: a working copy of the settings and its own choices.
struct QNPrjWizState {
  CQNSettings settings;
  int addressMethod = kAddressEntered;
  int importMethod = kImportLocalFile;
  std::string pageViewAddress;  // the page view's address when the wizard opened
  bool useDefaults = true;
  bool saveAndStart = false;
  bool doNotShowAgain = false;
  // The folder chosen with "...", which becomes LastFilesDir when the wizard
  // finishes (and only then).
  std::optional<std::string> chosenFilesDir;
};

// The page Next and Back lead to; kPrjWizNoPage where the page offers none.
int NextPage(int page, const QNPrjWizState& state);
int PreviousPage(int page, const QNPrjWizState& state);

// The title as a folder name: its first 20 characters with blanks, quotes, the
// characters "*:<>|", separators and control characters replaced by "_", and a
// leading "." too, so that a title can neither nest folders nor climb out of the
// base.
std::string TitleFolderName(const std::string& title);
// The download folder the wizard proposes: LastFilesDir (else the program's
// "Download/" folder), with the title's folder name below it when there is a title.
std::string ProposeProjectFolder(const std::string& title, const std::string& lastFilesDir,
                                 const std::string& programDir);

// The file-type mask of the custom options page: Other (64), which has no box, and
// the bits of the checked boxes.
int FileTypeMask(int checkedBits);

// The settings the wizard hands over: the working copy; with the default download
// options, the options of the custom pages are those the wizard started from.
CQNSettings FinishedSettings(const QNPrjWizState& state, const CQNSettings& started);

// Bit 1 of the Wizards option after "Don't show this wizard again".
int WizardsOption(int wizards, bool doNotShowAgain);

}  // namespace qn

#pragma once

// Fixed ids of the wizards and the options dialog, their pages and their controls,
// so that a language file names a caption or a control by (dialog id, control id)
// from release to release. The table is in docs/resource-ids.md.

namespace qn {

enum QNWizardDialogId : int {
  // The new-project wizard; page n of it is kDlgPrjWizPage0 + n.
  kDlgPrjWiz = 310,
  kDlgPrjWizPage0 = 311,
  kDlgOptions = 330,
  kDlgOptionsConnection = 331,
  kDlgOptionsGeneral = 332,
  kDlgOptionsDisplay = 333,
  kDlgCopyWiz = 340,
  kDlgCopyWizTarget = 341,
  kDlgCopyWizFiles = 342,
  kDlgCopyWizFolder = 343,
  kDlgCopyWizReady = 344,
  kDlgConnWiz = 350,
};

// Control ids are unique within their dialog or page.
enum QNWizardControlId : int {
  // New-project wizard
  kIdcWizIntro = 1200,
  kIdcWizTitle = 1201,
  kIdcWizEnterUrl = 1202,
  kIdcWizImportUrl = 1203,
  kIdcWizPageViewUrl = 1204,
  kIdcWizUrl = 1205,
  kIdcWizImportNetscape = 1206,
  kIdcWizImportFavorite = 1207,
  kIdcWizImportFile = 1208,
  kIdcWizImport = 1209,
  kIdcWizImportedUrl = 1210,
  kIdcWizUserId = 1211,
  kIdcWizPassword = 1212,
  kIdcWizFolder = 1213,
  kIdcWizBrowse = 1214,
  kIdcWizDefaults = 1215,
  kIdcWizCustom = 1216,
  kIdcWizLoadFrom = 1217,
  kIdcWizStartServer = 1218,
  kIdcWizAllServers = 1219,
  kIdcWizStartDir = 1220,
  kIdcWizAllDirs = 1221,
  kIdcWizFileTypes = 1222,
  kIdcWizTypeHtml = 1223,
  kIdcWizTypeImage = 1224,
  kIdcWizTypeAudio = 1225,
  kIdcWizTypeVideo = 1226,
  kIdcWizTypeJava = 1227,
  kIdcWizTypeDoc = 1228,
  kIdcWizTypeArch = 1229,
  kIdcWizThreads = 1230,
  kIdcWizAdvanced = 1231,
  kIdcWizSaveAndStart = 1232,
  kIdcWizDontShow = 1233,
};

}  // namespace qn

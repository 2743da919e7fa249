#pragma once

// The built-in texts that dialogs show by id but that are not a control's own text
// (DialogText), in one list, so that a check of a translation sees every one.

#include <array>

#include "ui/DialogIds.h"
#include "ui/DialogTexts.h"
#include "ui/PrjWizRules.h"
#include "ui/SettingsIds.h"
#include "ui/WizardIds.h"

namespace qn {

enum QNDialogTextId : int {
  kTxtProgStop,
  kTxtProgClose,
  kTxtSchedAddCaption,
  kTxtSchedAddFilter,
  kTxtBmImportSource,
  kTxtBmImportFile,
  kTxtBmNotFound,
  kTxtBmFileEntry,
  kTxtBmNothingFound,
  kTxtBmOpenCaption,
  kTxtBmOpenFilter,
  kTxtBmReading,
  kTxtBmNoAddresses,
  kTxtBmBrowser0,  // by QNBookmarkBrowser, seven of them
  kTxtNodeNothingSaved = kTxtBmBrowser0 + 7,
  kTxtNodeStateTaken,
  kTxtNodeStateDone,
  kTxtNodeStateFailed,
  kTxtNodeStateNone,
  kTxtNodeSelected,
  kTxtNodeNotSelected,
  kTxtNodeTypeUnknown,
  kTxtExtDuplicate,
  kTxtExtSeparator,
  kTxtExtColumnName,
  kTxtExtColumnMin,
  kTxtExtColumnMax,
  kTxtAboutText,
  kTxtMainOpen,
  kTxtMainSaveAs,
  kTxtMainProjectFilter,
  kTxtMainSaveFilter,
  kTxtMainOffline,
  kTxtFilterAction,
  kTxtFilterLoad,
  kTxtFilterSkip,
  kTxtCopyWhatProject,
  kTxtCopyWhatDownloaded,
  kTxtCopySummary,
  kTxtCopyAnd,
  kTxtCopyZipSummary,
  kTxtCopyZipPassword,
  kTxtCopyPressFinish,
  kTxtCopyNoHandheld,
  kTxtProjectSaveIn,
  kTxtCookiesCaption,
  kTxtCookiesFilter,
  kTxtTemplateCaption,
  kTxtTemplateFilter,
  kTxtWizSaveIn,
  kTxtCopyFolderCaption,
  kTxtLocalFileCaption,
  kTxtLocalFileFilter,
  kTxtProjectTooManyUrls,
  kTxtProjectNoDir,
  kTxtAdvancedDefaultFileName,
  kDialogTextCount
};

struct QNDialogTextEntry {
  QNDialogTextId id;
  QNDialogText text;
};

inline constexpr std::array<QNDialogTextEntry, kDialogTextCount> kDialogTextTable = {{
    {kTxtProgStop, {kDlgProgress, kIdcProgStop, "&Stop"}},
    {kTxtProgClose, {kDlgProgress, kIdcProgClose, "&Close"}},
    {kTxtSchedAddCaption, {kDlgSchedule, kIdcSchedAddCaption, "Add Projects"}},
    {kTxtSchedAddFilter, {kDlgSchedule, kIdcSchedAddFilter, "Quillorne Projects (*.qnp)"}},
    {kTxtBmImportSource, {kDlgBookmarks, kIdcBmImportSource, "Import %1"}},
    {kTxtBmImportFile, {kDlgBookmarks, kIdcBmImportFile, "Import Bookmark File"}},
    {kTxtBmNotFound, {kDlgBookmarks, kIdcBmNotFound, "Not found on this computer"}},
    {kTxtBmFileEntry, {kDlgBookmarks, kIdcBmFileEntry, "Bookmark File..."}},
    {kTxtBmNothingFound,
     {kDlgBookmarks, kIdcBmNothingFound,
      "No favorites or bookmarks were found on this computer. Choose \"Bookmark File...\" to "
      "open an exported file."}},
    {kTxtBmOpenCaption, {kDlgBookmarks, kIdcBmOpenCaption, "Open Bookmark File"}},
    {kTxtBmOpenFilter,
     {kDlgBookmarks, kIdcBmOpenFilter, "Bookmark Files (*.htm *.html);;All Files (*)"}},
    {kTxtBmReading, {kDlgBookmarks, kIdcBmReading, "Reading %1..."}},
    {kTxtBmNoAddresses, {kDlgBookmarks, kIdcBmNoAddresses, "No addresses were found here."}},
    {kTxtBmBrowser0, {kDlgBookmarks, kIdcBmBrowser0, "Internet Explorer Favorites"}},
    {QNDialogTextId(kTxtBmBrowser0 + 1), {kDlgBookmarks, kIdcBmBrowser0 + 1, "Netscape Bookmarks"}},
    {QNDialogTextId(kTxtBmBrowser0 + 2), {kDlgBookmarks, kIdcBmBrowser0 + 2, "Firefox Bookmarks"}},
    {QNDialogTextId(kTxtBmBrowser0 + 3), {kDlgBookmarks, kIdcBmBrowser0 + 3, "Chromium Bookmarks"}},
    {QNDialogTextId(kTxtBmBrowser0 + 4),
     {kDlgBookmarks, kIdcBmBrowser0 + 4, "Google Chrome Bookmarks"}},
    {QNDialogTextId(kTxtBmBrowser0 + 5), {kDlgBookmarks, kIdcBmBrowser0 + 5, "Brave Bookmarks"}},
    {QNDialogTextId(kTxtBmBrowser0 + 6),
     {kDlgBookmarks, kIdcBmBrowser0 + 6, "Microsoft Edge Bookmarks"}},
    {kTxtNodeNothingSaved, {kDlgNodeProperties, kIdcNodeNothingSaved, "(nothing saved)"}},
    {kTxtNodeStateTaken, {kDlgNodeProperties, kIdcNodeStateTaken, "Being downloaded"}},
    {kTxtNodeStateDone, {kDlgNodeProperties, kIdcNodeStateDone, "Downloaded"}},
    {kTxtNodeStateFailed, {kDlgNodeProperties, kIdcNodeStateFailed, "Failed"}},
    {kTxtNodeStateNone, {kDlgNodeProperties, kIdcNodeStateNone, "Not downloaded yet"}},
    {kTxtNodeSelected, {kDlgNodeProperties, kIdcNodeSelected, "Selected"}},
    {kTxtNodeNotSelected, {kDlgNodeProperties, kIdcNodeNotSelected, "Not selected"}},
    {kTxtNodeTypeUnknown, {kDlgNodeProperties, kIdcNodeTypeUnknown, "Not known yet"}},
    {kTxtExtDuplicate,
     {kDlgPageFileTypes, kIdcExtDuplicate,
      "The list has this extension already, or the name is empty."}},
    {kTxtExtSeparator,
     {kDlgPageFileTypes, kIdcExtSeparator, "An extension cannot hold a folder separator."}},
    {kTxtExtColumnName, {kDlgPageFileTypes, kIdcExtColumnName, "Extension"}},
    {kTxtExtColumnMin, {kDlgPageFileTypes, kIdcExtColumnMin, "Min. Size (KB)"}},
    {kTxtExtColumnMax, {kDlgPageFileTypes, kIdcExtColumnMax, "Max. Size (KB)"}},
    {kTxtAboutText,
     {kDlgAbout, kIdcAboutText,
      "<h3>Quillorne %1</h3><p>An offline browser: it copies web sites into a local folder so that "
      "they can be read without a network connection.</p><p>Lumbrook</p>"}},
    {kTxtMainOpen, {kDlgMainWindow, kIdcMainOpen, "Open"}},
    {kTxtMainSaveAs, {kDlgMainWindow, kIdcMainSaveAs, "Save As"}},
    {kTxtMainProjectFilter,
     {kDlgMainWindow, kIdcMainProjectFilter,
      "Quillorne Projects (*.qnp);;Quillorne Templates (*.qnt);;All Files (*)"}},
    {kTxtMainSaveFilter, {kDlgMainWindow, kIdcMainSaveFilter, "Quillorne Projects (*.qnp)"}},
    {kTxtMainOffline, {kDlgMainWindow, kIdcMainOffline, "Working offline: %1 was not loaded."}},
    {kTxtFilterAction, {kDlgPageProtocols, kIdcFilterAction, "Action"}},
    {kTxtFilterLoad, {kDlgPageProtocols, kIdcFilterLoad, "Load"}},
    {kTxtFilterSkip, {kDlgPageProtocols, kIdcFilterSkip, "Skip"}},
    {kTxtCopyWhatProject, {kDlgCopyWizReady, kIdcCopyWhatProject, "the project files"}},
    {kTxtCopyWhatDownloaded, {kDlgCopyWizReady, kIdcCopyWhatDownloaded, "all downloaded files"}},
    {kTxtCopySummary, {kDlgCopyWizReady, kIdcCopySummary, "Quillorne copies %1 to %2"}},
    {kTxtCopyAnd, {kDlgCopyWizReady, kIdcCopyAnd, " and "}},
    {kTxtCopyZipSummary, {kDlgCopyWizReady, kIdcCopyZipSummary, ", in the ZIP archive %1."}},
    {kTxtCopyZipPassword,
     {kDlgCopyWizReady, kIdcCopyZipPassword, ", in the ZIP archive %1 with a password."}},
    {kTxtCopyPressFinish, {kDlgCopyWizReady, kIdcCopyPressFinish, "Press Finish to copy."}},
    {kTxtCopyNoHandheld,
     {kDlgCopyWizTarget, kIdcCopyNoHandheld,
      "Copying to a handheld is not available on this system."}},
    {kTxtProjectSaveIn, {kDlgPageProject, kIdcProjectSaveIn, "Save in Directory"}},
    {kTxtCookiesCaption, {kDlgPageSpeed, kIdcCookiesCaption, "Cookies file"}},
    {kTxtCookiesFilter, {kDlgPageSpeed, kIdcCookiesFilter, "Cookies (*.txt);;All files (*)"}},
    {kTxtTemplateCaption, {kDlgOptionsGeneral, kIdcTemplateCaption, "Template file"}},
    {kTxtTemplateFilter,
     {kDlgOptionsGeneral, kIdcTemplateFilter, "Quillorne Templates (*.qnt);;All files (*)"}},
    {kTxtWizSaveIn,
     {kDlgPrjWizPage0 + static_cast<int>(kPrjWizFolder), kIdcWizSaveIn, "Save in Directory"}},
    {kTxtCopyFolderCaption, {kDlgCopyWizFolder, kIdcCopyFolderCaption, "Copy to Directory"}},
    {kTxtLocalFileCaption,
     {kDlgPrjWizPage0 + static_cast<int>(kPrjWizImport), kIdcLocalFileCaption,
      "Specify a local file"}},
    {kTxtLocalFileFilter,
     {kDlgPrjWizPage0 + static_cast<int>(kPrjWizImport), kIdcLocalFileFilter,
      "Web pages (*.htm *.html *.shtml *.xhtml);;All files (*)"}},
    {kTxtProjectTooManyUrls,
     {kDlgPageProject, kIdcProjectTooManyUrls, "A project can have at most %1 start addresses."}},
    {kTxtProjectNoDir,
     {kDlgPageProject, kIdcProjectNoDir, "Choose the directory to save the files in."}},
    {kTxtAdvancedDefaultFileName,
     {kDlgPageAdvanced, kIdcAdvancedDefaultFileName,
      "Type a file name for the pages of folders, such as default.htm."}},
}};

constexpr bool InIdOrder() {
  for (std::size_t i = 0; i < kDialogTextTable.size(); ++i)
    if (kDialogTextTable[i].id != static_cast<int>(i)) return false;
  return true;
}
static_assert(InIdOrder(), "kDialogTextTable lists its texts in the order of their ids");

inline QString DialogText(const QNTexts& texts, QNDialogTextId id) {
  return DialogText(texts, kDialogTextTable[static_cast<std::size_t>(id)].text);
}

}  // namespace qn

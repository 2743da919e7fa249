#pragma once

// The fixed numeric ids of the main window's menus and commands. Language files name
// menu texts by (menu id, command id), so these numbers never change from release
// to release; docs/resource-ids.md lists them. Where a common command has a
// customary number (New, Open, Copy, ...), it keeps that number.

namespace qn {

// Menus.
constexpr int kMenuMain = 128;
constexpr int kMenuTray = 129;
constexpr int kMenuContents = 130;  // the contents pane's context menu

enum CommandId : int {
  // File
  kCmdNew = 57600,
  kCmdOpen = 57601,
  kCmdClose = 57602,
  kCmdSave = 57603,
  kCmdSaveAs = 57604,
  kCmdPageSetup = 57605,
  kCmdPrintPage = 57607,
  kCmdRecent1 = 57616,  // to kCmdRecent1 + 3
  kCmdExit = 57665,
  kCmdCopyProject = 32771,
  kCmdDeleteProject = 32772,
  kCmdPrintFolder = 32773,
  kCmdPrintContents = 32774,
  // Edit
  kCmdCopy = 57634,
  kCmdCut = 57635,
  kCmdFind = 57636,
  kCmdPaste = 57637,
  kCmdOptions = 32775,
  kCmdSchedule = 32776,
  // Project
  kCmdStartDownload = 32777,
  kCmdPauseDownload = 32778,
  kCmdStopDownload = 32779,
  kCmdPreview = 32780,
  kCmdProjectSettings = 32781,
  kCmdDownloadBranch = 32782,
  kCmdAddUrlFilter = 32783,
  kCmdSelectForDownload = 32784,
  kCmdAddFolder = 32785,
  kCmdAddLink = 32786,
  kCmdDeleteNode = 32787,
  kCmdConvertLinks = 32788,
  // View
  kCmdToolbar = 59392,
  kCmdStatusBar = 59393,
  kCmdSplit = 57653,
  kCmdShowContents = 32789,
  kCmdExpandTree = 32790,
  kCmdCollapseTree = 32791,
  kCmdTreeRoot = 32792,
  kCmdUpdateTree = 32793,
  kCmdDeleteTree = 32794,
  kCmdNodeProperties = 32795,
  kCmdShowLog = 32796,
  // Browser
  kCmdGoTo = 32797,
  kCmdGoBack = 32798,
  kCmdGoForward = 32799,
  kCmdStopBrowsing = 32800,
  kCmdRefreshView = 32801,
  kCmdFontLargest = 32802,  // to kCmdFontSmallest, the five steps of "Font Size"
  kCmdFontLarger = 32803,
  kCmdFontMedium = 32804,
  kCmdFontSmaller = 32805,
  kCmdFontSmallest = 32806,
  kCmdShowReport = 32807,
  kCmdFindInContents = 32808,
  kCmdWorkOffline = 32809,
  // Help
  kCmdHelpTopics = 57667,
  kCmdAbout = 57664,
  kCmdContact = 32810,
  kCmdWebSite = 32811,
  // The notification-area menu's own command
  kCmdTrayOpen = 32812,
};

}  // namespace qn

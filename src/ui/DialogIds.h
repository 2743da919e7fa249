#pragma once

// Fixed ids of the desktop program's other dialogs and windows (progress, the
// questions of a run, schedule, bookmarks, go to, find, node properties, the printing,
// copying and converting progress, the about box, message boxes) and of their controls, so that
// a language file names a caption or a control by (dialog id, control id) from
// release to release. In these dialogs a field's label has an id of its own. The
// table is in docs/resource-ids.md.

namespace qn {

enum QNOtherDialogId : int {
  kDlgProgress = 360,
  kDlgDownloadKind = 361,
  kDlgCountdown = 362,
  kDlgSchedule = 363,
  kDlgBookmarks = 364,
  kDlgGoTo = 365,
  kDlgFind = 366,
  kDlgNodeProperties = 367,
  kDlgAddFolder = 368,
  kDlgAddLink = 369,
  kDlgAddExtension = 370,
  kDlgPrintContents = 371,
  kDlgPrintFolder = 372,
  kDlgCopyProgress = 373,
  kDlgAbout = 374,
  // Every message box: its buttons (the caption and the message come from elsewhere).
  kDlgMessage = 375,
  // The main window's texts outside its menus: its file dialogs, the offline notice.
  kDlgMainWindow = 376,
  kDlgConvertLinks = 377,
};

// Control ids are unique within their dialog or page.
enum QNOtherControlId : int {
  // Download progress
  kIdcProgFound = 1700,
  kIdcProgProcessed = 1701,
  kIdcProgTotalSize = 1702,
  kIdcProgSpeed = 1703,
  kIdcProgTime = 1704,
  kIdcProgSlow = 1705,
  kIdcProgFast = 1706,
  kIdcProgStop = 1707,
  kIdcProgClose = 1708,
  kIdcProgSettings = 1709,
  // Choose the Download Type
  kIdcKindGroup = 1710,
  kIdcKindNew = 1711,
  kIdcKindContinue = 1712,
  kIdcKindSelected = 1713,
  kIdcKindFailed = 1714,
  // Schedule
  kIdcSchedProjects = 1720,
  kIdcSchedAdd = 1721,
  kIdcSchedRemove = 1722,
  kIdcSchedUp = 1723,
  kIdcSchedDown = 1724,
  kIdcSchedKind = 1725,
  kIdcSchedTime = 1726,
  kIdcSchedWeekday = 1727,
  kIdcSchedDay = 1728,
  kIdcSchedMonth = 1729,
  kIdcSchedHangUp = 1730,
  kIdcSchedShutDown = 1731,
  kIdcSchedAddCaption = 1732,
  kIdcSchedAddFilter = 1733,
  // Import bookmarks
  kIdcBmImportSource = 1740,
  kIdcBmImportFile = 1741,
  kIdcBmSource = 1742,
  kIdcBmProfile = 1743,
  kIdcBmTree = 1744,
  kIdcBmAddress = 1745,
  kIdcBmNotFound = 1746,
  kIdcBmFileEntry = 1747,
  kIdcBmNothingFound = 1748,
  kIdcBmOpenCaption = 1749,
  kIdcBmOpenFilter = 1750,
  kIdcBmReading = 1751,
  kIdcBmNoAddresses = 1752,
  // The sources' names, by browser
  kIdcBmBrowser0 = 1753,
  // Go To
  kIdcGoToAddress = 1760,
  // Find in Contents
  kIdcFindWhat = 1765,
  kIdcFindWhere = 1766,
  kIdcFindTitles = 1767,
  kIdcFindUrls = 1768,
  kIdcFindFiles = 1769,
  kIdcFindDirection = 1770,
  kIdcFindUp = 1771,
  kIdcFindDown = 1772,
  kIdcFindWholeWord = 1773,
  kIdcFindMatchCase = 1774,
  kIdcFindNext = 1775,
  // Node Properties, Add Folder, Add Link
  kIdcNodeTitle = 1780,
  kIdcNodeUrl = 1781,
  kIdcNodeType = 1782,
  kIdcNodeSavedAs = 1783,
  kIdcNodeState = 1784,
  kIdcNodeSize = 1785,
  kIdcNodeLevel = 1786,
  kIdcNodeMark = 1787,
  kIdcNodeUrls = 1788,
  kIdcNodeNothingSaved = 1789,
  kIdcNodeStateTaken = 1790,
  kIdcNodeStateDone = 1791,
  kIdcNodeStateFailed = 1792,
  kIdcNodeStateNone = 1793,
  kIdcNodeSelected = 1794,
  kIdcNodeNotSelected = 1795,
  kIdcNodeTypeUnknown = 1796,
  // Add Extension
  kIdcExtName = 1800,
  // Printing and copying progress
  kIdcPrintStop = 1810,
  kIdcCopyStop = 1811,
  kIdcConvertStop = 1812,
  // About
  kIdcAboutText = 1815,
  // Main window
  kIdcMainOpen = 1820,
  kIdcMainSaveAs = 1821,
  kIdcMainProjectFilter = 1822,
  kIdcMainSaveFilter = 1823,
  kIdcMainOffline = 1827,
  // Welcome
  kIdcConnIntro = 1830,
  kIdcConnProxyGroup = 1831,
  kIdcConnHttpProxy = 1832,
  kIdcConnHttpPort = 1833,
  kIdcConnFtpProxy = 1834,
  kIdcConnFtpPort = 1835,
  kIdcConnFtpAddress = 1836,
  kIdcConnDialGroup = 1837,
  kIdcConnShowWelcome = 1838,
};

}  // namespace qn

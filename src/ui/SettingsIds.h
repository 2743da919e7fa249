#pragma once

// Fixed ids of the project settings dialog, its pages and the URL filter dialog, and
// of their controls, so that a language file names a caption or a control by
// (dialog id, control id) from release to release. The table is in
// docs/resource-ids.md.

namespace qn {

enum QNDialogId : int {
  kDlgProjectSettings = 300,
  kDlgPageProject = 301,
  kDlgPageSpeed = 302,
  kDlgPageTree = 303,
  kDlgPageLevels = 304,
  kDlgPageFileTypes = 305,
  kDlgPageProtocols = 306,
  kDlgPageAdvanced = 307,
  kDlgPagePrivacy = 308,
  kDlgUrlFilter = 309,
};

// Control ids are unique within their dialog or page.
enum QNControlId : int {
  // Project
  kIdcTitle = 1000,
  kIdcProjectDir = 1001,
  kIdcBrowseDir = 1002,
  kIdcSingleUrl = 1003,
  kIdcUrlList = 1004,
  kIdcStartPage = 1005,
  kIdcStartList = 1006,
  // Speed, restrictions and authentication
  kIdcThreads = 1010,
  kIdcLimitsGroup = 1011,
  kIdcLimDiskSpace = 1012,
  kIdcLimFileCount = 1013,
  kIdcLimMaxSize = 1014,
  kIdcLimMinSize = 1015,
  kIdcLimTime = 1016,
  kIdcAuthGroup = 1017,
  kIdcUserId = 1018,
  kIdcPassword = 1019,
  kIdcCrawlingGroup = 1130,
  kIdcRobots = 1131,
  kIdcDelay = 1132,
  kIdcMaxConnections = 1133,
  kIdcCookies = 1134,
  kIdcBrowseCookies = 1135,
  // Contents tree
  kIdcTreeInit = 1020,
  kIdcUpdateGroup = 1021,
  kIdcUpdateNone = 1022,
  kIdcUpdateExpand = 1023,
  kIdcUpdateCollapse = 1024,
  kIdcTreeShows = 1025,
  kIdcTreeLimit = 1026,
  kIdcExternalBrowser = 1027,
  kIdcPageBreak = 1028,
  kIdcRenameHtml = 1029,
  kIdcFastParse = 1030,
  // Levels, updates and conversion
  kIdcMainLinks = 1040,
  kIdcLimMainLevel = 1041,
  kIdcOffsiteLinks = 1042,
  kIdcLimOffsiteLevel = 1043,
  kIdcUpdateFiles = 1044,
  kIdcWhenChanged = 1045,
  kIdcAlways = 1046,
  kIdcNever = 1047,
  kIdcConversion = 1048,
  kIdcNoConversion = 1049,
  kIdcConvertDownloaded = 1050,
  kIdcConvertAll = 1051,
  kIdcReport = 1052,
  kIdcLoginForms = 1053,
  kIdcProcessForms = 1054,
  // File types
  kIdcCategories = 1060,
  kIdcExtensions = 1061,
  kIdcAddExtension = 1062,
  kIdcRemoveExtension = 1063,
  kIdcExtMin = 1064,
  kIdcExtMax = 1065,
  // Protocols and scope
  kIdcProtocols = 1070,
  kIdcHttp = 1071,
  kIdcHttps = 1072,
  kIdcFtp = 1073,
  kIdcFile = 1074,
  kIdcServerGroup = 1075,
  kIdcStartServer = 1076,
  kIdcAllServers = 1077,
  kIdcDirectoryGroup = 1078,
  kIdcStartDir = 1079,
  kIdcAllDirs = 1080,
  kIdcFilters = 1081,
  kIdcInsertFilter = 1082,
  kIdcEditFilter = 1083,
  kIdcRemoveFilter = 1084,
  // Advanced
  kIdcAgentGroup = 1090,
  kIdcAgentKind = 1091,
  kIdcAgentVersion = 1092,
  kIdcAgentString = 1093,
  kIdcDirStructure = 1094,
  kIdcRelative = 1095,
  kIdcBasedOnUrls = 1096,
  kIdcOneDirectory = 1097,
  kIdcPreviewGroup = 1098,
  kIdcDetailed = 1099,
  kIdcKeepHtml = 1100,
  kIdcDefaultFile = 1101,
  kIdcTimeout = 1102,
  kIdcRetries = 1103,
  // Privacy
  kIdcEncryptProject = 1110,
  kIdcEncryptDownloads = 1111,
  kIdcEncryptionPassword = 1112,
  kIdcConfirmPassword = 1113,
  // URL filter
  kIdcLoadMatching = 1120,
  kIdcSkipMatching = 1121,
  kIdcFilterProtocol = 1122,
  kIdcFilterServer = 1123,
  kIdcFilterDirectory = 1124,
  kIdcFilterFile = 1125,
};

}  // namespace qn

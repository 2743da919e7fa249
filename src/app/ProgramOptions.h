#pragma once

// The program options: what the program keeps between runs in its options file
// (QSettings "Lumbrook", "Quillorne"), as opposed to the settings of one project.
// Members carry the stored value names.

#include <string>

#include "app/History.h"
#include "app/RecentFiles.h"

namespace qn {

// Section "Desktop": where the main window was and what it showed.
struct QNDesktopOptions {
  int ShowState = 1;  // 1 normal, 3 maximized (the window system's show commands)
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int SplitPos = 200;  // width of the contents pane
  bool ShowContents = true;

  bool operator==(const QNDesktopOptions&) const = default;
};

// What the window placement defaults and limits are computed from.
struct QNScreenMetrics {
  int width = 1024;
  int height = 768;
  int frameBorder = 4;
  int captionButtonWidth = 18;
  int captionButtonHeight = 18;
};

// The placement of a first start: centred, half the screen high.
QNDesktopOptions DefaultDesktop(const QNScreenMetrics& screen);
// Keeps a stored window's corner on the screen, so it can always be grabbed.
void ClampDesktop(QNDesktopOptions& desktop, const QNScreenMetrics& screen);

// Bits of HideWarnings.
constexpr int kHideBrowserNotice = 1;
// Bits of Wizards.
constexpr int kWizardNewProject = 1;
// ConnType of a dial-up connection; any other value is a permanent one.
constexpr int kConnDialUp = 1;
// The face name holds at most this many characters.
constexpr std::size_t kFontNameMax = 31;

// Section "Options", in the order its values are read and written.
struct QNProgramOptions {
  bool FirstRun = true;
  bool UseProxy = false;
  std::string ProxyAddress;
  int ProxyPort = 80;
  std::string FtpProxyAddress;
  int FtpProxyPort = 21;
  std::string ProxyUserID;
  std::string ProxyPassword;  // plain in memory, scrambled in the file
  bool UseCache = false;
  bool Redirect = true;
  bool AutoLoad = true;
  bool AutoSave = true;
  bool AutoSaveTime = true;
  int AutoSaveValue = 5;  // minutes, at least 1
  std::string FontName = "Ms Sans Serif";
  int FontHeight = -10;
  int FontWeight = 400;
  int FontScript = 0;  // one byte
  int HideWarnings = 0;
  int Wizards = kWizardNewProject;
  bool RemFind = true;
  bool RemURL = true;
  bool UseLngFile = false;
  std::string LngFile;
  bool UseTemplFile = false;
  std::string TemplFile;
  int ConnType = 0;
  std::string RasEntry;
  std::string RasUserID;
  std::string RasUserPsw;  // plain in memory, scrambled in the file
  bool AutoDisconn = false;
  bool AutoShutdown = false;
  bool UseTray = false;
  bool ShowWelcome = true;
  std::string LastDir;
  std::string LastFilesDir;
  std::string LastCopyDir;

  bool operator==(const QNProgramOptions&) const = default;
};

// Every section the program keeps, as one record ("Schedule" is the scheduler's).
struct QNOptionSections {
  QNDesktopOptions desktop;
  QNProgramOptions options;
  QNHistory findHistory;  // "ExOptions" Find01 ... Find10
  QNHistory urlHistory;   // "ExOptions" URL01 ... URL10
  QNRecentFiles recentFiles;

  bool operator==(const QNOptionSections&) const = default;
};

}  // namespace qn

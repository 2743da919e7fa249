#include "app/OptionsStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <algorithm>

#include "app/OptionValues.h"

namespace qn {
namespace {

constexpr char kDesktop[] = "Desktop";
constexpr char kOptions[] = "Options";
constexpr char kExOptions[] = "ExOptions";
constexpr char kRecent[] = "Recent File List";

// One list of the values of a section serves reading and writing, so the order and
// the names cannot drift apart.
template <typename Desktop, typename Visitor>
void VisitDesktop(Desktop& d, Visitor&& v) {
  v("ShowState", d.ShowState);
  v("Left", d.Left);
  v("Top", d.Top);
  v("Right", d.Right);
  v("Bottom", d.Bottom);
  v("SplitPos", d.SplitPos);
  v("ShowContents", d.ShowContents);
}

template <typename Options, typename Visitor>
void VisitOptions(Options& o, Visitor&& v) {
  v("FirstRun", o.FirstRun);
  v("UseProxy", o.UseProxy);
  v("ProxyAddress", o.ProxyAddress);
  v("ProxyPort", o.ProxyPort);
  v("FtpProxyAddress", o.FtpProxyAddress);
  v("FtpProxyPort", o.FtpProxyPort);
  v("ProxyUserID", o.ProxyUserID);
  v.Password("ProxyPassword", o.ProxyPassword);
  v("UseCache", o.UseCache);
  v("Redirect", o.Redirect);
  v("AutoLoad", o.AutoLoad);
  v("AutoSave", o.AutoSave);
  v("AutoSaveTime", o.AutoSaveTime);
  v("AutoSaveValue", o.AutoSaveValue);
  v("FontName", o.FontName);
  v("FontHeight", o.FontHeight);
  v("FontWeight", o.FontWeight);
  v("FontScript", o.FontScript);
  v("HideWarnings", o.HideWarnings);
  v("Wizards", o.Wizards);
  v("RemFind", o.RemFind);
  v("RemURL", o.RemURL);
  v("UseLngFile", o.UseLngFile);
  v("LngFile", o.LngFile);
  v("UseTemplFile", o.UseTemplFile);
  v("TemplFile", o.TemplFile);
  v("ConnType", o.ConnType);
  v("RasEntry", o.RasEntry);
  v("RasUserID", o.RasUserID);
  v.Password("RasUserPsw", o.RasUserPsw);
  v("AutoDisconn", o.AutoDisconn);
  v("AutoShutdown", o.AutoShutdown);
  v("UseTray", o.UseTray);
  v("ShowWelcome", o.ShowWelcome);
  v("LastDir", o.LastDir);
  v("LastFilesDir", o.LastFilesDir);
  v("LastCopyDir", o.LastCopyDir);
}

// Reads into members that hold their defaults.
struct QNReader {
  QSettings& s;
  void operator()(const char* name, int& value) { value = IntFromSetting(s.value(name), value); }
  void operator()(const char* name, bool& value) {
    value = IntFromSetting(s.value(name), value ? 1 : 0) != 0;
  }
  void operator()(const char* name, std::string& value) {
    if (s.contains(name)) value = TextFromSetting(s.value(name));
  }
  void Password(const char* name, std::string& value) {
    if (s.contains(name)) value = PasswordFromSetting(s.value(name));
  }
};

// Booleans are written as 0 or 1, counters and sizes as they are.
struct QNWriter {
  QSettings& s;
  void operator()(const char* name, int value) { s.setValue(name, value); }
  void operator()(const char* name, bool value) { s.setValue(name, value ? 1 : 0); }
  void operator()(const char* name, const std::string& value) {
    s.setValue(name, TextToSetting(value));
  }
  void Password(const char* name, const std::string& value) {
    s.setValue(name, PasswordToSetting(value));
  }
};

QString Slot(const char* prefix, std::size_t index) {
  return QString::asprintf("%s%02d", prefix, static_cast<int>(index + 1));
}

QNHistory ReadHistory(QSettings& s, const char* quant, const char* prefix) {
  const int count =
      std::clamp(IntFromSetting(s.value(quant), 0), 0, static_cast<int>(QNHistory::kLimit));
  std::vector<std::string> entries;
  for (int i = 0; i < count; ++i) entries.push_back(TextFromSetting(s.value(Slot(prefix, i))));
  QNHistory history;
  history.Assign(std::move(entries));
  return history;
}

// The count, then every one of the ten slots, the free ones empty.
void WriteHistory(QSettings& s, const QNHistory& history, const char* quant, const char* prefix) {
  const auto& entries = history.Entries();
  s.setValue(quant, static_cast<int>(entries.size()));
  for (std::size_t i = 0; i < QNHistory::kLimit; ++i)
    s.setValue(Slot(prefix, i), TextToSetting(i < entries.size() ? entries[i] : std::string()));
}

QString RecentKey(std::size_t index) {
  return QString("File%1").arg(index + 1);
}

// At most `limit` characters, never a part of one.
std::string CutCharacters(const std::string& text, std::size_t limit) {
  const QString chars = QString::fromStdString(text);
  if (static_cast<std::size_t>(chars.size()) <= limit) return text;
  return chars.left(static_cast<qsizetype>(limit)).toStdString();
}

}  // namespace

QNDesktopOptions DefaultDesktop(const QNScreenMetrics& screen) {
  QNDesktopOptions d;
  const int width = std::max(612, 2 * screen.frameBorder + 468);
  d.Left = (screen.width - width) / 2;
  d.Top = (screen.height - screen.height / 2) / 2;
  d.Right = d.Left + width;
  d.Bottom = d.Top + screen.height / 2;
  return d;
}

void ClampDesktop(QNDesktopOptions& d, const QNScreenMetrics& screen) {
  d.Left = std::clamp(d.Left, 0, std::max(0, screen.width - 2 * screen.captionButtonWidth));
  d.Top = std::clamp(d.Top, 0, std::max(0, screen.height - screen.captionButtonHeight));
}

QNOptionSections LoadOptions(QSettings& settings, const QNScreenMetrics& screen,
                             const QNSectionIo& schedule) {
  QNOptionSections sections;
  QNReader reader{settings};
  sections.desktop = DefaultDesktop(screen);
  settings.beginGroup(kDesktop);
  VisitDesktop(sections.desktop, reader);
  settings.endGroup();
  ClampDesktop(sections.desktop, screen);

  QNProgramOptions& o = sections.options;
  settings.beginGroup(kOptions);
  VisitOptions(o, reader);
  settings.endGroup();
  o.AutoSaveValue = std::max(o.AutoSaveValue, 1);
  o.FontName = CutCharacters(o.FontName, kFontNameMax);
  o.FontScript &= 0xFF;

  settings.beginGroup(kExOptions);
  sections.findHistory = ReadHistory(settings, "FindQuant", "Find");
  sections.urlHistory = ReadHistory(settings, "URLQuant", "URL");
  settings.endGroup();

  if (schedule) schedule(settings);

  settings.beginGroup(kRecent);
  std::vector<std::string> recent;
  for (std::size_t i = 0; i < QNRecentFiles::kLimit; ++i)
    recent.push_back(TextFromSetting(settings.value(RecentKey(i))));
  sections.recentFiles.Assign(std::move(recent));
  settings.endGroup();
  return sections;
}

void SaveOptions(QSettings& settings, const QNOptionSections& sections,
                 const QNSectionIo& schedule) {
  QNWriter writer{settings};
  settings.beginGroup(kDesktop);
  VisitDesktop(sections.desktop, writer);
  settings.endGroup();

  settings.beginGroup(kOptions);
  VisitOptions(sections.options, writer);
  settings.endGroup();

  settings.beginGroup(kExOptions);
  WriteHistory(settings, sections.findHistory, "FindQuant", "Find");
  WriteHistory(settings, sections.urlHistory, "URLQuant", "URL");
  settings.endGroup();

  if (schedule) schedule(settings);

  settings.beginGroup(kRecent);
  const auto& recent = sections.recentFiles.Entries();
  for (std::size_t i = 0; i < QNRecentFiles::kLimit; ++i) {
    if (i < recent.size())
      settings.setValue(RecentKey(i), TextToSetting(recent[i]));
    else
      settings.remove(RecentKey(i));
  }
  settings.endGroup();
}

QNOptionSections ReadOptionsFile() {
  QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Lumbrook", "Quillorne");
  return LoadOptions(settings, QNScreenMetrics());
}

std::unique_ptr<QSettings> OpenOptionsFile() {
  auto settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                              "Lumbrook", "Quillorne");
  const QByteArray file = QFile::encodeName(settings->fileName());
  QDir().mkpath(QFileInfo(settings->fileName()).absolutePath());
  // Made before the first write so that no moment exists where the passwords are
  // readable by others; the replacement file of every later write keeps the mode.
  const int fd = ::open(file.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
  if (fd >= 0) {
    ::fchmod(fd, 0600);
    ::close(fd);
  }
  return settings;
}

bool SyncOptionsFile(QSettings& settings) {
  settings.sync();
  return settings.status() == QSettings::NoError;
}

}  // namespace qn

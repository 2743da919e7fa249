// The program options in their file: every value survives a restart exactly, missing
// values give their defaults, and the reading rules hold.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QSettings>

#include "app/OptionValues.h"
#include "app/OptionsStore.h"
#include "support/TempDir.h"

namespace qn::test {
namespace {

QNScreenMetrics Screen() {
  return QNScreenMetrics{1000, 800, 4, 18, 20};
}

// Every byte but the zero that ends a stored string.
std::string AllBytes() {
  std::string bytes;
  for (int b = 255; b >= 1; --b) bytes += static_cast<char>(b);
  return bytes;
}

QNOptionSections NothingDefault() {
  QNOptionSections s;
  s.desktop = {3, 10, 20, 700, 620, 333, false};
  QNProgramOptions& o = s.options;
  o.FirstRun = false;
  o.UseProxy = true;
  o.ProxyAddress = "cache.lan";
  o.ProxyPort = 3128;
  o.FtpProxyAddress = "ftpgate";
  o.FtpProxyPort = 2121;
  o.ProxyUserID = "jörg";
  o.ProxyPassword = AllBytes();
  o.UseCache = true;
  o.Redirect = false;
  o.AutoLoad = false;
  o.AutoSave = false;
  o.AutoSaveTime = false;
  o.AutoSaveValue = 17;
  o.FontName = "DejaVu Sans";
  o.FontHeight = -13;
  o.FontWeight = 700;
  o.FontScript = 204;
  o.HideWarnings = 1;
  o.Wizards = 0;
  o.RemFind = false;
  o.RemURL = false;
  o.UseLngFile = true;
  o.LngFile = "Deutsch.qlg";
  o.UseTemplFile = true;
  o.TemplFile = "/home/u/my template.qnt";
  o.ConnType = 1;
  o.RasEntry = "Modem";
  o.RasUserID = "dialer";
  o.RasUserPsw = "\x80\xff pass \xc3\xa9";
  o.AutoDisconn = true;
  o.AutoShutdown = true;
  o.UseTray = true;
  o.ShowWelcome = false;
  o.LastDir = "/home/u/Projekte";
  o.LastFilesDir = "/home/u/\xe9t\xe9";  // Latin-1 bytes: no valid UTF-8
  o.LastCopyDir = "/mnt/usb";
  s.findHistory.Assign({"needle", "Nadel"});
  s.urlHistory.Assign({"http://a.example/", "ftp://b.example/x"});
  s.recentFiles.Assign({"/p/one.qnp", "/p/two.qnp", "/p/three.qnp"});
  return s;
}

TEST(OptionsFile, EveryValueSurvivesARestartExactly) {
  TempDir home;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                     QString::fromStdString(home.str()));
  const QNOptionSections written = NothingDefault();
  {
    auto file = OpenOptionsFile();
    SaveOptions(*file, written);
    ASSERT_TRUE(SyncOptionsFile(*file));
  }
  const auto path = home / "Lumbrook" / "Quillorne.conf";
  const std::string first = ReadFile(path);
  // The passwords are not in the file as they are, and only the owner may read it.
  EXPECT_EQ(first.find("pass"), std::string::npos);
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  QSettings reread(QString::fromStdString(path.string()), QSettings::NativeFormat);
  const QNOptionSections read = LoadOptions(reread, Screen());
  EXPECT_EQ(read.options, written.options);
  EXPECT_EQ(read.desktop, written.desktop);
  EXPECT_EQ(read, written);

  // Written again, the file is the same byte for byte.
  std::filesystem::remove(path);
  {
    auto file = OpenOptionsFile();
    SaveOptions(*file, read);
    ASSERT_TRUE(SyncOptionsFile(*file));
  }
  EXPECT_EQ(ReadFile(path), first);
}

TEST(OptionsFile, MissingValuesGiveTheDefaults) {
  TempDir dir;
  QSettings empty(QString::fromStdString((dir / "empty.conf").string()), QSettings::IniFormat);
  const QNOptionSections read = LoadOptions(empty, Screen());
  EXPECT_EQ(read.options, QNProgramOptions());
  EXPECT_TRUE(read.findHistory.Entries().empty());
  EXPECT_TRUE(read.recentFiles.Entries().empty());
  // Centred, W = max(612, 2 * 4 + 468), half the screen high.
  EXPECT_EQ(read.desktop, (QNDesktopOptions{1, 194, 200, 806, 600, 200, true}));
  const QNDesktopOptions wideFrame = DefaultDesktop({1920, 1080, 80, 18, 20});
  EXPECT_EQ(wideFrame.Right - wideFrame.Left, 628);
}

TEST(OptionsFile, ReadingRules) {
  TempDir dir;
  QSettings s(QString::fromStdString((dir / "rules.conf").string()), QSettings::IniFormat);
  s.setValue("Desktop/Left", -50);
  s.setValue("Desktop/Top", 5000);
  s.setValue("Options/AutoSaveValue", 0);
  s.setValue("Options/FontName", QString(40, QChar(0x00e9)));
  s.setValue("Options/FontScript", 0x1cc);
  s.setValue("Options/UseProxy", 5);
  s.setValue("Options/ProxyPort", "no number");
  s.setValue("ExOptions/FindQuant", 15);
  for (int i = 1; i <= 12; ++i) s.setValue(QString::asprintf("ExOptions/Find%02d", i), i);
  s.setValue("ExOptions/URLQuant", -2);
  s.setValue("ExOptions/URL01", "ignored");
  s.setValue("Recent File List/File2", "/only/second.qnp");

  QNOptionSections read = LoadOptions(s, Screen());
  EXPECT_EQ(read.desktop.Left, 0);
  EXPECT_EQ(read.desktop.Top, 800 - 20);
  EXPECT_EQ(read.options.AutoSaveValue, 1);
  EXPECT_EQ(QString::fromStdString(read.options.FontName), QString(31, QChar(0x00e9)));
  EXPECT_EQ(read.options.FontScript, 0xcc);
  EXPECT_TRUE(read.options.UseProxy);
  EXPECT_EQ(read.options.ProxyPort, 80);
  EXPECT_EQ(read.findHistory.Entries().size(), 10u);
  EXPECT_EQ(read.findHistory.Entries().back(), "10");
  EXPECT_TRUE(read.urlHistory.Entries().empty());
  EXPECT_EQ(read.recentFiles.Entries(), std::vector<std::string>{"/only/second.qnp"});
  s.setValue("Options/AutoSaveValue", -7);
  EXPECT_EQ(LoadOptions(s, Screen()).options.AutoSaveValue, 1);

  // Booleans go back as 0 or 1; the find history fills all ten slots.
  read.findHistory.Assign({"a", "b"});
  SaveOptions(s, read);
  EXPECT_EQ(s.value("Options/UseProxy").toString(), "1");
  EXPECT_EQ(s.value("Options/UseCache").toString(), "0");
  EXPECT_EQ(s.value("ExOptions/FindQuant").toInt(), 2);
  EXPECT_EQ(s.value("ExOptions/Find02").toString(), "b");
  EXPECT_TRUE(s.contains("ExOptions/Find10"));
  EXPECT_EQ(s.value("ExOptions/Find10").toString(), "");
  EXPECT_FALSE(s.contains("Recent File List/File2"));
}

TEST(OptionsFile, PasswordsAreScrambledAndReadInEitherForm) {
  // Reversed, and every pair of bits swapped: "ab" is 0x61 0x62.
  EXPECT_EQ(ScramblePassword("ab"), "\x91\x92");
  EXPECT_EQ(ScramblePassword(""), "");
  EXPECT_EQ(ScramblePassword(ScramblePassword(AllBytes())), AllBytes());

  // The form of the system: the scrambled bytes as text, a character per byte.
  TempDir dir;
  QSettings s(QString::fromStdString((dir / "pw.conf").string()), QSettings::IniFormat);
  const std::string plain = "p\xe4ss\xf6rd";  // Latin-1, bytes above 127
  s.setValue("Options/ProxyPassword", QString::fromLatin1(ScramblePassword(plain).c_str()));
  s.setValue("Options/RasUserPsw", PasswordToSetting("\xc3\xa9t\xc3\xa9"));
  const QNOptionSections read = LoadOptions(s, Screen());
  EXPECT_EQ(read.options.ProxyPassword, plain);
  EXPECT_EQ(read.options.RasUserPsw, "\xc3\xa9t\xc3\xa9");
  // A password longer than its buffer is cut there.
  EXPECT_EQ(PasswordFromSetting(PasswordToSetting(std::string(2000, 'x'))).size(), 1039u);
}

}  // namespace
}  // namespace qn::test
